#include "platform/fileoperations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using TestFiles::readFile;
using TestFiles::writeFile;

namespace {
QStringList everythingIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}
}  // namespace

TEST(FileOperations, CopyReplacesTheDestinationWholeAndLeavesNothingElse)
{
    QTemporaryDir dir;
    // Larger than one read, so the copy loops.
    QByteArray big(3 * 1024 * 1024 + 17, '\0');
    for (int i = 0; i < big.size(); ++i) {
        big[i] = char(i * 31 % 251);
    }
    writeFile(dir.filePath("source.avi"), big);
    ASSERT_TRUE(QDir().mkpath(dir.filePath("out")));
    writeFile(dir.filePath("out/placeholder"), "");
    writeFile(dir.filePath("out/copy.avi"), "older and shorter");

    EXPECT_EQ(FileOperations::copyReplacing(dir.filePath("source.avi"), dir.filePath("out/copy.avi")),
              std::nullopt);
    EXPECT_EQ(readFile(dir.filePath("out/copy.avi")), big);
    EXPECT_EQ(everythingIn(dir.filePath("out")), (QStringList{"copy.avi", "placeholder"}));
}


TEST(FileOperations, FailedCopiesSayWhyAndLeaveNoTrace)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("a.bmp"), "BM picture");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("taken.bmp")));

    EXPECT_EQ(FileOperations::copyReplacing(dir.filePath("gone.bmp"), dir.filePath("b.bmp")),
              QString("No such file or directory"));
    EXPECT_EQ(FileOperations::copyReplacing(dir.filePath("a.bmp"), dir.filePath("none/b.bmp")),
              QString("No such file or directory"));
    EXPECT_EQ(FileOperations::copyReplacing(dir.filePath("a.bmp"), dir.filePath("taken.bmp")),
              QString("Is a directory"));
    EXPECT_EQ(FileOperations::copyReplacing(dir.filePath("taken.bmp"), dir.filePath("c.bmp")),
              QString("Is a directory"));
    EXPECT_EQ(everythingIn(dir.path()), (QStringList{"a.bmp", "taken.bmp"}));
    EXPECT_TRUE(everythingIn(dir.filePath("taken.bmp")).isEmpty());
}


TEST(FileOperations, SameFileIsRecognisedThroughLinks)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("a.bmp"), "BM");
    writeFile(dir.filePath("twin.bmp"), "BM");
    ASSERT_TRUE(QFile::link(dir.filePath("a.bmp"), dir.filePath("soft.bmp")));
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath("a.bmp")).constData(),
                     QFile::encodeName(dir.filePath("hard.bmp")).constData()),
              0);
    EXPECT_TRUE(FileOperations::isSameFile(dir.filePath("a.bmp"), dir.filePath("soft.bmp")));
    EXPECT_TRUE(FileOperations::isSameFile(dir.filePath("a.bmp"), dir.filePath("hard.bmp")));
    EXPECT_FALSE(FileOperations::isSameFile(dir.filePath("a.bmp"), dir.filePath("twin.bmp")));
    EXPECT_FALSE(FileOperations::isSameFile(dir.filePath("a.bmp"), dir.filePath("missing.bmp")));
}
