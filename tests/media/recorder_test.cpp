#include "media/recorder.h"

#include "media/compressordialog.h"
#include "media/mediapaths.h"
#include "media/recordersettingdialog.h"
#include "platform/aviframereader.h"
#include "support/filesizelimit.h"
#include "support/modalrunner.h"
#include "support/scriptedprompter.h"
#include "texts/localtext.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>
#include <numeric>
#include <random>

namespace {

/// What ffprobe decodes from a clip's video stream: PTS of every frame decoded, in order.
struct Decoded { QString fourcc, rate; std::vector<int> pts; bool allKey = true; };

Decoded decode(const QString& path)
{
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries",
                            "stream=codec_tag_string,r_frame_rate:frame=pts,key_frame", "-of", "compact", path});
    probe.waitForFinished(60000);
    Decoded decoded;
    for (const QString& field : QString::fromUtf8(probe.readAllStandardOutput()).split(QRegularExpression("[|\n]"))) {
        const QString key = field.section('=', 0, 0), value = field.section('=', 1);
        if (key == "codec_tag_string") decoded.fourcc = value;
        if (key == "r_frame_rate") decoded.rate = value;
        if (key == "pts") decoded.pts.push_back(value.toInt());
        if (key == "key_frame") decoded.allKey = decoded.allKey && value == "1";
    }
    return decoded;
}

std::vector<int> upTo(int count)  // 0, 1, ..., count - 1
{
    std::vector<int> numbers(static_cast<std::size_t>(count));
    return std::iota(numbers.begin(), numbers.end(), 0), numbers;
}

/// Bottom-up BGR: the top half (the rows stored last) white, the bottom half black, with
/// NOISE of grey added so that a frame hardly compresses.
std::vector<std::uint8_t> frameBytes(int width, int height, int noise = 0)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height * 3);
    std::minstd_rand random(7);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>((i >= bytes.size() / 2 ? 255 - noise : 0) + random() % (noise + 1));
    return bytes;
}

void writeFrames(Recorder& recorder, const std::vector<std::uint8_t>& bytes, QSize size, int count)
{
    for (int i = 0; i < count; ++i)
        recorder.writeFrame(CameraFrame{bytes.data(), bytes.size(), size.width(), size.height(), 0});
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
    QStringList clips() const { return QDir(paths.videoFolder()).entryList(QDir::Files); }
};

TEST_F(RecorderTest, StoredRateFollowsTheCaptureSizeAndEveryClipCountsFramesFromZero)
{
    struct Case { const char* name; QSize size; int frameRateClass; const char* rate; } const cases[] = {
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
        writeFrames(recorder, frame, c.size, 2);
        writeFrames(recorder, frameBytes(160, 120), {160, 120}, 1);  // another size: skipped
        writeFrames(recorder, frame, c.size, 1);
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
        dialog.list()->setCurrentItem(dialog.list()->findItems("MJPEG (Motion JPEG)", Qt::MatchExactly).value(0));
        dialog.accept();
    });
    recorder.chooseCompressor(nullptr);
    EXPECT_EQ(recorder.compressor().value_or(AviEncoder{}).name, "mjpeg");
    whenModal<CompressorDialog>([](CompressorDialog& dialog) { dialog.reject(); });
    recorder.chooseCompressor(nullptr);
    EXPECT_TRUE(recorder.takeCompressorChosen());
    EXPECT_FALSE(recorder.takeCompressorChosen());
    ASSERT_TRUE(recorder.open({640, 480}, 14, nullptr));
    writeFrames(recorder, frameBytes(640, 480), {640, 480}, 3);
    recorder.close();
    const Decoded decoded = decode(closed.last().at(0).toString());
    EXPECT_EQ(decoded.fourcc, "MJPG");
    EXPECT_EQ(decoded.pts, upTo(3));
}

TEST_F(RecorderTest, FailedOpeningShowsItsStepAndCodeAndLeavesNoFile)
{
    // In this order: each case keeps what the ones before it set up.
    struct Case { const char* name; bool setDefault; QSize size; bool folderIsFile; const char* text; } const cases[] = {
        {"no compressor ever set", false, {320, 240}, false, "Make compress stream failed(0xBCB1BA08:0)"},
        {"width not a multiple of 4", true, {322, 240}, false, "Make compress stream failed(0xFFFFFFFF:0)"},
        {"video folder is a file", false, {320, 240}, true, "Open avi file failed(0xFFFFFFEC:0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.setDefault) recorder.useDefaultCompressor();
        const bool ready = !c.folderIsFile
            || (QDir(paths.videoFolder()).removeRecursively() && QFile(paths.videoFolder()).open(QIODevice::WriteOnly));
        ASSERT_TRUE(ready);
        prompter.shown.clear();
        EXPECT_FALSE(recorder.open(c.size, 15, nullptr));
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text.toStdString(), c.text);
        EXPECT_EQ(prompter.shown[0].caption, "AVI Capture");
        EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Error);
        EXPECT_TRUE(clips().isEmpty());
        recorder.close();
    }
    EXPECT_EQ(closed.size(), 0);  // nothing for the gallery, nothing left open
}

