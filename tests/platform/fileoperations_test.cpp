#include "platform/fileoperations.h"

#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace TestFiles;

TEST(FileOperations, CopyReplacesTheDestinationWholeOrSaysWhyAndLeavesNoTrace)
{
    QTemporaryDir dir;
    QByteArray big(3 * 1024 * 1024 + 17, '\0');  // larger than one read, so the copy loops
    for (int i = 0; i < big.size(); ++i) {
        big[i] = char(i * 31 % 251);
    }
    ASSERT_TRUE(writeFile(dir.filePath("a.avi"), big) && writeFile(dir.filePath("copy.avi"), "older"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("taken.bmp")));
    const auto copy = [&](const char* from, const char* to) {
        return FileOperations::copyReplacing(dir.filePath(from), dir.filePath(to)).value_or("copied");
    };
    EXPECT_EQ(copy("a.avi", "copy.avi"), "copied");
    EXPECT_EQ(readFile(dir.filePath("copy.avi")), big);
    EXPECT_EQ(copy("gone.bmp", "b.bmp"), "No such file or directory");
    EXPECT_EQ(copy("a.avi", "none/b.bmp"), "No such file or directory");
    EXPECT_EQ(copy("a.avi", "taken.bmp"), "Is a directory");
    EXPECT_EQ(copy("taken.bmp", "c.bmp"), "Is a directory");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"a.avi", "copy.avi", "taken.bmp"}));
}

TEST(FileOperations, SameFileIsRecognisedThroughLinks)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeFile(dir.filePath("a.bmp"), "BM") && writeFile(dir.filePath("twin.bmp"), "BM"));
    ASSERT_TRUE(QFile::link(dir.filePath("a.bmp"), dir.filePath("soft.bmp")));
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath("a.bmp")), QFile::encodeName(dir.filePath("hard.bmp"))), 0);
    EXPECT_TRUE(FileOperations::isSameFile(dir.filePath("a.bmp"), dir.filePath("soft.bmp")));
    EXPECT_TRUE(FileOperations::isSameFile(dir.filePath("a.bmp"), dir.filePath("hard.bmp")));
    EXPECT_FALSE(FileOperations::isSameFile(dir.filePath("a.bmp"), dir.filePath("twin.bmp")));
    EXPECT_FALSE(FileOperations::isSameFile(dir.filePath("a.bmp"), dir.filePath("missing.bmp")));
}
