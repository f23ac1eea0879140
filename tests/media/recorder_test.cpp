#include "media/recorder.h"

#include "media/compressordialog.h"
#include "media/mediapaths.h"
#include "media/recordersettingdialog.h"
#include "platform/aviframereader.h"
#include "support/modalrunner.h"
#include "support/scriptedprompter.h"
#include "texts/localtext.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <numeric>
#include <sys/resource.h>

namespace {

/// What ffprobe decodes from a clip's video stream.
struct Decoded {
    QString fourcc;
    QString rate;
    std::vector<int> pts;  ///< of every frame decoded, in order
    bool allKey = true;
};

Decoded decode(const QString& path)
{
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries",
                            "stream=codec_tag_string,r_frame_rate:frame=pts,key_frame", "-of", "compact", path});
    probe.waitForFinished(60000);
    Decoded decoded;
    for (const QString& line : QString::fromUtf8(probe.readAllStandardOutput()).split('\n')) {
        const QStringList fields = line.split('|');
        for (const QString& field : fields) {
            const QString key = field.section('=', 0, 0);
            const QString value = field.section('=', 1);
            if (key == "codec_tag_string") decoded.fourcc = value;
            if (key == "r_frame_rate") decoded.rate = value;
            if (key == "pts") decoded.pts.push_back(value.toInt());
            if (key == "key_frame") decoded.allKey = decoded.allKey && value == "1";
        }
    }
    return decoded;
}

std::vector<int> upTo(int count)
{
    std::vector<int> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 0);
    return numbers;
}

/// Bottom-up BGR: the top half (the rows stored last) white, the bottom half black, with
/// NOISE of grey added so that a frame hardly compresses.
std::vector<std::uint8_t> frameBytes(int width, int height, int noise = 0)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height * 3);
    std::uint32_t seed = 7;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        seed = seed * 1103515245 + 12345;
        const int base = i >= bytes.size() / 2 ? 255 - noise : 0;
        bytes[i] = static_cast<std::uint8_t>(base + (noise > 0 ? (seed >> 16) % noise : 0));
    }
    return bytes;
}

void writeFrames(Recorder& recorder, const std::vector<std::uint8_t>& bytes, int width, int height, int count)
{
    for (int i = 0; i < count; ++i) {
        recorder.writeFrame(CameraFrame{bytes.data(), bytes.size(), width, height, 0});
    }
}

class RecorderTest : public ::testing::Test {
protected:
    QTemporaryDir documents;
    MediaPaths paths{documents.path()};
    LocalText text;
    ScriptedPrompter prompter;
    Recorder recorder{paths, text, prompter};
    QSignalSpy closed{&recorder, &Recorder::clipClosed};
    QSignalSpy failed{&recorder, &Recorder::writeFailed};

    void SetUp() override { paths.createFolders(); }
    QStringList clips() const { return QDir(paths.videoFolder()).entryList(QDir::Files, QDir::Name); }
};

TEST_F(RecorderTest, StoredRateFollowsTheCaptureSizeAndEveryClipCountsFramesFromZero)
{
    struct Case {
        const char* name;
        QSize size;
        int frameRateClass;
        const char* rate;
    } const cases[] = {
        {"320x240", {320, 240}, 15, "22/1"},
        {"640x480", {640, 480}, 14, "15/1"},
        {"1280x1024", {1280, 1024}, 5, "5/1"},
        {"second clip at 320x240", {320, 240}, 15, "22/1"},
    };
    recorder.useDefaultCompressor();
    int clipNumber = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(recorder.open(c.size, c.frameRateClass, nullptr));
        const std::vector<std::uint8_t> frame = frameBytes(c.size.width(), c.size.height());
        writeFrames(recorder, frame, c.size.width(), c.size.height(), 2);
        const std::vector<std::uint8_t> other = frameBytes(160, 120);
        writeFrames(recorder, other, 160, 120, 1);  // another size: skipped
        writeFrames(recorder, frame, c.size.width(), c.size.height(), 1);
        recorder.close();
        ASSERT_EQ(closed.size(), ++clipNumber);
        const QString path = closed.last().at(0).toString();
        EXPECT_TRUE(path.endsWith(QString::asprintf("_N%04d.avi", clipNumber))) << path.toStdString();
        const Decoded decoded = decode(path);
        EXPECT_EQ(decoded.fourcc, "MSVC");
        EXPECT_EQ(decoded.rate, c.rate);
        EXPECT_EQ(decoded.pts, upTo(3));
        EXPECT_TRUE(decoded.allKey);
        // The picture is upright: its bottom rows (stored first) read back dark, its top rows light.
        std::vector<std::uint8_t> first(40 + frame.size() + 4096);
        ASSERT_TRUE(AviFrameReader::readFirstFrame(path, first.data(), first.size()));
        EXPECT_LT(first[40], 40);
        EXPECT_GT(first[40 + frame.size() - 1], 215);
    }
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(clips().size(), 4);  // no test clip of the compressor check left behind
}

