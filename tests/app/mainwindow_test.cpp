// The main window: the connect check, the keys, the capture state, the overlay menu, the
// full-screen view of the live picture and the gallery.
#include "mainwindowfixture.h"

#include "app/keptscalemenu.h"
#include "photomeasure/keptcalibrationsdialog.h"
#include "photomeasure/photomeasuredialog.h"
#include "support/modalrunner.h"
#include "support/testfiles.h"

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
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
    devices.devices = {FakeDevices::device("video0")};
    devices.unreadableFormats = 1;
    open();
    EXPECT_FALSE(QFile::exists(paths.videoFolder() + "/test.avi"));
    EXPECT_TRUE(allEnabled(bar(), false));
    EXPECT_EQ(video().statusMessage(), kConnectMessage);
    // A camera whose format could not be applied at start is tried again soon.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isConnected(); }, 1000));
    EXPECT_TRUE(allEnabled(bar(), true));
    EXPECT_EQ(video().statusMessage(), "");
    EXPECT_TRUE(bar().preview->isLatched());

    // Another arrival while it runs and is present keeps it: a rescan, no restart. An
    // arrival that names no interface is not looked at.
    const int listed = devices.listCalls;
    window->deviceChangeNotice(DeviceChange::Arrival, true);
    window->deviceChangeNotice(DeviceChange::Arrival, false);
    EXPECT_EQ(devices.camerasMade, 2);
    EXPECT_EQ(devices.listCalls, listed + 1);
    // A burst of node changes is checked once, when it is over.
    for (int i = 0; i < 3; ++i) {
        window->deviceChangeNotice(DeviceChange::NodesChanged, false);
        QTest::qWait(300);
    }
    EXPECT_EQ(devices.listCalls, listed + 1);
    QTest::qWait(MainWindow::kDeviceSettleMs + 300);
    EXPECT_EQ(devices.listCalls, listed + 2);
    EXPECT_EQ(devices.camerasMade, 2);
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
            devices.devices.clear();
            if (c.connected) {
                devices.devices.push_back(FakeDevices::device("video0"));
            }
            open();
            engine.setResolution(c.before.width(), c.before.height());
            press(c.key, inScaleBox ? static_cast<QWidget*>(bar().scaleBox) : nullptr);
            EXPECT_EQ(takeStillRequest(), c.stillRequested);
            EXPECT_EQ(engine.resolution(), c.after);
            EXPECT_EQ(prompter.texts(), QStringList());
            EXPECT_TRUE(window->isVisible());
        }
    }
}

