// The main window with and without a microscope: start-up, the connect check, the keys and
// commands that depend on the camera, the overlay toggles.
#include "mainwindowfixture.h"

#include "ui/latchbitmapbutton.h"
#include "ui/menuxp.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
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

TEST_F(MainWindowTest, StartsWithoutMicroscopeWithButtonsDisabledAndTheGreenConnectMessage)
{
    openWithoutCamera();
    EXPECT_FALSE(window->isConnected());
    EXPECT_TRUE(allEnabled(bar(), false));
    EXPECT_FALSE(bar().preview->isLatched());
    EXPECT_EQ(video().statusMessage(), kConnectMessage);

    const QImage shot = video().grab().toImage();
    ASSERT_EQ(shot.size(), QSize(610, 480));
    // The message is centred: green in the middle rows, black above and below.
    EXPECT_GT(countPixels(shot, QRect(0, 225, 610, 30), kGreen), 50);
    EXPECT_EQ(countPixels(shot, QRect(0, 0, 610, 200), kGreen), 0);
    EXPECT_EQ(countPixels(shot, QRect(0, 280, 610, 200), kGreen), 0);
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(600, 470), QColor(Qt::black));
}

TEST_F(MainWindowTest, StartUpRemovesTheLeftoverCompressorTestClip)
{
    QFile leftover(paths.videoFolder() + "/test.avi");
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    openWithoutCamera();
    EXPECT_FALSE(QFile::exists(paths.videoFolder() + "/test.avi"));
}

TEST_F(MainWindowTest, ARunningMicroscopeEnablesTheButtonsAndLatchesPreview)
{
    openConnected();
    EXPECT_TRUE(window->isConnected());
    EXPECT_TRUE(allEnabled(bar(), true));
    EXPECT_TRUE(bar().preview->isLatched());
    EXPECT_EQ(video().statusMessage(), "");
    EXPECT_EQ(countPixels(video().grab().toImage(), video().rect(), kGreen), 0);
}

TEST_F(MainWindowTest, PluggingInAndOutFollowsTheMicroscope)
{
    open(fake);  // nothing queued: the start fails
    ASSERT_FALSE(window->isConnected());
    EXPECT_EQ(fake.bringUpCalls, 1);

    fake.startResults = {CaptureEngine::StartResult::Running};
    emit fake.deviceChanged(DeviceChange::Arrival, true);
    EXPECT_TRUE(window->isConnected());
    EXPECT_TRUE(allEnabled(bar(), true));
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
    EXPECT_FALSE(bar().preview->isLatched());
    EXPECT_EQ(video().statusMessage(), kConnectMessage);
    EXPECT_FALSE(fake.isRunning());
}

TEST_F(MainWindowTest, ABurstOfDeviceChangesChecksTheCameraOnceWhenItIsOver)
{
    open(fake);
    ASSERT_EQ(fake.bringUpCalls, 1);
    fake.startResults = {CaptureEngine::StartResult::Running};
    for (int i = 0; i < 3; ++i) {
        emit fake.deviceChanged(DeviceChange::NodesChanged, false);
        QTest::qWait(300);
    }
    // 300 ms after the last one nothing has happened yet.
    EXPECT_EQ(fake.bringUpCalls, 1);
    QTest::qWait(MainWindow::deviceSettleMs - 300 + 200);
    EXPECT_EQ(fake.bringUpCalls, 2);
    EXPECT_TRUE(window->isConnected());
    QTest::qWait(MainWindow::deviceSettleMs + 100);
    EXPECT_EQ(fake.bringUpCalls, 2);
}

TEST_F(MainWindowTest, AFailedBuildAtStartIsRetriedSoon)
{
    fake.startResults = {CaptureEngine::StartResult::BuildFailed, CaptureEngine::StartResult::Running};
    open(fake);
    EXPECT_FALSE(window->isConnected());
    EXPECT_EQ(video().statusMessage(), kConnectMessage);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isConnected(); }, 1000));
    EXPECT_EQ(fake.bringUpCalls, 2);
}

TEST_F(MainWindowTest, TakePictureAndTimeLapseWithoutPreviewWarnAndRequestNothing)
{
    openWithoutCamera();
    press(Qt::Key_F2);
    item(MainCommand::TakePicture)->trigger();
    item(MainCommand::TimeLapse)->trigger();
    EXPECT_EQ(prompter.texts(), QStringList(3, "Please return to the preview state"));
    EXPECT_EQ(prompter.shown.at(0).icon, Prompter::Icon::Warning);
    EXPECT_FALSE(noCamera.isStillRequested());
}

