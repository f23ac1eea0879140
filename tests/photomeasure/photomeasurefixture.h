#pragma once

#include "measure/measuresession.h"
#include "measure/measureview.h"
#include "photomeasure/calibrationstore.h"
#include "photomeasure/photomeasuredialog.h"
#include "photomeasure/photomeasurestate.h"
#include "texts/localtext.h"
#include "support/menudriver.h"
#include "support/modalrunner.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "ui/latchbitmapbutton.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

/// A photo-measure window on pictures made in a temporary folder, driven by real events on
/// the offscreen platform, with every message box and file chooser answered by a script.
class PhotoMeasureTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    MeasureSession session;
    PhotoMeasureState state;
    ScriptedPrompter prompter;
    LocalText text;
    CalibrationStore calibrations{CalibrationStore::pathIn(dir.filePath("config"))};
    std::unique_ptr<PhotoMeasureDialog> window;

    static constexpr const char* kLargeName = "Still_2009-03-05_101530_200.0X_N0012.bmp";

    QString picture(const QString& name, int width, int height)
    {
        EXPECT_TRUE(TestFiles::writeBmp(dir.filePath(name), width, height, QColor(40, 90, 40)));
        return dir.filePath(name);
    }
    void open(const QString& path)
    {
        window = std::make_unique<PhotoMeasureDialog>(PhotoMeasureContext{session, state, text, prompter, calibrations});
        window->setPicturePath(path);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void openLarge() { open(picture(kLargeName, 1280, 1024)); }

    MeasureView& view() { return *window->view(); }
    PhotoMeasureStrip& strip() { return window->strip(); }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // QTest takes the point (0, 0) for "the middle of the widget": tests click elsewhere.
    void clickView(int x, int y) { QTest::mouseClick(window->view(), Qt::LeftButton, {}, QPoint(x, y)); }
    /// Opens the Draw or Measure menu, clicks ITEM and returns the menu's texts.
    QStringList chooseFromMenu(LatchBitmapButton* button, const QString& item)
    {
        return chooseInMenu([this, button] { click(button); }, item);
    }
    /// Clicks (100, 100) and (200, 100) with the tool chosen, or chooses Line first.
    void clickLine()
    {
        clickView(100, 100);
        clickView(200, 100);
    }
    void drawLine()
    {
        chooseFromMenu(strip().drawButton, "Line");
        clickLine();
    }
    /// Lets queued notices (window state changes, the view's calibration notice) arrive.
    static void settle()
    {
        for (int round = 0; round < 5; ++round) {
            QCoreApplication::processEvents();
        }
    }
};
