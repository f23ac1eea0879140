#pragma once

#include "app/mainwindow.h"
#include "capture/captureengine.h"
#include "capture/videowindow.h"
#include "measure/measuresession.h"
#include "media/mediapaths.h"
#include "media/thumbnailgallery.h"
#include "texts/localtext.h"
#include "platform/mailclient.h"
#include "platform/soundplayer.h"
#include "support/fakecamera.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "ui/latchbitmapbutton.h"
#include "photomeasure/calibrationstore.h"
#include "photomeasure/photomeasurestate.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

/// A mail system that is not there: the E-Mail command stops at its first check.
class NoMailClient final : public MailClient {
public:
    Availability availability() const override { return Availability::Missing; }
    void send(const QString&, QObject*, Done done) override { done(Result::Failed); }
};

/// Sounds that are only counted.
class CountingSounds final : public SoundPlayer {
public:
    std::vector<Sound> played;
    void play(Sound sound) override { played.push_back(sound); }
};

/// A main window over a private documents folder, a scripted prompter and the engine over a
/// device list the test fills.
class MainWindowTest : public testing::Test {
protected:
    QTemporaryDir documents;
    MediaPaths paths{documents.path()};
    MeasureSession session;
    PhotoMeasureState photoMeasure;
    LocalText text;
    ScriptedPrompter prompter;
    FakeDevices devices;
    CaptureEngine engine{{&devices}, documents.filePath("config/CapConfig.dat").toStdString()};
    NoMailClient mail;
    CountingSounds sounds;
    CalibrationStore calibrations{CalibrationStore::pathIn(documents.filePath("config"))};
    std::unique_ptr<MainWindow> window;

    void SetUp() override
    {
        ASSERT_TRUE(documents.isValid());
        paths.createFolders();
    }

    void open(CaptureEngine* other = nullptr)
    {
        window.reset();  // before the next one brings the engine up
        window = std::make_unique<MainWindow>(
            MainContext{session, photoMeasure, text, prompter, paths, other ? *other : engine, mail, sounds,
                                    calibrations});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void openConnected()
    {
        devices.devices = {FakeDevices::device("video0")};
        open();
    }

    void unplug()
    {
        devices.present = false;
        devices.devices.clear();
        window->deviceChangeNotice(DeviceChange::RemovalComplete, false);
    }
    void plugIn()
    {
        devices.present = true;
        devices.devices = {FakeDevices::device("video0")};
        window->deviceChangeNotice(DeviceChange::Arrival, true);
    }
    /// Whether a still was asked for since the last call.
    bool takeStillRequest()
    {
        const bool requested = engine.isStillRequested();
        engine.clearStillRequest();
        return requested;
    }

    MainToolBar& bar() { return window->toolBar(); }
    VideoWindow& video() { return *window->videoWindow(); }
    ThumbnailGallery& gallery() { return *window->gallery(); }
    QAction* item(MainCommand command) { return window->menus().action(command); }

    void press(Qt::Key key, QWidget* target = nullptr) { QTest::keyClick(target ? target : window.get(), key); }
    /// Writes pictures N0001 up to N<COUNT> into the pictures folder; returns the last one's path.
    QString addPictures(int count)
    {
        QString path;
        for (int i = 1; i <= count; ++i) {
            path = paths.pictureFolder() + QString("/Still_2009-03-05_101530_N%1.bmp").arg(i, 4, 10, QChar('0'));
            EXPECT_TRUE(TestFiles::writeBmp(path, 64, 48, QColor(40 * i, 90, 160)));
        }
        return path;
    }
    QPoint cellCentre(int cell)
    {
        QCoreApplication::processEvents();
        return gallery().cells().at(cell).center();
    }
};