TEST_F(MainWindowTest, TakePictureInPreviewRequestsAStill)
{
    openConnected();
    press(Qt::Key_F2, bar().scaleBox);
    EXPECT_TRUE(fake.isStillRequested());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MainWindowTest, RecordingKeysDoNothingWithoutACamera)
{
    openWithoutCamera();
    press(Qt::Key_F3);
    press(Qt::Key_F4);
    EXPECT_FALSE(noCamera.isRecording());
    EXPECT_FALSE(bar().video->isLatched());
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, F3StartsOnlyWhenIdleAndF4StopsOnlyWhileRecording)
{
    openConnected();
    press(Qt::Key_F4);
    EXPECT_EQ(fake.stopRecordingCalls, 0);

    press(Qt::Key_F3);
    ASSERT_TRUE(fake.isRecording());
    EXPECT_TRUE(bar().video->isLatched());
    EXPECT_FALSE(bar().preview->isLatched());
    press(Qt::Key_F3);
    EXPECT_EQ(fake.quickRecordingCalls, 1);

    press(Qt::Key_F4);
    EXPECT_FALSE(fake.isRecording());
    EXPECT_EQ(fake.stopRecordingCalls, 1);
    EXPECT_FALSE(bar().video->isLatched());
    EXPECT_TRUE(bar().preview->isLatched());
    press(Qt::Key_F4);
    EXPECT_EQ(fake.stopRecordingCalls, 1);
}

TEST_F(MainWindowTest, EnterAndEscNeverCloseTheWindow)
{
    openWithoutCamera();
    bar().scaleBox->setFocus();
    for (QWidget* target : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(bar().scaleBox)}) {
        press(Qt::Key_Return, target);
        press(Qt::Key_Enter, target);
        press(Qt::Key_Escape, target);
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isFullScreenView());
    EXPECT_EQ(window->size(), window->sizeHint());
}

TEST_F(MainWindowTest, ResolutionKeysChangeTheResolutionAndItsLabel)
{
    openWithoutCamera();
    const QRect label = MainWindow::resolutionLabelRect;
    const QImage at1280 = window->clientArea()->grab(label).toImage();
    press(Qt::Key_F11);
    EXPECT_EQ(noCamera.resolution(), QSize(640, 480));
    EXPECT_EQ(noCamera.frameRateClass(), 14);
    const QImage at640 = window->clientArea()->grab(label).toImage();
    EXPECT_NE(at640, at1280);
    item(MainCommand::Resolution1280)->trigger();
    EXPECT_EQ(noCamera.resolution(), QSize(1280, 1024));
    EXPECT_EQ(window->clientArea()->grab(label).toImage(), at1280);
    EXPECT_EQ(MainWindow::resolutionText(QSize(640, 480)), "640*480");
}

TEST_F(MainWindowTest, OverlayTogglesAreIgnoredWhileDisconnected)
{
    openWithoutCamera();
    for (MainCommand command : {MainCommand::CrossLine, MainCommand::Scale, MainCommand::Circle, MainCommand::Time}) {
        item(command)->trigger();
    }
    for (Overlay overlay : {Overlay::CrossLine, Overlay::Scale, Overlay::Circles, Overlay::TimeStamp}) {
        EXPECT_FALSE(noCamera.overlays().isOn(overlay));
    }
}

// Chooses item INDEX of the owner-drawn menu that opens next.
void chooseInNextOverlayMenu(int index)
{
    QTimer::singleShot(50, [index] {
        auto* menu = qobject_cast<MenuXP*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* candidate = qobject_cast<MenuXP*>(widget); candidate != nullptr && candidate->isVisible()) {
                    menu = candidate;
                }
            }
        }
        ASSERT_NE(menu, nullptr);
        const QPoint centre = menu->itemRect(index).center();
        QTest::mouseMove(menu, centre);
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, centre);
    });
}

TEST_F(MainWindowTest, OverlayMenuOfTheVideoWindowTogglesWhileConnected)
{
    openConnected();
    chooseInNextOverlayMenu(2);
    QTest::mouseClick(&video(), Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_TRUE(fake.overlays().isOn(Overlay::Circles));
    EXPECT_FALSE(fake.overlays().isOn(Overlay::CrossLine));

    item(MainCommand::Circle)->trigger();
    item(MainCommand::CrossLine)->trigger();
    EXPECT_FALSE(fake.overlays().isOn(Overlay::Circles));
    EXPECT_TRUE(fake.overlays().isOn(Overlay::CrossLine));
}

TEST_F(MainWindowTest, OverlayMenuChoiceIsIgnoredWhileDisconnected)
{
    openWithoutCamera();
    chooseInNextOverlayMenu(0);
    QTest::mouseClick(&video(), Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_FALSE(noCamera.overlays().isOn(Overlay::CrossLine));
}

TEST_F(MainWindowTest, HiddenPreviewCommandStopsAndRestartsThePreview)
{
    openConnected();
    window->previewOnOff();
    EXPECT_FALSE(bar().preview->isLatched());
    EXPECT_FALSE(fake.isRunning());
    press(Qt::Key_F3);  // not running: no recording starts
    EXPECT_FALSE(fake.isRecording());

    window->previewOnOff();
    EXPECT_TRUE(bar().preview->isLatched());
    EXPECT_TRUE(fake.isRunning());
    press(Qt::Key_F3);
    ASSERT_TRUE(fake.isRecording());
    // During a recording it ends the recording and goes back to the preview.
    window->previewOnOff();
    EXPECT_FALSE(fake.isRecording());
    EXPECT_FALSE(bar().video->isLatched());
    EXPECT_TRUE(bar().preview->isLatched());
}

TEST_F(MainWindowTest, ClosingTakesThePipelineDown)
{
    openConnected();
    ASSERT_TRUE(fake.isRunning());
    window->close();
    EXPECT_FALSE(fake.isRunning());
}

}  // namespace
