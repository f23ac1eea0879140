// The measurement view driven by real mouse and key events. Every tool's clicks, readouts,
// double clicks, history and saved pixels are pinned by quillon-measure's script cases.
#include "measure/measuresession.h"
#include "measure/measureview.h"
#include "support/scriptedprompter.h"
#include "texts/localtext.h"

#include <QDialog>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Labels = std::vector<std::string>;
using Points = std::vector<MeasurePoint>;

const QString kStill = QStringLiteral("Still_2009-03-05_101530_200.0X_N0012.bmp");

class MeasureViewTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    MeasureSession session;
    ScriptedPrompter prompter;
    LocalText text;
    std::unique_ptr<MeasureView> view;

    void SetUp() override { open(kStill, 640, 480, DisplayMode::Fitted); }

    /// Makes the view on a new picture, sized as the photo-measure window sizes it.
    void open(const QString& name, int width, int height, DisplayMode mode)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(0, 96, 0));
        ASSERT_TRUE(image.save(dir.filePath(name), "BMP"));
        view.reset();
        session.clearShapes();
        session.setDisplayMode(mode);
        view = std::make_unique<MeasureView>(session, prompter, text, dir.filePath(name), 1.0);
        view->resize(mode == DisplayMode::Fitted ? view->canvasSize() : QSize(640, 480));
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
    void click(const std::vector<QPoint>& points)
    {
        for (const QPoint& point : points) {
            QTest::mouseClick(view.get(), Qt::LeftButton, {}, point);
        }
    }
    void rightClick(int x, int y) { QTest::mouseClick(view.get(), Qt::RightButton, {}, QPoint(x, y)); }
    void move(int x, int y) { QTest::mouseMove(view->windowHandle(), QPoint(x, y)); }

    const std::vector<MeasureShape>& shapes() const { return session.shapes(); }
    QImage screen() { return view->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(MeasureViewTest, RightButtonDropsSomeGesturesAndNotOthers)
{
    // Each gesture gets its first click, the right button, then its remaining clicks.
    const struct {
        const char* name;
        Tool tool;
        QPoint first;
        std::vector<QPoint> rest;
        bool dropped;
    } cases[] = {
        {"Line", Tool::Line, {10, 10}, {{110, 10}}, true},
        {"Angle", Tool::Angle, {200, 100}, {{100, 100}, {100, 20}}, true},
        {"ThreePointCircle", Tool::ThreePointCircle, {110, 100}, {{100, 110}, {116, 118}}, false},
        {"FourPointAngle", Tool::FourPointAngle, {10, 100}, {{200, 100}, {100, 10}, {100, 200}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        session.clearShapes();
        measureWith(c.tool);
        click({c.first});
        rightClick(5, 5);
        EXPECT_EQ(view->pointerConfinement().has_value(), !c.dropped);
        click(c.rest);
        EXPECT_EQ(shapes().size(), c.dropped ? 0u : 1u);
        if (!c.dropped) {
            EXPECT_EQ(shapes()[0].points.size(), c.rest.size() + 1);
        }
        rightClick(5, 5);  // drops what the remaining clicks started afresh
    }
}

TEST_F(MeasureViewTest, FourPointAngleFirstLineWaitsWhileOtherShapesArePlaced)
{
    measureWith(Tool::FourPointAngle);
    click({{10, 100}, {200, 100}});
    EXPECT_EQ(view->pointerConfinement(), QRect(0, 0, 640, 480));
    measureWith(Tool::Line);
    click({{300, 300}, {400, 300}});
    measureWith(Tool::FourPointAngle);
    click({{100, 10}, {100, 200}});
    ASSERT_EQ(shapes().size(), 2u);
    EXPECT_EQ(shapes()[0].kind, ShapeKind::Line);
    EXPECT_EQ(shapes()[1].kind, ShapeKind::FourPointAngle);
    EXPECT_EQ(shapes()[1].points, (Points{{10, 100}, {200, 100}, {100, 10}, {100, 200}}));
    EXPECT_EQ(shapes()[1].labels, Labels{"90.00"});
    EXPECT_FALSE(view->pointerConfinement().has_value());
}

TEST_F(MeasureViewTest, PointerIsHeldInsideTheLargestSquareAroundACircleCentreAndInsideThePicture)
{
    measureWith(Tool::RadiusCircle);
    click({{100, 50}});
    EXPECT_EQ(view->pointerConfinement(), QRect(50, 0, 100, 100));  // the top edge is nearest
    click({{400, 300}});
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].points, (Points{{100, 50}, {149, 99}}));

    // A 320 x 240 picture at its own size in a 640 x 480 view.
    open("small.bmp", 320, 240, DisplayMode::FullSize);
    measureWith(Tool::Line);
    click({{100, 100}, {500, 400}});
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].points, (Points{{100, 100}, {319, 239}}));
}

