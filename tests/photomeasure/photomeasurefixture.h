#pragma once

#include "measure/measureview.h"
#include "measure/measuresession.h"
#include "texts/localtext.h"
#include "support/scriptedprompter.h"
#include "ui/latchbitmapbutton.h"
#include <QMenu>
#include "photomeasure/photomeasuredialog.h"
#include "photomeasure/photomeasurestate.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

/// Runs ACTION on the next modal dialog of type T, from inside that dialog's own event loop.
/// A modal of another type, or none within two seconds, fails the test (and is closed, so the
/// test never hangs).
template <typename T>
void whenModal(std::function<void(T&)> action)
{
    auto* poll = new QTimer;
    auto attempts = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, action, attempts] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            if (auto* dialog = qobject_cast<T*>(modal)) {
                action(*dialog);
            } else {
                ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className();
                modal->close();
            }
            return;
        }
        if (++*attempts > 400) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "no modal window appeared";
        }
    });
    poll->start(5);
}

/// What a tool menu looked like while it was open.
struct MenuSeen {
    QPoint position;
    QColor background;
    QColor selection;
    QStringList texts;  ///< an empty text for a separator
    int itemsWithoutIcon = 0;
};

/// A photo-measure window on pictures made in a temporary folder, driven by real events on
/// the offscreen platform, with every message box and file chooser answered by a script.
class PhotoMeasureTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    MeasureSession session;
    PhotoMeasureState state;
    ScriptedPrompter prompter;
    LocalText text;
    std::unique_ptr<PhotoMeasureDialog> window;

    static constexpr const char* LargeName = "Still_2009-03-05_101530_200.0X_N0012.bmp";

    /// Writes a WIDTH x HEIGHT BMP named NAME; returns its path.
    QString picture(const QString& name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(40, 90, 40));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    void open(const QString& path)
    {
        window = std::make_unique<PhotoMeasureDialog>(PhotoMeasureContext{session, state, text, prompter});
        window->setPicturePath(path);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void openLarge() { open(picture(LargeName, 1280, 1024)); }

    MeasureView& view() { return *window->view(); }
    PhotoMeasureStrip& strip() { return window->strip(); }

    void setRate(const QString& rate) { strip().rateBox->setText(rate); }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // QTest takes the point (0, 0) for "the middle of the widget": tests click elsewhere.
    void clickView(int x, int y) { QTest::mouseClick(window->view(), Qt::LeftButton, {}, QPoint(x, y)); }

    /// Opens the Draw or Measure menu and clicks the item reading ITEM (an empty ITEM closes
    /// the menu with Esc). Returns how the menu looked.
    MenuSeen chooseFromMenu(LatchBitmapButton* button, const QString& item)
    {
        MenuSeen seen;
        bool found = false;
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, &seen, &found, item] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr || !menu->isVisible()) {
                return;
            }
            poll->stop();
            poll->deleteLater();
            found = true;
            seen.position = menu->pos();
            seen.background = menu->palette().color(QPalette::Window);
            seen.selection = menu->palette().color(QPalette::Highlight);
            const QList<QAction*> actions = menu->actions();
            for (const QAction* action : actions) {
                seen.texts << action->text();
                if (!action->isSeparator() && action->icon().isNull()) {
                    ++seen.itemsWithoutIcon;
                }
            }
            const int row = seen.texts.indexOf(item);
            if (item.isEmpty() || row < 0) {
                QTest::keyClick(menu, Qt::Key_Escape);
            } else {
                const QPoint centre = menu->actionGeometry(actions.at(row)).center();
                QTest::mouseMove(menu, centre);
                QTest::mouseClick(menu, Qt::LeftButton, {}, centre);
            }
        });
        poll->start(5);
        click(button);
        EXPECT_TRUE(found) << "the menu did not open";
        if (!found) {
            delete poll;
        }
        return seen;
    }

    void measureWith(const QString& item) { chooseFromMenu(strip().measureButton, item); }
    void drawWith(const QString& item) { chooseFromMenu(strip().drawButton, item); }

    /// A drawn line from (100, 100) to (200, 100).
    void drawLine()
    {
        drawWith("Line");
        clickView(100, 100);
        clickView(200, 100);
    }

    /// Lets queued notices (window state changes, the view's calibration notice) arrive.
    static void settle()
    {
        for (int round = 0; round < 5; ++round) {
            QCoreApplication::processEvents();
        }
    }
};