TEST_F(RecorderTest, ChosenMjpegRecordsAndACancelledChoiceKeepsTheEarlierCompressor)
{
    whenModal<CompressorDialog>([](CompressorDialog& dialog) {
        const QList<QListWidgetItem*> items = dialog.list()->findItems("MJPEG (Motion JPEG)", Qt::MatchExactly);
        EXPECT_EQ(items.size(), 1);
        if (items.isEmpty()) {
            return dialog.reject();
        }
        dialog.list()->setCurrentItem(items.first());
        dialog.accept();
    });
    recorder.chooseCompressor(nullptr);
    ASSERT_TRUE(recorder.compressor());
    EXPECT_EQ(recorder.compressor()->name, "mjpeg");
    whenModal<CompressorDialog>([](CompressorDialog& dialog) { dialog.reject(); });
    recorder.chooseCompressor(nullptr);
    EXPECT_TRUE(recorder.takeCompressorChosen());
    EXPECT_FALSE(recorder.takeCompressorChosen());

    ASSERT_TRUE(recorder.open({640, 480}, 14, nullptr));
    writeFrames(recorder, frameBytes(640, 480), 640, 480, 3);
    recorder.close();
    const Decoded decoded = decode(closed.last().at(0).toString());
    EXPECT_EQ(decoded.fourcc, "MJPG");
    EXPECT_EQ(decoded.pts, upTo(3));
}

TEST_F(RecorderTest, FailedOpeningShowsItsStepAndCodeAndLeavesNoFile)
{
    struct Case {
        const char* name;
        bool compressorSet;
        QSize size;
        bool folderIsFile;
        const char* text;
    } const cases[] = {
        {"video folder is a file", true, {320, 240}, true, "Open avi file failed(0xFFFFFFEC:0)"},
        {"no compressor ever set", false, {320, 240}, false, "Make compress stream failed(0xBCB1BA08:0)"},
        {"width not a multiple of 4", true, {322, 240}, false, "Make compress stream failed(0xFFFFFFFF:0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        MediaPaths local(folder.path());
        local.createFolders();
        Recorder fresh(local, text, prompter);
        QSignalSpy freshClosed(&fresh, &Recorder::clipClosed);
        if (c.compressorSet) {
            fresh.useDefaultCompressor();
        }
        if (c.folderIsFile) {
            ASSERT_TRUE(QDir(local.videoFolder()).removeRecursively());
            QFile file(local.videoFolder());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        prompter.shown.clear();
        EXPECT_FALSE(fresh.open(c.size, 15, nullptr));
        EXPECT_FALSE(fresh.isOpen());
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text.toStdString(), c.text);
        EXPECT_EQ(prompter.shown[0].caption, "AVI Capture");
        EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Error);
        EXPECT_TRUE(QDir(local.videoFolder()).entryList(QDir::Files).isEmpty());
        fresh.close();
        EXPECT_EQ(freshClosed.size(), 0);
    }
}

// Regression: a full disk used to leave the clip without its index and the writer retrying.
TEST_F(RecorderTest, FullDiskEndsTheClipReadableUpToItsLastWholeFrame)
{
    recorder.useDefaultCompressor();
    ASSERT_TRUE(recorder.open({320, 240}, 15, nullptr));
    const std::vector<std::uint8_t> noisy = frameBytes(320, 240, 120);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 600 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    writeFrames(recorder, noisy, 320, 240, 40);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QCoreApplication::processEvents();
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed[0].at(0).toString(),
              "The recording stopped because the clip could not be written: File too large. "
              "The clip keeps the frames recorded until then.");
    const std::int64_t written = recorder.framesWritten();
    EXPECT_GT(written, 0);
    EXPECT_LT(written, 40);
    EXPECT_TRUE(recorder.isOpen());
    recorder.close();
    ASSERT_EQ(closed.size(), 1);
    const Decoded decoded = decode(closed[0].at(0).toString());
    EXPECT_EQ(decoded.pts, upTo(static_cast<int>(written)));
}

TEST_F(RecorderTest, SettingDialogRefusesBadNumbersAndOkWithTheLimitOffMeansNoLimit)
{
    struct Case {
        const char* name;
        const char* frameRate;
        bool limitOn;
        const char* seconds;
        bool accepted;
        std::optional<int> limit;
    } const cases[] = {
        {"empty frame rate", "", true, "10", false, {}},
        {"frame rate 31", "31", true, "10", false, {}},
        {"limit 0", "15", true, "0", false, {}},
        {"limit 100000", "15", true, "100000", false, {}},
        {"limit off, seconds box empty", "1", false, "", true, std::nullopt},
        {"highest values", "30", true, "99999", true, 99999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecorderSettingDialog dialog(recorder, text);
        dialog.show();
        dialog.frameRateEdit()->setText(c.frameRate);
        dialog.timeLimitBox()->setChecked(c.limitOn);
        dialog.secondsEdit()->setText(c.seconds);
        dialog.accept();
        EXPECT_EQ(dialog.isVisible(), !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(dialog.frameRate(), QString(c.frameRate).toInt());
            EXPECT_EQ(dialog.timeLimit(), c.limit);
        }
    }
    // OK without Compress pressed set the default compressor.
    ASSERT_TRUE(recorder.compressor());
    EXPECT_EQ(recorder.compressor()->handler, "MSVC");
}

}  // namespace
