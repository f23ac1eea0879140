#pragma once

#include "app/mainwindow.h"
#include "capture/nocameraengine.h"
#include "capture/videowindow.h"
#include "measure/measuresession.h"
#include "media/mediapaths.h"
#include "media/thumbnailgallery.h"
#include "texts/localtext.h"
#include "platform/mailclient.h"
#include "support/scriptedprompter.h"
#include "ui/latchbitmapbutton.h"
#include "photomeasure/photomeasurestate.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

/// An engine for main-window tests: bringUp() answers from a queue (Failed when it is empty),
/// presence is a flag, and the connect check's calls are counted.
class FakeCaptureEngine final : public CaptureEngine {
public:
    std::deque<StartResult> startResults;
    bool present = true;
    int bringUpCalls = 0;
    int rescanCalls = 0;

    StartResult bringUp() override
    {
        ++bringUpCalls;
        const StartResult result = startResults.empty() ? StartResult::Failed : startResults.front();
        if (!startResults.empty()) {
            startResults.pop_front();
        }
        m_running = result == StartResult::Running;
        return result;
    }
    void takeDown() override
    {
        m_running = false;
        setRecording(false);
        livePicture().release();
    }
    bool isRunning() const override { return m_running; }
    bool start() override { return m_running = true; }
    bool stop() override { return !(m_running = false); }
    bool stillPresent() override { return present; }
    bool rescan() override { return ++rescanCalls > 0; }
    bool startQuickRecording() override
    {
        setRecording(m_running);
        return m_running;
    }
    void stopRecording() override { setRecording(false); }

    /// Whether a still was asked for since the last call.
    bool takeStillRequest()
    {
        const bool requested = isStillRequested();
        clearStillRequest();
        return requested;
    }

protected:
    void changeFormat(int, int) override {}

private:
    bool m_running = false;
};

/// A mail system that is not there: the E-Mail command stops at its first check.
class NoMailClient final : public MailClient {
public:
    Availability availability() const override { return Availability::Missing; }
    void send(const QString&, QObject*, Done done) override { done(Result::Failed); }
};

/// A main window over a private documents folder, a scripted prompter and either the real
/// engine without a camera or a fake one.
class MainWindowTest : public testing::Test {
protected:
    QTemporaryDir documents;
    MediaPaths paths{documents.path()};
    MeasureSession session;
    PhotoMeasureState photoMeasure;
    LocalText text;
    ScriptedPrompter prompter;
    NoCameraEngine noCamera;
    FakeCaptureEngine fake;
    NoMailClient mail;
    std::unique_ptr<MainWindow> window;

    void SetUp() override
    {
        ASSERT_TRUE(documents.isValid());
        paths.createFolders();
    }
    void TearDown() override { window.reset(); }

    void open(CaptureEngine& engine)
    {
        window.reset();  // before the next one brings the engine up
        window = std::make_unique<MainWindow>(
            MainContext{session, photoMeasure, text, prompter, paths, engine, mail});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void openWithoutCamera() { open(noCamera); }
    /// With the fake engine, whose microscope starts and runs.
    void openConnected()
    {
        fake.startResults = {CaptureEngine::StartResult::Running};
        open(fake);
    }

    void unplug()
    {
        fake.present = false;
        emit fake.deviceChanged(DeviceChange::RemovalComplete, false);
    }
    void replug()
    {
        fake.present = true;
        fake.startResults = {CaptureEngine::StartResult::Running};
        emit fake.deviceChanged(DeviceChange::Arrival, true);
    }

    MainToolBar& bar() { return window->toolBar(); }
    VideoWindow& video() { return *window->videoWindow(); }
    ThumbnailGallery& gallery() { return *window->gallery(); }
    QAction* item(MainCommand command) { return window->menus().action(command); }

    void press(Qt::Key key, QWidget* target = nullptr) { QTest::keyClick(target ? target : window.get(), key); }
};
