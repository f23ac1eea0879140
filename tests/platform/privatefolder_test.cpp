#include "platform/privatefolder.h"

#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace TestFiles;

namespace {
mode_t modeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

class PrivateFolderTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString place() const { return root.filePath("quillon-jpg"); }
    QString outside() const { return root.filePath("outside"); }  ///< where planted links point
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(outside()) && writeFile(outside() + "/victim.jpg", "keep me")); }
    void TearDown() override { EXPECT_EQ(readFile(outside() + "/victim.jpg"), "keep me"); }
};
}  // namespace

TEST_F(PrivateFolderTest, CreateMakesARealFolderOnlyItsOwnerCanEnter)
{
    const struct {
        const char* name;
        void (*arrange)(const QString& place, const QString& outside);
        QString error;  ///< the system's text, empty when made
    } cases[] = {
        {"nothing there", [](const QString&, const QString&) {}, ""},
        // The link's target is neither emptied nor given the folder's mode.
        {"link planted in its place", [](const QString& place, const QString& outside) { QFile::link(outside, place); }, ""},
        {"file in its place", [](const QString& place, const QString&) { writeFile(place, "a file"); }, "Not a directory"},
        // Handing the folder to another user needs root; elsewhere the row has nothing to arrange.
        {"folder of another user", [](const QString& place, const QString&) {
             QDir().mkdir(place);
             if (::chown(QFile::encodeName(place).constData(), 4321, 4321) != 0) {
                 QDir(place).removeRecursively();
             }
         }, ::geteuid() == 0 ? "Operation not permitted" : ""},
    };
    const mode_t outsideMode = modeOf(outside());
    for (const auto& c : cases) {
        c.arrange(place(), outside());
        QString error;
        EXPECT_EQ(PrivateFolder(place()).create(&error), c.error.isEmpty()) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        if (c.error.isEmpty()) {
            EXPECT_EQ(modeOf(place()), 0700u) << c.name;  // a link left in place would show 0777
        }
        EXPECT_EQ(modeOf(outside()), outsideMode) << c.name;
        QFile::remove(place());  // a file or a link
        QDir(place()).removeRecursively();
    }
}

TEST_F(PrivateFolderTest, NeitherCreatingNorRemovingFilesFollowsPlantedLinks)
{
    const PrivateFolder folder(place());
    ASSERT_TRUE(folder.create());
    ASSERT_TRUE(QFile::link(outside() + "/victim.jpg", place() + "/Still.jpg"));
    QString error;
    EXPECT_TRUE(folder.createFile("Still.jpg", &error).isEmpty());
    EXPECT_EQ(error, "File exists");
    ASSERT_TRUE(writeFile(place() + "/a.jpg", "a") && writeFile(place() + "/B.JPG", "b")
                && writeFile(place() + "/note.txt", "n"));
    ASSERT_TRUE(QDir().mkpath(place() + "/sub.jpg") && writeFile(place() + "/sub.jpg/inner.jpg", "i"));
    ASSERT_TRUE(QFile::link(outside(), place() + "/linked.jpg") && QFile::link(outside(), place() + "/out"));
    folder.removeMatching(".jpg");
    EXPECT_EQ(QDir(place()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"note.txt", "out"}));
    folder.removeAll();
    EXPECT_FALSE(QFileInfo::exists(place()));
}

TEST(PrivateFolderLocation, RuntimeFolderFirstThenTheCache)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), cache = qgetenv("XDG_CACHE_HOME");
    QTemporaryDir dir;
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    EXPECT_EQ(PrivateFolder::mailLocation(), dir.path() + "/quillon-jpg");
    // A runtime folder that is named but not there does not count.
    qputenv("XDG_RUNTIME_DIR", (dir.path() + "/gone").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (dir.path() + "/cache").toLocal8Bit());
    EXPECT_EQ(PrivateFolder::mailLocation(), dir.path() + "/cache/Quillon/Jpg");
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("XDG_CACHE_HOME", cache);
}
