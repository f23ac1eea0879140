#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString output;
    QString errors;
};

class QuillonMeasureTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    ToolRun run(const QStringList& arguments, const QByteArray& script)
    {
        QProcess process;
        process.start(QStringLiteral(QUILLON_MEASURE_PATH), arguments);
        ToolRun result;
        if (!process.waitForStarted(10000)) {
            ADD_FAILURE() << "quillon-measure did not start";
            return result;
        }
        process.write(script);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000)) {
            process.kill();
            ADD_FAILURE() << "quillon-measure did not finish";
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.output = QString::fromUtf8(process.readAllStandardOutput());
        result.errors = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

};

// The script cases always name a picture; these runs cannot.
TEST_F(QuillonMeasureTest, BadArgumentsPrintTheUsageAndEndWithStatusTwo)
{
    for (const QStringList& arguments : {QStringList{}, QStringList{"--shear", "a.bmp"}, QStringList{"a.bmp", "b.bmp"}}) {
        SCOPED_TRACE(qPrintable(arguments.join(' ')));
        const ToolRun result = run(arguments, "");
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.output, "");
        EXPECT_TRUE(result.errors.startsWith("usage: quillon-measure [--full-size] [--save OUT] PICTURE < SCRIPT\n"))
            << qPrintable(result.errors);
    }
}

TEST_F(QuillonMeasureTest, MissingPictureIsNamed)
{
    const ToolRun result = run({dir.filePath("gone.bmp")}, "");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains(QStringLiteral("quillon-measure: %1: no such file").arg(dir.filePath("gone.bmp"))))
        << qPrintable(result.errors);
}

}  // namespace