TEST_F(MeasureViewTest, OutlineFollowsThePointerAndLeavesNothingBehind)
{
    const QImage before = screen();
    measureWith(Tool::Line);
    click({{100, 100}});
    move(300, 100);
    EXPECT_NE(screen().pixel(200, 100), before.pixel(200, 100));
    move(300, 200);
    const QImage moved = screen();
    EXPECT_EQ(moved.pixel(200, 100), before.pixel(200, 100));
    EXPECT_NE(moved.pixel(200, 150), before.pixel(200, 150));
    rightClick(300, 200);
    EXPECT_EQ(screen(), before);

    // The placed edges of a polygon stay until it is closed or dropped.
    view->setTool(Tool::Polygon, true);
    click({{100, 300}, {200, 300}});
    move(250, 400);
    EXPECT_NE(screen().pixel(150, 300), before.pixel(150, 300));
    rightClick(250, 400);
    EXPECT_EQ(screen(), before);
}

TEST_F(MeasureViewTest, HistoryChangedTellsEveryChangeOfEitherList)
{
    QSignalSpy history(view.get(), &MeasureView::historyChanged);
    const auto last = [&history] {
        const QList<QVariant> arguments = history.takeLast();
        history.clear();
        return std::pair(arguments[0].toBool(), arguments[1].toBool());
    };
    measureWith(Tool::Line);
    click({{10, 10}});
    EXPECT_EQ(history.count(), 0);  // a line under way is no shape yet
    click({{20, 10}});
    EXPECT_EQ(last(), std::pair(true, false));
    view->undo();
    EXPECT_EQ(last(), std::pair(false, true));
    view->undo();  // nothing left to undo
    EXPECT_EQ(history.count(), 0);
    view->redo();
    EXPECT_EQ(last(), std::pair(true, false));
    view->undo();
    click({{30, 30}, {40, 30}});
    EXPECT_EQ(last(), std::pair(true, true));
    view->redo();  // refused after a new shape
    EXPECT_EQ(history.count(), 0);
    view->clearShapes();
    EXPECT_EQ(last(), std::pair(false, false));
    view->clearShapes();
    EXPECT_EQ(history.count(), 0);
}

TEST_F(MeasureViewTest, DroppingTheViewLeavesTheShapesToItsOwner)
{
    // The view once emptied the session's lists in its destructor; its owner clears them.
    measureWith(Tool::Line);
    click({{10, 10}, {20, 10}, {10, 20}, {20, 20}});
    view->undo();
    view.reset();
    EXPECT_EQ(session.shapes().size(), 1u);
    EXPECT_EQ(session.redoShapes().size(), 1u);
    view = std::make_unique<MeasureView>(session, prompter, text, dir.filePath(kStill), 1.0);
    view->resize(640, 480);
    view->show();
    EXPECT_EQ(qRed(screen().pixel(15, 10)), 255);  // the remaining line, in its pen's red
}

TEST_F(MeasureViewTest, CalibrationIsToldAfterTheLineThatRanIt)
{
    // 640 x 480: factor 1. A 675-pixel line reads 2.000 mm at scale 100.
    session.setWorkingScale(100);
    measureWith(Tool::Line, 100);
    int asked = 0;
    view->setCalibrationPrompt([&asked] { return ++asked, std::optional<double>(1.0); });
    QSignalSpy notified(view.get(), &MeasureView::calibrationNotified);
    view->beginCalibration();
    click({{1, 1}, {541, 406}});
    EXPECT_EQ(asked, 1);
    EXPECT_NEAR(session.workingScale(), 200.0025, 1e-9);
    EXPECT_EQ(notified.count(), 0);  // posted, not sent
    EXPECT_TRUE(notified.wait(1000));
    EXPECT_EQ(shapes()[0].labels, Labels{"dist:2.000mm"});  // read at the old scale
}

TEST_F(MeasureViewTest, EscapeDoesNotCloseTheWindowAroundTheView)
{
    QDialog window;
    view->setParent(&window);
    view->show();
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    view->setParent(nullptr);  // the fixture owns it
}

}  // namespace
