// The main window: the connect check, the keys, the capture state, the overlay menu, the
// full-screen view of the live picture and the gallery.
#include "mainwindowfixture.h"

#include "photomeasure/photomeasuredialog.h"
#include "support/modalrunner.h"
#include "support/testfiles.h"

#include <algorithm>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
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
        EXPECT_EQ(fake.isRunning(), c.state != State::Idle);
        EXPECT_EQ(fake.isRecording(), c.state == State::Recording);
        EXPECT_EQ(video().statusMessage(), c.steps.back() == Unplug ? kConnectMessage : QString());
        press(Qt::Key_F2);
        EXPECT_EQ(fake.takeStillRequest(), c.state != State::Idle);
        EXPECT_EQ(prompter.texts(),
                  c.state == State::Idle ? QStringList({"Please return to the preview state"}) : QStringList());
        prompter.shown.clear();
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
    EXPECT_FALSE(fake.overlays().isOn(Overlay::Circles));

    unplug();
    item(MainCommand::Time)->trigger();
    EXPECT_FALSE(fake.overlays().isOn(Overlay::TimeStamp));
}

TEST_F(MainWindowTest, MaximiseOrDoubleClickEntersFullScreenKeepingOverlaysAndKeys)
{
    // Every control of the normal layout shown, or none but the video, which fills the screen.
    const auto expectLayout = [this](bool fullScreen) {
        EXPECT_EQ(window->isFullScreenView(), fullScreen);
        EXPECT_EQ(video().geometry() == window->screen()->geometry(), fullScreen);
        for (QWidget* control : std::initializer_list<QWidget*>{window->menuBar(), &gallery(), bar().scaleBox,
                                                                bar().camera, bar().video, bar().email}) {
            EXPECT_EQ(control->isVisible(), !fullScreen) << control->metaObject()->className();
        }
    };
    openConnected();
    item(MainCommand::Scale)->trigger();
    const QSize normal = window->size();
    window->setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isFullScreenView(); }, 2000));
    expectLayout(true);
    EXPECT_EQ(fake.livePicture().size(), window->screen()->geometry().size());
    EXPECT_EQ(video().escHint(), "ESC Restore");

    press(Qt::Key_F11);
    EXPECT_EQ(fake.resolution(), QSize(640, 480));
    press(Qt::Key_Return);
    EXPECT_TRUE(window->isFullScreenView());
    press(Qt::Key_Escape);
    QCoreApplication::processEvents();
    expectLayout(false);
    EXPECT_EQ(window->size(), normal);
    EXPECT_EQ(fake.livePicture().size(), video().size());
    EXPECT_TRUE(fake.overlays().isOn(Overlay::Scale));

    for (const bool fullScreen : {true, false}) {
        QTest::mouseClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
        QTest::mouseDClick(&video(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
        QCoreApplication::processEvents();
        expectLayout(fullScreen);
    }
    EXPECT_EQ(window->size(), normal);
}

TEST_F(MainWindowTest, DoubleClickOpensThePictureForMeasuringAndACalibrationFillsTheScaleBox)
{
    addPictures(1);
    open(noCamera);
    bool opened = false;
    whenModal<PhotoMeasureDialog>([&](PhotoMeasureDialog& dialog) {
        opened = true;
        session.setWorkingScale(1.0);
        session.setActualDistance(1.0);
        EXPECT_TRUE(session.calibrate(123.456, 0.1, 1.0));
        emit dialog.calibrationChanged();
        prompter.answers.push_back(Prompter::Answer::Yes);
        dialog.close();
    });
    QTest::mouseClick(&gallery(), Qt::LeftButton, Qt::NoModifier, cellCentre(0));
    QTest::mouseDClick(&gallery(), Qt::LeftButton, Qt::NoModifier, cellCentre(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened && QApplication::activeModalWidget() == nullptr; }, 5000));
    EXPECT_EQ(bar().scaleBox->text(), "123.5");
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to close?"}));
}

TEST_F(MainWindowTest, RightClickOnAnItemShowsTheMenuWhoseDeleteRemovesTheFile)
{
    const QString third = addPictures(3);
    open(noCamera);
    QTest::mouseClick(&gallery(), Qt::RightButton, Qt::NoModifier, cellCentre(2));
    QMenu* menu = window->menus().galleryMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
    prompter.answers.push_back(Prompter::Answer::Yes);
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) {
        QTest::keyClick(menu, key);
    }
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to delete?"}));
    EXPECT_FALSE(QFile::exists(third));
    EXPECT_EQ(gallery().items(GalleryTab::Picture).size(), 2u);
}

}  // namespace
