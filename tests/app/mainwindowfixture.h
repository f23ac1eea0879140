#pragma once

#include "app/mainwindow.h"
#include "capture/nocameraengine.h"
#include "capture/videowindow.h"
#include "fakecaptureengine.h"
#include "measure/measuresession.h"
#include "media/mediapaths.h"
#include "media/thumbnailgallery.h"
#include "texts/localtext.h"
#include "platform/mailclient.h"
#include "support/scriptedprompter.h"
#include "photomeasure/photomeasurestate.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

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

    MainToolBar& bar() { return window->toolBar(); }
    VideoWindow& video() { return *window->videoWindow(); }
    ThumbnailGallery& gallery() { return *window->gallery(); }
    QAction* item(MainCommand command) { return window->menus().action(command); }

    void press(Qt::Key key, QWidget* target = nullptr)
    {
        QTest::keyClick(target != nullptr ? target : window.get(), key);
    }
};

/// Pixels of IMAGE within AREA that have exactly COLOR.
inline int countPixels(const QImage& image, const QRect& area, QColor color)
{
    int count = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            count += image.pixelColor(x, y) == color ? 1 : 0;
        }
    }
    return count;
}