// The buttons show the engine's state; F2 wants a running camera.
TEST_F(MainWindowTest, ButtonsAndMessagesFollowTheCameraState)
{
    using State = CaptureState;
    enum Step { PreviewOnOff, Unplug, PlugIn, StreamLost, NoPermission };
    const struct {
        const char* name;
        std::vector<Step> steps;
        State state;
        QString message;
    } cases[] = {
        {"Preview off stops the camera", {PreviewOnOff}, State::Ready, ""},
        {"Preview on again", {PreviewOnOff, PreviewOnOff}, State::Previewing, ""},
        {"unplugging shows the connect message", {Unplug}, State::NoCamera, kConnectMessage},
        {"plugging in again previews without a click", {Unplug, PlugIn}, State::Previewing, ""},
        {"plugging in with the preview off previews", {PreviewOnOff, Unplug, PlugIn}, State::Previewing, ""},
        // A stream that ended on its own was kept as running while the device was still listed.
        {"a lost stream of an unplugged camera", {StreamLost}, State::NoCamera, kConnectMessage},
        {"a node this user may not open says so", {Unplug, NoPermission}, State::NoCamera,
         "No access to the microscope: join the group video"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        devices.prototype.openResult = CameraSource::OpenResult::Opened;
        openConnected();
        for (const Step step : c.steps) {
            switch (step) {
            case PreviewOnOff: window->previewOnOff(); break;
            case Unplug: unplug(); break;
            case PlugIn: plugIn(); break;
            case StreamLost:
                devices.devices.clear();
                devices.lastCamera->lost();
                QCoreApplication::processEvents();
                break;
            case NoPermission:
                devices.prototype.openResult = CameraSource::OpenResult::PermissionDenied;
                plugIn();
                break;
            }
        }
        EXPECT_EQ(engine.state(), c.state);
        EXPECT_EQ(bar().preview->isLatched(), c.state == State::Previewing);
        EXPECT_FALSE(bar().video->isLatched());
        EXPECT_EQ(allEnabled(bar(), true), c.state != State::NoCamera);
        EXPECT_EQ(video().statusMessage(), c.message);
        press(Qt::Key_F2);
        const bool running = c.state == State::Previewing;
        EXPECT_EQ(takeStillRequest(), running);
        EXPECT_EQ(prompter.texts(), running ? QStringList() : QStringList({"Please return to the preview state"}));
        prompter.shown.clear();
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
    EXPECT_TRUE(engine.overlays().isOn(Overlay::Circles));
    item(MainCommand::Circle)->trigger();
    EXPECT_FALSE(engine.overlays().isOn(Overlay::Circles));

    unplug();
    item(MainCommand::Time)->trigger();
    EXPECT_FALSE(engine.overlays().isOn(Overlay::TimeStamp));
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
    EXPECT_EQ(engine.livePicture().size(), window->screen()->geometry().size());
    EXPECT_EQ(video().escHint(), "ESC Restore");

    press(Qt::Key_F11);
    EXPECT_EQ(engine.resolution(), QSize(640, 480));
    press(Qt::Key_Return);
    EXPECT_TRUE(window->isFullScreenView());
    press(Qt::Key_Escape);
    QCoreApplication::processEvents();
    expectLayout(false);
    EXPECT_EQ(window->size(), normal);
    EXPECT_EQ(engine.livePicture().size(), video().size());
    EXPECT_TRUE(engine.overlays().isOn(Overlay::Scale));

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
    open();
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
    open();
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

TEST_F(MainWindowTest, ScaleBoxTakesAKeptCalibrationAndTheListRenamesAndDeletesThem)
{
    // An unreadable list is told about once, and set aside by the first change.
    ASSERT_TRUE(QDir().mkpath(documents.filePath("config")));
    ASSERT_TRUE(TestFiles::writeFile(calibrations.path(), "{"));
    calibrations.load();
    const KeptCalibration large{"200X, 1280 × 1024", 200, 1280, 1024, 197.46, 0.15, QDate(2026, 12, 1)};
    const KeptCalibration small{"400X, 640 × 480", 400, 640, 480, 98.04, 0.15, QDate(2026, 12, 2)};
    open();
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.startsWith("The kept calibrations could not be read (" + calibrations.path()));
    ASSERT_EQ(calibrations.keep(large), std::nullopt);
    ASSERT_EQ(calibrations.keep(small), std::nullopt);

    QMenu* menu = window->keptScales().menu();
    window->keptScales().fill();
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QString("-") : action->text());
    }
    EXPECT_EQ(texts, QStringList({QString::fromUtf8("200X, 1280 × 1024\t197.5"), QString::fromUtf8("400X, 640 × 480\t98.0"),
                                  "-", QString::fromUtf8("Kept calibrations…")}));
    menu->actions().at(1)->trigger();
    EXPECT_EQ(bar().scaleBox->text(), "98.0");
    EXPECT_EQ(window->calibration().current(), (Calibration{98.04, 640, 480}));
    EXPECT_EQ(session.calibrationValue(), 98.04);

    // From the Setting menu: the first renamed in place, the second deleted.
    bool listed = false;
    whenModal<KeptCalibrationsDialog>([&](KeptCalibrationsDialog& dialog) {
        listed = true;
        dialog.table()->selectRow(0);
        QTest::mouseClick(dialog.renameButton(), Qt::LeftButton);
        auto* editor = dialog.table()->findChild<QLineEdit*>();
        ASSERT_TRUE(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "Slide A");
        QTest::keyClick(editor, Qt::Key_Return);
        dialog.table()->selectRow(1);
        prompter.answers.push_back(Prompter::Answer::Yes);
        QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.table()->rowCount(), 1);
        dialog.reject();
    });
    item(MainCommand::KeptCalibrations)->trigger();
    EXPECT_TRUE(listed);
    CalibrationStore reread(calibrations.path());
    reread.load();
    KeptCalibration renamed = large;
    renamed.name = "Slide A";
    EXPECT_EQ(reread.entries(), std::vector{renamed});
    EXPECT_EQ(prompter.texts().mid(1), QStringList({"Are you sure to delete?"}));
}

}  // namespace
