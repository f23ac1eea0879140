// The video player on clips made with the ffmpeg command line: its timeline and buttons, and
// clips of every kind it must play or refuse, damaged ones included, in bounded time.
#include "media/videoplayer.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "texts/localtext.h"
#include "ui/latchbitmapbutton.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString pathOf(const QString& name)
{
    static QTemporaryDir folder;
    return folder.filePath(name);
}

// NAME as the ffmpeg command line encodes a test pattern with ENCODING; false without the
// tool or the encoder.
bool makeClip(const QString& name, double seconds, const QStringList& encoding)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", QStringList{"-v", "error", "-y", "-f", "lavfi", "-i",
                                       QString("testsrc=duration=%1:size=320x240:rate=25").arg(seconds)}
                               + encoding + QStringList{pathOf(name)});
    return ffmpeg.waitForFinished(120000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

QByteArray bytesOf(const QString& name) { return TestFiles::readFile(pathOf(name)); }
bool writeBytes(const QString& name, const QByteArray& bytes)
{
    return !bytes.isEmpty() && TestFiles::writeFile(pathOf(name), bytes);
}

struct Player {
    explicit Player(const QString& name)
        : window(pathOf(name), text, prompter)
    {
    }
    PlaybackEngine& engine() { return *window.findChild<PlaybackEngine*>(); }
    QAbstractButton* button(const char* name) { return window.findChild<QAbstractButton*>(name); }
    LatchBitmapButton* play() { return window.findChild<LatchBitmapButton*>("play"); }
    QSlider* progress() { return window.findChild<QSlider*>("progress"); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    std::vector<bool> stepButtonsEnabled()
    {
        return {button("first")->isEnabled(), button("backward")->isEnabled(), button("forward")->isEnabled(),
                button("last")->isEnabled()};
    }

    ScriptedPrompter prompter;
    LocalText text;
    VideoPlayer window;
};

TEST(VideoPlayer, StepsWithinTheClipKeepsOpenOnEnterAndEscapeAndReturnsToTheStartAtTheEnd)
{
    if (!makeClip("timeline.avi", 12.34, {"-c:v", "mjpeg"})) {
        GTEST_SKIP() << "no ffmpeg command line with MJPEG";
    }
    Player player("timeline.avi");
    ASSERT_TRUE(player.prompter.shown.empty());
    EXPECT_EQ(player.progress()->minimum(), 0);
    EXPECT_EQ(player.progress()->maximum(), 123);
    EXPECT_EQ(player.stepButtonsEnabled(), std::vector<bool>(4, true));

    player.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&player.window));
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&player.window, key);
        EXPECT_TRUE(player.window.isVisible()) << key;
    }

    player.click("play");
    ASSERT_TRUE(player.play()->isLatched());
    const double end = player.engine().duration();
    const struct {
        const char* button;
        double from;
        double to;
    } steps[] = {
        {"backward", 1.5, 0.0}, {"backward", 5.3, 3.3}, {"forward", 11.0, end},
        {"forward", 4.0, 6.0},  {"first", 9.0, 0.0},    {"last", 3.0, end},
    };
    QSignalSpy frames(&player.engine(), &PlaybackEngine::frameReady);
    for (const auto& step : steps) {
        player.engine().pause();  // a slow machine must not play on between the seek and the click
        player.engine().seek(step.from);
        frames.clear();
        player.click(step.button);
        EXPECT_NEAR(player.engine().currentPosition(), step.to, 1e-6) << step.button << " from " << step.from;
        EXPECT_EQ(frames.count(), 1) << step.button << " from " << step.from;
    }

    // Play released and pressed again runs on from near the end until the clip completes.
    player.engine().seek(11.6);
    player.click("play");
    player.click("play");
    ASSERT_EQ(player.engine().state(), PlaybackState::Playing);
    QTRY_VERIFY_WITH_TIMEOUT(!player.play()->isLatched(), 5000);
    EXPECT_EQ(player.progress()->value(), 0);
    EXPECT_EQ(player.engine().currentPosition(), 0.0);
    EXPECT_EQ(player.engine().state(), PlaybackState::Paused);
    EXPECT_EQ(player.stepButtonsEnabled(), std::vector<bool>(4, false));
}

TEST(VideoPlayer, PlaysClipsOfEveryKindAndRefusesBrokenOnesByNameWithoutHanging)
{
    if (!makeClip("mjpeg.avi", 1.5, {"-c:v", "mjpeg"})) {
        GTEST_SKIP() << "no ffmpeg command line with MJPEG";
    }
    const QByteArray mjpeg = bytesOf("mjpeg.avi");
    QByteArray garbage(20000, '\0');
    for (int i = 0; i < garbage.size(); ++i) {
        garbage[i] = char((i * 7919 + i / 13) & 0xff);
    }
    const struct {
        const char* name;
        std::function<bool()> make;
        int range;            // tenths of a second of the slider
        const char* refusal;  // empty: the clip plays
    } cases[] = {
        {"mjpeg.avi", [] { return true; }, 15, ""},
        {"h264.avi", [] { return makeClip("h264.avi", 1.5, {"-c:v", "libx264"})
                          || makeClip("h264.avi", 1.5, {"-c:v", "mpeg4"}); }, 15, ""},
        {"msvideo1.avi", [] { return makeClip("msvideo1.avi", 1.5, {"-c:v", "msvideo1", "-pix_fmt", "rgb555le"}); }, 15, ""},
        {"raw.avi", [] { return makeClip("raw.avi", 1.5, {"-c:v", "rawvideo", "-pix_fmt", "bgr24"}); }, 15, ""},
        {"index-cut.avi", [&] { return writeBytes("index-cut.avi", mjpeg.left(mjpeg.lastIndexOf("idx1"))); }, 15, ""},
        // Without its index the clip's length is what is left of it.
        {"second-half-lost.avi", [&] { return writeBytes("second-half-lost.avi", mjpeg.left(mjpeg.size() / 2)); }, 7, ""},
        {"header-only.avi", [&] { return writeBytes("header-only.avi", mjpeg.left(300)); }, 0,
         "This clip cannot be played: header-only.avi (not an AVI file)"},
        {"garbage.avi", [&] { return writeBytes("garbage.avi", garbage); }, 0,
         "This clip cannot be played: garbage.avi (not an AVI file)"},
        {"missing.avi", [] { return true; }, 0, "This clip cannot be played: missing.avi (no such file)"},
    };
    for (const auto& clip : cases) {
        ASSERT_TRUE(clip.make()) << clip.name;
        QElapsedTimer timer;
        timer.start();
        Player player(clip.name);
        QSignalSpy frames(&player.engine(), &PlaybackEngine::frameReady);
        player.click("play");
        EXPECT_EQ(player.prompter.texts().join('|').toStdString(), clip.refusal);
        EXPECT_EQ(player.progress()->maximum(), clip.range) << clip.name;
        if (*clip.refusal) {
            EXPECT_FALSE(player.play()->isLatched()) << clip.name;
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!player.play()->isLatched(), 5000);
            EXPECT_GE(frames.count(), 10) << clip.name;
            ASSERT_GE(frames.count(), 1) << clip.name;
            EXPECT_EQ(frames.first().first().value<QImage>().size(), QSize(320, 240)) << clip.name;
        }
        EXPECT_LT(timer.elapsed(), 8000) << clip.name;
    }
}

}  // namespace
