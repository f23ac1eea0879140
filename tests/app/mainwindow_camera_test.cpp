// The main window with and without a microscope: start-up, the connect check, the keys, the
// capture state and the overlay menu.
#include "mainwindowfixture.h"

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

namespace {

const QString kConnectMessage = "Please connect Quillon USB Digital Microscope";
const QColor kGreen(0, 255, 0);

bool allEnabled(MainToolBar& bar, bool enabled)
{
    for (PictureButton* button : bar.buttons()) {
        if (button->isEnabled() != enabled) {
            return false;
        }
    }
    return true;
}

TEST_F(MainWindowTest, StartsWithoutMicroscopeWithButtonsDisabledAndTheGreenConnectMessageInTheMiddle)
{
    QFile leftover(paths.videoFolder() + "/test.avi");
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    openWithoutCamera();
    EXPECT_FALSE(QFile::exists(paths.videoFolder() + "/test.avi"));
    EXPECT_FALSE(window->isConnected());
    EXPECT_TRUE(allEnabled(bar(), false));
    EXPECT_EQ(window->captureState(), CaptureState::Idle);
    EXPECT_EQ(video().statusMessage(), kConnectMessage);
    const QImage shot = video().grab().toImage();
    EXPECT_GT(countPixels(shot, QRect(0, 225, 610, 30), kGreen), 50);
    EXPECT_EQ(countPixels(shot, QRect(0, 0, 610, 200), kGreen), 0);
    EXPECT_EQ(countPixels(shot, QRect(0, 280, 610, 200), kGreen), 0);
}

TEST_F(MainWindowTest, PluggingInAndOutFollowsTheMicroscope)
{
    open(fake);  // nothing queued: the start fails
    ASSERT_FALSE(window->isConnected());
    fake.startResults = {CaptureEngine::StartResult::Running};
    emit fake.deviceChanged(DeviceChange::Arrival, true);
    EXPECT_TRUE(window->isConnected());
    EXPECT_TRUE(allEnabled(bar(), true));
    EXPECT_EQ(window->captureState(), CaptureState::Previewing);
    EXPECT_EQ(video().statusMessage(), "");

    // Another arrival while it runs and is present keeps it: a rescan, no restart.
    emit fake.deviceChanged(DeviceChange::Arrival, true);
    EXPECT_EQ(fake.bringUpCalls, 2);
    EXPECT_EQ(fake.rescanCalls, 1);
    // An arrival that names no interface is not looked at.
    emit fake.deviceChanged(DeviceChange::Arrival, false);
    EXPECT_EQ(fake.rescanCalls, 1);

    fake.present = false;
    emit fake.deviceChanged(DeviceChange::RemovalComplete, false);
    EXPECT_FALSE(window->isConnected());
    EXPECT_TRUE(allEnabled(bar(), false));
    EXPECT_EQ(window->captureState(), CaptureState::Idle);
    EXPECT_EQ(video().statusMessage(), kConnectMessage);
    EXPECT_FALSE(fake.isRunning());
}

TEST_F(MainWindowTest, ABurstOfDeviceChangesChecksTheCameraOnceWhenItIsOver)
{
    open(fake);
    fake.startResults = {CaptureEngine::StartResult::Running};
    for (int i = 0; i < 3; ++i) {
        emit fake.deviceChanged(DeviceChange::NodesChanged, false);
        QTest::qWait(300);
    }
    EXPECT_EQ(fake.bringUpCalls, 1);
    QTest::qWait(MainWindow::deviceSettleMs - 300 + 200);
    EXPECT_EQ(fake.bringUpCalls, 2);
    EXPECT_TRUE(window->isConnected());
}

TEST_F(MainWindowTest, AFailedBuildAtStartIsRetriedSoon)
{
    fake.startResults = {CaptureEngine::StartResult::BuildFailed, CaptureEngine::StartResult::Running};
    open(fake);
    EXPECT_FALSE(window->isConnected());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isConnected(); }, 1000));
    EXPECT_EQ(fake.bringUpCalls, 2);
}

TEST_F(MainWindowTest, KeysRunTheirCommandsWhereverTheFocusIs)
{
    const struct {
        const char* name;
        Qt::Key key;
        bool connected;
        bool inScaleBox;
        bool stillRequested;
        QSize resolution;
        QStringList messages;
    } cases[] = {
        {"F2 in preview takes a still", Qt::Key_F2, true, true, true, {1280, 1024}, {}},
        {"F2 without preview warns", Qt::Key_F2, false, false, false, {1280, 1024},
         {"Please return to the preview state"}},
        {"F11 sets 640 x 480", Qt::Key_F11, false, true, false, {640, 480}, {}},
        {"F12 sets 1280 x 1024", Qt::Key_F12, false, false, false, {1280, 1024}, {}},
        {"Enter does nothing", Qt::Key_Return, true, true, false, {1280, 1024}, {}},
        {"Esc does nothing in the normal layout", Qt::Key_Escape, true, true, false, {1280, 1024}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake.startResults = {c.connected ? CaptureEngine::StartResult::Running : CaptureEngine::StartResult::Failed};
        open(fake);
        fake.setResolution(1280, 1024);
        const QImage label = window->clientArea()->grab(MainWindow::resolutionLabelRect).toImage();
        press(c.key, c.inScaleBox ? static_cast<QWidget*>(bar().scaleBox) : nullptr);
        EXPECT_EQ(fake.isStillRequested(), c.stillRequested);
        EXPECT_EQ(fake.resolution(), c.resolution);
        EXPECT_EQ(window->clientArea()->grab(MainWindow::resolutionLabelRect).toImage() != label,
                  c.resolution != QSize(1280, 1024));
        EXPECT_EQ(prompter.texts(), c.messages);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->isFullScreenView());
        window.reset();
        prompter.shown.clear();
        fake.takeStillRequest();
    }
}

