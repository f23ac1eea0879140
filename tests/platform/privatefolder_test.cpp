#include "platform/privatefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using TestFiles::readFile;
using TestFiles::writeFile;

namespace {
mode_t modeOf(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return 0;
    }
    return info.st_mode & 07777;
}

bool isLink(const QString& path)
{
    return QFileInfo(path).isSymLink();
}

class PrivateFolderTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString place() const { return root.filePath("quillon-jpg"); }
    /// Something outside the folder that a planted link points at.
    QString outside() const { return root.filePath("outside"); }
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir().mkpath(outside()));
        writeFile(outside() + "/victim.jpg", "keep me");
    }
};
}  // namespace

TEST_F(PrivateFolderTest, CreateMakesARealFolderOnlyItsOwnerCanEnter)
{
    const struct {
        const char* name;
        std::function<void()> arrange;
        QString error;  ///< the system's text, empty when made
    } cases[] = {
        {"nothing there", [] {}, ""},
        // The link's target is neither emptied nor given the folder's mode.
        {"link planted in its place", [this] { QFile::link(outside(), place()); }, ""},
        {"folder there already", [this] { QDir().mkdir(place()); }, ""},
        {"file in its place", [this] { writeFile(place(), "a file"); }, "Not a directory"},
    };
    ASSERT_TRUE(PrivateFolder(place() + "/deeper").create());
    EXPECT_EQ(modeOf(place() + "/deeper"), 0700u);
    const mode_t outsideMode = modeOf(outside());
    for (const auto& c : cases) {
        QFile::remove(place());
        QDir(place()).removeRecursively();
        c.arrange();
        QString error;
        EXPECT_EQ(PrivateFolder(place()).create(&error), c.error.isEmpty()) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        if (c.error.isEmpty()) {
            EXPECT_EQ(modeOf(place()), 0700u) << c.name;
            EXPECT_TRUE(QFileInfo(place()).isDir() && !isLink(place())) << c.name;
        } else {
            EXPECT_EQ(readFile(place()), "a file");
        }
        EXPECT_EQ(readFile(outside() + "/victim.jpg"), "keep me") << c.name;
        EXPECT_EQ(modeOf(outside()), outsideMode) << c.name;
    }
}

TEST_F(PrivateFolderTest, FolderOfAnotherUserIsRefused)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs to hand a folder to another user";
    }
    ASSERT_TRUE(QDir().mkdir(place()));
    ASSERT_EQ(::chown(QFile::encodeName(place()).constData(), 4321, 4321), 0);
    QString error;
    EXPECT_FALSE(PrivateFolder(place()).create(&error));
    EXPECT_EQ(error, "Operation not permitted");
}

TEST_F(PrivateFolderTest, RemoveMatchingTakesJpegsOnlyAndNeverFollowsLinks)
{
    const PrivateFolder folder(place());
    ASSERT_TRUE(folder.create());
    writeFile(place() + "/a.jpg", "a");
    writeFile(place() + "/B.JPG", "b");
    writeFile(place() + "/note.txt", "n");
    ASSERT_TRUE(QDir().mkpath(place() + "/sub.jpg"));
    writeFile(place() + "/sub.jpg/inner.jpg", "i");
    ASSERT_TRUE(QFile::link(outside() + "/victim.jpg", place() + "/planted.jpg"));
    ASSERT_TRUE(QFile::link(outside(), place() + "/linkeddir.jpg"));

    folder.removeMatching(".jpg");

    EXPECT_EQ(QDir(place()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
              QStringList{"note.txt"});
    EXPECT_EQ(readFile(outside() + "/victim.jpg"), "keep me");
}


TEST_F(PrivateFolderTest, RemoveAllTakesTheTreeButNotWhatLinksPointAt)
{
    const PrivateFolder folder(place());
    ASSERT_TRUE(folder.create());
    ASSERT_TRUE(QDir().mkpath(place() + "/a/b"));
    writeFile(place() + "/a/b/c.txt", "c");
    ASSERT_TRUE(QFile::link(outside(), place() + "/a/out"));

    folder.removeAll();

    EXPECT_FALSE(QFileInfo::exists(place()));
    EXPECT_EQ(readFile(outside() + "/victim.jpg"), "keep me");
}



TEST_F(PrivateFolderTest, CreateFileRefusesANamePlantedAsLink)
{
    const PrivateFolder folder(place());
    ASSERT_TRUE(folder.create());
    ASSERT_TRUE(QFile::link(outside() + "/victim.jpg", place() + "/Still.jpg"));

    QString error;
    EXPECT_TRUE(folder.createFile("Still.jpg", &error).isEmpty());
    EXPECT_EQ(error, "File exists");
    EXPECT_FALSE(folder.holdsOwnFile("Still.jpg"));
    EXPECT_EQ(readFile(outside() + "/victim.jpg"), "keep me");
}


TEST(PrivateFolderLocation, RuntimeFolderFirstThenTheCache)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    EXPECT_EQ(PrivateFolder::mailLocation(), dir.path() + "/quillon-jpg");

    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", (dir.path() + "/cache").toLocal8Bit());
    EXPECT_EQ(PrivateFolder::mailLocation(), dir.path() + "/cache/Quillon/Jpg");

    // A runtime folder that is named but not there does not count.
    qputenv("XDG_RUNTIME_DIR", (dir.path() + "/gone").toLocal8Bit());
    EXPECT_EQ(PrivateFolder::mailLocation(), dir.path() + "/cache/Quillon/Jpg");

    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("XDG_CACHE_HOME", cache);
}
