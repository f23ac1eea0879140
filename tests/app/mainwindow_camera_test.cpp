// The main window's camera: the connect check, the keys, the capture state, the overlay menu.
#include "mainwindowfixture.h"

#include <algorithm>

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

namespace {

const QString kConnectMessage = "Please connect Quillon USB Digital Microscope";

bool allEnabled(MainToolBar& bar, bool enabled)
{
    const auto buttons = bar.buttons();
    return std::all_of(buttons.begin(), buttons.end(), [&](auto* button) { return button->isEnabled() == enabled; });
}

TEST_F(MainWindowTest, ConnectCheckFollowsTheMicroscopeInAndOut)
{
    QFile leftover(paths.videoFolder() + "/test.avi");
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    fake.startResults = {CaptureEngine::StartResult::BuildFailed, CaptureEngine::StartResult::Running};
    open(fake);
    EXPECT_FALSE(QFile::exists(paths.videoFolder() + "/test.avi"));
    EXPECT_TRUE(allEnabled(bar(), false));
    EXPECT_EQ(video().statusMessage(), kConnectMessage);
    // A pipeline that could not be built at start is tried again soon.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isConnected(); }, 1000));
    EXPECT_TRUE(allEnabled(bar(), true));
    EXPECT_EQ(video().statusMessage(), "");

    // Another arrival while it runs and is present keeps it: a rescan, no restart. An
    // arrival that names no interface is not looked at.
    emit fake.deviceChanged(DeviceChange::Arrival, true);
    emit fake.deviceChanged(DeviceChange::Arrival, false);
    EXPECT_EQ(fake.bringUpCalls, 2);
    EXPECT_EQ(fake.rescanCalls, 1);
    // A burst of node changes is checked once, when it is over.
    for (int i = 0; i < 3; ++i) {
        emit fake.deviceChanged(DeviceChange::NodesChanged, false);
        QTest::qWait(300);
    }
    EXPECT_EQ(fake.rescanCalls, 1);
    QTest::qWait(MainWindow::kDeviceSettleMs + 300);
    EXPECT_EQ(fake.rescanCalls, 2);

    fake.present = false;
    emit fake.deviceChanged(DeviceChange::RemovalComplete, false);
    EXPECT_TRUE(allEnabled(bar(), false));
    EXPECT_EQ(video().statusMessage(), kConnectMessage);
    EXPECT_FALSE(fake.isRunning());
}

TEST_F(MainWindowTest, KeysRunTheirCommandsWhereverTheFocusIs)
{
    const struct {
        const char* name;
        Qt::Key key;
        bool connected;
        bool stillRequested;
        QSize resolution;
        QStringList messages;
    } cases[] = {
        {"F2 in preview takes a still", Qt::Key_F2, true, true, {1280, 1024}, {}},
        {"F2 without preview warns", Qt::Key_F2, false, false, {1280, 1024}, {"Please return to the preview state"}},
        {"F11 sets 640 x 480", Qt::Key_F11, false, false, {640, 480}, {}},
        {"F12 sets 1280 x 1024", Qt::Key_F12, true, false, {1280, 1024}, {}},
        {"Enter does nothing", Qt::Key_Return, true, false, {1280, 1024}, {}},
        {"Esc does nothing in the normal layout", Qt::Key_Escape, true, false, {1280, 1024}, {}},
    };
    for (const auto& c : cases) {
        for (const bool inScaleBox : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (inScaleBox ? " in the scale box" : ""));
            fake.startResults = {c.connected ? CaptureEngine::StartResult::Running : CaptureEngine::StartResult::Failed};
            open(fake);
            fake.setResolution(c.key == Qt::Key_F12 ? 640 : 1280, c.key == Qt::Key_F12 ? 480 : 1024);
            press(c.key, inScaleBox ? static_cast<QWidget*>(bar().scaleBox) : nullptr);
            EXPECT_EQ(fake.takeStillRequest(), c.stillRequested);
            EXPECT_EQ(fake.resolution(), c.resolution);
            EXPECT_EQ(prompter.texts(), c.messages);
            EXPECT_TRUE(window->isVisible());
            EXPECT_FALSE(window->isFullScreenView());
            window.reset();
            prompter.shown.clear();
        }
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
        {"Preview off stops the camera", {PreviewOnOff}, State::Idle, false, false, false},
        {"F3 with the preview off records nothing", {PreviewOnOff, F3}, State::Idle, false, false, false},
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
        EXPECT_EQ(changes.isEmpty() ? State::Previewing : changes.last().at(0).value<State>(), c.state);
        EXPECT_EQ(bar().preview->isLatched(), c.state == State::Previewing);
        EXPECT_EQ(bar().video->isLatched(), c.state == State::Recording);
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
    window->close();
    EXPECT_FALSE(fake.isRunning());
}

}  // namespace