TEST_F(MainWindowTest, CaptureStateFollowsThePreviewAndRecordingCommands)
{
    using State = CaptureState;
    enum Step { F3, F4, PreviewOnOff, Unplug, Replug };
    const struct {
        const char* name;
        std::vector<Step> steps;
        State state;
        bool running;
        bool recording;
        bool f2TakesAStill;
    } cases[] = {
        {"F3 records", {F3}, State::Recording, true, true, true},
        {"F4 goes back to the preview", {F3, F4}, State::Previewing, true, false, true},
        {"F4 without a recording does nothing", {F4}, State::Previewing, true, false, true},
        {"F3 twice starts one recording", {F3, F3}, State::Recording, true, true, true},
        {"Preview off stops the camera", {PreviewOnOff}, State::Idle, false, false, false},
        {"F3 with the preview off records nothing", {PreviewOnOff, F3}, State::Idle, false, false, false},
        {"Preview on again", {PreviewOnOff, PreviewOnOff}, State::Previewing, true, false, true},
        {"Preview during a recording ends it", {F3, PreviewOnOff}, State::Previewing, true, false, true},
        // Once lit the Video button stayed lit after the camera went away, and F2 queued
        // stills that nobody took.
        {"unplugging during a recording ends it", {F3, Unplug}, State::Idle, false, false, false},
        {"plugging in again previews", {F3, Unplug, Replug}, State::Previewing, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake.present = true;
        openConnected();
        QSignalSpy changes(window.get(), &MainWindow::captureStateChanged);
        for (const Step step : c.steps) {
            switch (step) {
            case F3: press(Qt::Key_F3); break;
            case F4: press(Qt::Key_F4); break;
            case PreviewOnOff: window->previewOnOff(); break;
            case Unplug:
                fake.present = false;
                emit fake.deviceChanged(DeviceChange::RemovalComplete, false);
                break;
            case Replug:
                fake.present = true;
                fake.startResults = {CaptureEngine::StartResult::Running};
                emit fake.deviceChanged(DeviceChange::Arrival, true);
                break;
            }
        }
        EXPECT_EQ(window->captureState(), c.state);
        if (!changes.isEmpty()) {
            EXPECT_EQ(changes.last().at(0).value<CaptureState>(), c.state);
        }
        EXPECT_EQ(fake.isRunning(), c.running);
        EXPECT_EQ(fake.isRecording(), c.recording);
        press(Qt::Key_F2);
        EXPECT_EQ(fake.takeStillRequest(), c.f2TakesAStill);
        EXPECT_EQ(prompter.texts().size(), c.f2TakesAStill ? 0 : 1);
        window.reset();
        prompter.shown.clear();
        fake.stopRecording();
    }
}

// Walks the overlay menu that opens next with real keys: DOWNS arrow presses, then Enter.
void chooseInNextOverlayMenu(int downs)
{
    QTimer::singleShot(50, [downs] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (int i = 0; i < downs; ++i) {
            QTest::keyClick(menu, Qt::Key_Down);
        }
        QTest::keyClick(menu, Qt::Key_Return);
    });
}

TEST_F(MainWindowTest, OverlayMenuOfTheVideoWindowTogglesOnlyWhileConnected)
{
    openConnected();
    chooseInNextOverlayMenu(3);
    QTest::mouseClick(&video(), Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_TRUE(fake.overlays().isOn(Overlay::Circles));
    EXPECT_FALSE(fake.overlays().isOn(Overlay::CrossLine));
    item(MainCommand::Circle)->trigger();
    item(MainCommand::CrossLine)->trigger();
    EXPECT_FALSE(fake.overlays().isOn(Overlay::Circles));
    EXPECT_TRUE(fake.overlays().isOn(Overlay::CrossLine));

    fake.present = false;
    emit fake.deviceChanged(DeviceChange::RemovalComplete, false);
    chooseInNextOverlayMenu(1);
    QTest::mouseClick(&video(), Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    item(MainCommand::Time)->trigger();
    EXPECT_TRUE(fake.overlays().isOn(Overlay::CrossLine));
    EXPECT_FALSE(fake.overlays().isOn(Overlay::TimeStamp));
}

TEST_F(MainWindowTest, ClosingTakesThePipelineDown)
{
    openConnected();
    window->close();
    EXPECT_FALSE(fake.isRunning());
}

}  // namespace
