// The main window's camera: the connect check, the keys, the capture state, the overlay menu.
#include "mainwindowfixture.h"

#include "support/testfiles.h"

#include <algorithm>

#include <QFile>
#include <QLineEdit>
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
    ASSERT_TRUE(TestFiles::writeFile(paths.videoFolder() + "/test.avi", QByteArray("RIFF")));
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

    unplug();
    EXPECT_TRUE(allEnabled(bar(), false));
    EXPECT_EQ(video().statusMessage(), kConnectMessage);
    EXPECT_FALSE(fake.isRunning());
}

TEST_F(MainWindowTest, KeysRunTheirCommandsWhereverTheFocusIs)
{
    const struct {
        const char* name;
        Qt::Key key;
        bool connected, stillRequested;
        QSize before, after;
    } cases[] = {
        {"F2 in preview takes a still", Qt::Key_F2, true, true, {1280, 1024}, {1280, 1024}},
        {"F11 sets 640 x 480, with or without a camera", Qt::Key_F11, false, false, {1280, 1024}, {640, 480}},
        {"F12 sets 1280 x 1024", Qt::Key_F12, true, false, {640, 480}, {1280, 1024}},
        {"Enter does nothing", Qt::Key_Return, true, false, {1280, 1024}, {1280, 1024}},
        {"Esc does nothing in the normal layout", Qt::Key_Escape, true, false, {1280, 1024}, {1280, 1024}},
    };
    for (const auto& c : cases) {
        for (const bool inScaleBox : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (inScaleBox ? " in the scale box" : ""));
            fake.startResults = {c.connected ? CaptureEngine::StartResult::Running : CaptureEngine::StartResult::Failed};
            open(fake);
            fake.setResolution(c.before.width(), c.before.height());
            press(c.key, inScaleBox ? static_cast<QWidget*>(bar().scaleBox) : nullptr);
            EXPECT_EQ(fake.takeStillRequest(), c.stillRequested);
            EXPECT_EQ(fake.resolution(), c.after);
            EXPECT_EQ(prompter.texts(), QStringList());
            EXPECT_TRUE(window->isVisible());
            EXPECT_FALSE(window->isFullScreenView());
        }
    }
}

// The camera runs unless Idle, records only while Recording, and F2 takes a still unless Idle.
TEST_F(MainWindowTest, CaptureStateFollowsThePreviewAndRecordingCommands)
{
    using State = CaptureState;
    enum Step { F3, F4, PreviewOnOff, Unplug, Replug };
    const struct {
        const char* name;
        std::vector<Step> steps;
        State state;
    } cases[] = {
        {"F3 records", {F3}, State::Recording},
        {"F4 goes back to the preview", {F3, F4}, State::Previewing},
        {"F4 without a recording does nothing", {F4}, State::Previewing},
        {"Preview off stops the camera", {PreviewOnOff}, State::Idle},
        {"F3 with the preview off records nothing", {PreviewOnOff, F3}, State::Idle},
        {"Preview during a recording ends it", {F3, PreviewOnOff}, State::Previewing},
        // Once lit the Video button stayed lit after the camera went away, and F2 queued
        // stills that nobody took.
        {"unplugging during a recording ends it", {F3, Unplug}, State::Idle},
        {"plugging in again previews", {F3, Unplug, Replug}, State::Previewing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        openConnected();
        QSignalSpy changes(window.get(), &MainWindow::captureStateChanged);
        for (const Step step : c.steps) {
            switch (step) {
            case F3: press(Qt::Key_F3); break;
            case F4: press(Qt::Key_F4); break;
            case PreviewOnOff: window->previewOnOff(); break;
            case Unplug: unplug(); break;
            case Replug: replug(); break;
            }
        }
        EXPECT_EQ(window->captureState(), c.state);
        EXPECT_EQ(changes.isEmpty() ? State::Previewing : changes.last().at(0).value<State>(), c.state);
        EXPECT_EQ(bar().preview->isLatched(), c.state == State::Previewing);
        EXPECT_EQ(bar().video->isLatched(), c.state == State::Recording);
        EXPECT_EQ(fake.isRunning(), c.state != State::Idle);
        EXPECT_EQ(fake.isRecording(), c.state == State::Recording);
        press(Qt::Key_F2);
        EXPECT_EQ(fake.takeStillRequest(), c.state != State::Idle);
        EXPECT_EQ(prompter.texts(),
                  c.state == State::Idle ? QStringList({"Please return to the preview state"}) : QStringList());
        prompter.shown.clear();
        fake.stopRecording();
        fake.present = true;
    }
}

TEST_F(MainWindowTest, OverlayMenuOfTheVideoWindowTogglesOnlyWhileConnected)
{
    openConnected();
    // The menu opens on the right click; three arrow presses and Enter choose Circle.
    QTimer::singleShot(50, [] {
        QWidget* menu = QApplication::activePopupWidget();
        ASSERT_NE(menu, nullptr);
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) {
            QTest::keyClick(menu, key);
        }
    });
    QTest::mouseClick(&video(), Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_TRUE(fake.overlays().isOn(Overlay::Circles));
    item(MainCommand::Circle)->trigger();
    item(MainCommand::CrossLine)->trigger();
    EXPECT_FALSE(fake.overlays().isOn(Overlay::Circles));
    EXPECT_TRUE(fake.overlays().isOn(Overlay::CrossLine));

    unplug();
    item(MainCommand::Time)->trigger();
    EXPECT_FALSE(fake.overlays().isOn(Overlay::TimeStamp));
    window->close();
    EXPECT_FALSE(fake.isRunning());
}

}  // namespace
