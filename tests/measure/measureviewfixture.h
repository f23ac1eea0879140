#pragma once

#include "measure/measureview.h"
#include "measure/measuresession.h"
#include "texts/localtext.h"
#include "support/scriptedprompter.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

/// A measurement view on a picture made in a temporary folder, shown on the offscreen
/// platform and driven by real mouse events.
class MeasureViewTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    MeasureSession session;
    ScriptedPrompter prompter;
    LocalText text;
    std::unique_ptr<MeasureView> view;

    QString picture(const QString& name, int width, int height, QColor color = QColor(0, 96, 0))
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, name.endsWith("jpg", Qt::CaseInsensitive) ? "JPEG" : "BMP"));
        return path;
    }

    /// Makes the view on PATH in MODE, sized as the photo-measure window sizes it. Like the
    /// window, it drops the shapes of the view it replaces.
    void open(const QString& path, DisplayMode mode = DisplayMode::Fitted)
    {
        view.reset();
        session.clearShapes();
        session.setDisplayMode(mode);
        view = std::make_unique<MeasureView>(session, prompter, text, path, 1.0);
        view->resize(mode == DisplayMode::Fitted && view->hasPicture() ? view->canvasSize() : QSize(640, 480));
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        if (mode == DisplayMode::FullSize) {
            view->updateScrollBars();
        }
    }

    void measureWith(Tool tool, double scale = 1.0)
    {
        view->setViewScale(scale);
        view->setTool(tool, true);
    }

    // QTest takes the point (0, 0) for "the middle of the widget": tests click elsewhere.
    void click(int x, int y) { QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(x, y)); }
    /// A user's double click: one click, then the double-click event, as Qt delivers it.
    void doubleClick(int x, int y)
    {
        click(x, y);
        QTest::mouseDClick(view.get(), Qt::LeftButton, {}, QPoint(x, y));
    }
    void rightClick(int x, int y) { QTest::mouseClick(view.get(), Qt::RightButton, {}, QPoint(x, y)); }
    void move(int x, int y) { QTest::mouseMove(view->windowHandle(), QPoint(x, y)); }

    const std::vector<MeasureShape>& shapes() const { return session.shapes(); }
    QImage screen() { return view->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

inline std::vector<MeasurePoint> points(std::initializer_list<MeasurePoint> list)
{
    return list;
}