// The disk fills at every kind of point: inside a frame, just after one, inside the part
// the writer buffers. Each time the clip is cut back to its last whole frame and closed with
// an index that fits in the room the cut gave back, or, where nothing fits, removed.
TEST_F(RecorderTest, FullDiskEndsTheClipReadableUpToItsLastWholeFrame)
{
    recorder.useDefaultCompressor();
    const std::vector<std::uint8_t> noisy = frameBytes(320, 240, 120);
    for (int step = 0; step < 16; ++step) {
        const rlim_t limit = 1000 + rlim_t(step) * 23'417;  // steps that fall at varied points of a frame
        SCOPED_TRACE(limit);
        failed.clear();
        closed.clear();
        prompter.shown.clear();
        ASSERT_TRUE(recorder.open({320, 240}, 15, nullptr));
        {
            const FileSizeLimit full(limit);
            ASSERT_TRUE(full.isActive());
            writeFrames(recorder, noisy, {320, 240}, 12);
            recorder.close();
        }
        QCoreApplication::processEvents();
        ASSERT_EQ(failed.size(), 1);
        const std::int64_t written = recorder.framesWritten();
        EXPECT_LT(written, 12);
        if (written == 0) {
            EXPECT_EQ(failed[0].at(0).toString(),
                      "The recording stopped because the clip could not be written: File too large. "
                      "Nothing was recorded.");
            EXPECT_TRUE(closed.isEmpty());
            EXPECT_TRUE(clips().isEmpty()) << clips().join(' ').toStdString();
            continue;
        }
        EXPECT_EQ(failed[0].at(0).toString(),
                  "The recording stopped because the clip could not be written: File too large. "
                  "The clip keeps the frames recorded until then.");
        ASSERT_EQ(closed.size(), 1);
        const QString clip = closed[0].at(0).toString();
        EXPECT_EQ(decode(clip).pts, upTo(static_cast<int>(written)));
        QProcess probe;  // the header's count, fixed up at the close, agrees
        probe.start("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries", "stream=nb_frames",
                                "-of", "csv=p=0", clip});
        probe.waitForFinished(30000);
        EXPECT_EQ(probe.readAllStandardOutput().trimmed().toLongLong(), written);
        QFile::remove(clip);
    }
}

TEST_F(RecorderTest, SettingDialogRefusesBadNumbersAndOkWithTheLimitOffMeansNoLimit)
{
    struct Case { const char* name, *frameRate; bool limitOn; const char* seconds; bool accepted; std::optional<int> limit; } const cases[] = {
        {"empty frame rate", "", true, "10", false, {}},
        {"frame rate 31", "31", true, "10", false, {}},
        {"limit 0", "15", true, "0", false, {}},
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
        if (!c.accepted) continue;
        EXPECT_EQ(dialog.frameRate(), QString(c.frameRate).toInt());
        EXPECT_EQ(dialog.timeLimit(), c.limit);
    }
    EXPECT_EQ(recorder.compressor().value_or(AviEncoder{}).handler, "MSVC");  // OK without Compress
}

}  // namespace

// The converter read a little past the end of the caller's frame: a frame that ends where
// unmapped memory begins crashed the streaming thread.
TEST(AviWriter, ReadsNothingPastTheEndOfTheFrame)
{
    QTemporaryDir folder;
    const int width = 320, height = 240;
    const std::size_t length = std::size_t(width) * height * 3;
    const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
    const std::size_t pages = (length + page - 1) / page;
    auto* region = static_cast<std::uint8_t*>(
        ::mmap(nullptr, (pages + 1) * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(region, MAP_FAILED);
    ASSERT_EQ(::mprotect(region + pages * page, page, PROT_NONE), 0);  // the guard right after the frame
    std::uint8_t* frame = region + pages * page - length;
    std::fill(frame, frame + length, 90);
    AviWriter writer;
    ASSERT_TRUE(writer.open(folder.filePath("guard.avi"), width, height, 15, AviWriter::defaultEncoder(), 7500).ok());
    EXPECT_TRUE(writer.writeFrame(frame, length));
    writer.close();
    ::munmap(region, (pages + 1) * page);
}
