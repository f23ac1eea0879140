// Runs quillon-measure on every script in cases/ and compares what it prints, its exit
// status, its error lines and the pixels of what it saved with the NAME.out beside it; a
// table it wrote is compared byte for byte with NAME.csv. "{dir}" in a case's arguments is
// its temporary folder, "{cases}" the folder of the cases.
// The outputs were taken from the tool before a refactoring, so any change in behaviour
// shows here. QUILLON_UPDATE_CASES=1 rewrites the .out files, from the tool QUILLON_MEASURE
// names when set (a reference build), else from the one built here.
#include "support/testfiles.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kCasesDir = QStringLiteral(QUILLON_CASES_DIR);

// A picture whose pixels differ from place to place, so a shape drawn one pixel off or a
// stretch that samples differently changes the saved picture. SPEC is "WIDTH HEIGHT", for a
// JPEG optionally followed by "exif N" (an orientation block), "no-end" (the end-of-image
// marker left off) or "cut-scan" (the file ends halfway through its scan).
bool writePicture(const QString& path, const QString& spec)
{
    if (spec == QLatin1String("broken")) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("BM not really") > 0;
    }
    const QStringList parts = spec.split(QLatin1Char(' '));
    QImage image(parts.value(0).toInt(), parts.value(1).toInt(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, ((x + y) * 3) & 255));
        }
    }
    const bool jpeg = path.endsWith(QLatin1String("jpg"), Qt::CaseInsensitive);
    if (parts.size() == 2) {
        return image.save(path, jpeg ? "JPEG" : "BMP");
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!jpeg || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "JPEG")) {
        return false;
    }
    if (parts.value(2) == QLatin1String("exif")) {
        const std::vector<std::uint8_t> exif = TestFiles::exifOrientation(parts.value(3).toInt());
        const auto length = static_cast<std::uint16_t>(exif.size() + 2);
        bytes.insert(2, QByteArray("\xFF\xE1") + char(length >> 8) + char(length & 0xFF)
                            + QByteArray(reinterpret_cast<const char*>(exif.data()), qsizetype(exif.size())));
    } else if (parts.value(2) == QLatin1String("no-end")) {
        bytes.chop(2);
    } else if (parts.value(2) == QLatin1String("cut-scan")) {
        bytes.chop(bytes.size() / 2);
    } else {
        return false;
    }
    return TestFiles::writeFile(path, bytes);
}

QString pixelDigest(const QString& path)
{
    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        return QStringLiteral("unreadable");
    }
    QCryptographicHash hash(QCryptographicHash::Md5);
    for (int y = 0; y < image.height(); ++y) {
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4));
    }
    return QStringLiteral("%1x%2 %3").arg(image.width()).arg(image.height()).arg(QString::fromLatin1(hash.result().toHex()));
}

struct CaseResult {
    QString output;
    QByteArray table;  ///< the .csv the tool wrote, if any
};

CaseResult runCase(const QString& name)
{
    QFile scriptFile(kCasesDir + QLatin1Char('/') + name + QStringLiteral(".script"));
    if (!scriptFile.open(QIODevice::ReadOnly)) {
        return {QStringLiteral("no script"), {}};
    }
    const QByteArray script = scriptFile.readAll();

    QTemporaryDir dir;
    QStringList arguments;
    QString picture;
    for (const QString& line : QString::fromUtf8(script).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("# picture: "))) {
            const QString spec = line.mid(11);
            const int blank = spec.indexOf(QLatin1Char(' '));
            picture = dir.filePath(spec.left(blank));
            if (!writePicture(picture, spec.mid(blank + 1))) {
                return {QStringLiteral("picture not written"), {}};
            }
        } else if (line.startsWith(QLatin1String("# args: "))) {
            arguments = line.mid(8)
                            .replace(QLatin1String("{dir}"), dir.path())
                            .replace(QLatin1String("{cases}"), kCasesDir)
                            .split(QLatin1Char(' '));
        }
    }
    if (!picture.isEmpty()) {
        arguments << picture;
    }

    const QString tool = qEnvironmentVariable("QUILLON_MEASURE", QStringLiteral(QUILLON_MEASURE_PATH));
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForStarted(10000)) {
        return {QStringLiteral("did not start"), {}};
    }
    process.write(script);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        return {QStringLiteral("did not finish"), {}};
    }

    QString result = QString::fromUtf8(process.readAllStandardOutput());
    result += QStringLiteral("--- exit %1\n").arg(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1);
    // Sanitizer and Qt chatter is not the tool's own: keep its messages and the usage line.
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("quillon-measure:")) || line.startsWith(QLatin1String("usage:"))) {
            result += QStringLiteral("--- error %1\n").arg(QString(line).replace(dir.path(), QLatin1String("{dir}")));
        }
    }
    QByteArray table;
    const QStringList saved = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    for (const QString& file : saved) {
        if (file.endsWith(QLatin1String(".csv"))) {
            QFile csv(dir.filePath(file));
            table = csv.open(QIODevice::ReadOnly) ? csv.readAll() : QByteArray("unreadable");
            result += QStringLiteral("--- saved %1\n").arg(file);
        } else if (file.endsWith(QLatin1String(".quillon.json"))) {
            // Its contents are pinned by the measure tests; here it only has to be there.
            result += QStringLiteral("--- saved %1\n").arg(file);
        } else if (dir.filePath(file) != picture) {
            result += QStringLiteral("--- saved %1 %2\n").arg(file, pixelDigest(dir.filePath(file)));
        }
    }
    return {result, table};
}

// The expected file NAME.EXTENSION: compared with ACTUAL, or rewritten from it on request.
void expectFile(const QString& name, const char* extension, const QByteArray& actual)
{
    QFile expectedFile(kCasesDir + QLatin1Char('/') + name + QLatin1String(extension));
    if (qEnvironmentVariableIntValue("QUILLON_UPDATE_CASES") == 1) {
        ASSERT_TRUE(expectedFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        expectedFile.write(actual);
        return;
    }
    ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly)) << qPrintable(name) << extension;
    EXPECT_EQ(actual, expectedFile.readAll()) << qPrintable(name) << extension;
}

class CaseFile : public ::testing::TestWithParam<QString> {};

TEST_P(CaseFile, PrintsAndSavesWhatItDidBefore)
{
    const QString name = GetParam();
    const CaseResult actual = runCase(name);
    expectFile(name, ".out", actual.output.toUtf8());
    if (!actual.table.isEmpty() || QFile::exists(kCasesDir + QLatin1Char('/') + name + QStringLiteral(".csv"))) {
        expectFile(name, ".csv", actual.table);
    }
}

std::vector<QString> caseNames()
{
    std::vector<QString> names;
    for (const QString& file : QDir(kCasesDir).entryList({QStringLiteral("*.script")}, QDir::Files, QDir::Name)) {
        names.push_back(file.chopped(7));
    }
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scripts, CaseFile, ::testing::ValuesIn(caseNames()),
                         [](const ::testing::TestParamInfo<QString>& info) {
                             return QString(info.param).replace(QLatin1Char('-'), QLatin1Char('_')).toStdString();
                         });

}  // namespace
