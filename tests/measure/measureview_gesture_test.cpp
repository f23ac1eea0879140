#include "measureviewfixture.h"

#include <QDialog>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>

namespace {

class MeasureGestureTest : public MeasureViewTest {
protected:
    void SetUp() override { open(picture("Still_2009-03-05_101530_200.0X_N0012.bmp", 640, 480)); }
};

TEST_F(MeasureGestureTest, TwoQuickLineClicksStartALineWithoutFinishingIt)
{
    measureWith(ToolCode::Line);
    click(10, 10);
    doubleClickEvent(10, 10);
    EXPECT_TRUE(shapes().empty());
    click(110, 10);
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].kind, ShapeKind::Line);
    EXPECT_EQ(shapes()[0].points, points({{10, 10}, {110, 10}}));
    EXPECT_EQ(shapes()[0].labels, labels({"dist:29.630mm"}));
}

TEST_F(MeasureGestureTest, DrawnShapesKeepEmptyLabelsAndTheDefaultLabelStyle)
{
    view->setTool(ToolCode::Rectangle, 0);
    view->setPen(2, 1, QColor(0, 255, 0));
    view->setLabelColor(QColor(0, 0, 255));
    click(100, 100);
    click(50, 40);
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].kind, ShapeKind::Rectangle);
    EXPECT_EQ(shapes()[0].points, points({{100, 100}, {50, 40}}));
    EXPECT_EQ(shapes()[0].labels, labels({"", ""}));
    EXPECT_EQ(shapes()[0].penStyle, 2u);
    EXPECT_EQ(shapes()[0].penColor, 0xFF00FF00u);
    EXPECT_EQ(shapes()[0].labelColor, kDefaultShapeColor);
}

TEST_F(MeasureGestureTest, CirclesAndRectanglesFinishOnTheirSecondClick)
{
    measureWith(ToolCode::RadiusCircle);
    click(200, 200);
    click(210, 200);
    view->setTool(ToolCode::DiameterCircle, 1);
    click(300, 100);
    click(320, 100);
    view->setTool(ToolCode::Rectangle, 1);
    click(400, 300);
    click(300, 200);  // right to left and bottom to top
    ASSERT_EQ(shapes().size(), 3u);
    EXPECT_EQ(shapes()[0].kind, ShapeKind::RadiusCircle);
    EXPECT_EQ(shapes()[0].labels, labels({"area:27.581mm2", "radius:2.963mm"}));
    EXPECT_EQ(shapes()[1].kind, ShapeKind::DiameterCircle);
    EXPECT_EQ(shapes()[1].points, points({{300, 100}, {320, 100}}));
    EXPECT_EQ(shapes()[1].labels, labels({"area:27.581mm2", "diameter:5.926mm"}));
    EXPECT_EQ(shapes()[2].kind, ShapeKind::Rectangle);
    EXPECT_EQ(shapes()[2].labels, labels({"area:877.937mm2", "width:29.630mm"}));
}

TEST_F(MeasureGestureTest, MeasuredContinuousLineEndsWithADoubleClick)
{
    measureWith(ToolCode::ContinuousLine);
    click(10, 10);
    click(110, 10);
    move(200, 50);
    EXPECT_TRUE(shapes().empty());
    doubleClick(110, 110);
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].kind, ShapeKind::ContinuousLine);
    EXPECT_EQ(shapes()[0].points, points({{10, 10}, {110, 10}, {110, 110}}));
    EXPECT_EQ(shapes()[0].labels, labels({"dist:29.630mm", "dist:29.630mm"}));
    EXPECT_FALSE(view->pointerConfinement().has_value());
}

TEST_F(MeasureGestureTest, RightClickDiscardsAMeasuredContinuousLine)
{
    measureWith(ToolCode::ContinuousLine);
    click(10, 10);
    click(110, 10);
    rightClick(300, 300);
    doubleClickEvent(110, 110);
    EXPECT_TRUE(shapes().empty());
    // The next click starts afresh.
    click(20, 20);
    doubleClick(40, 20);
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].points, points({{20, 20}, {40, 20}}));
}

TEST_F(MeasureGestureTest, DrawnContinuousLineFollowsThePointerUntilTheSecondClick)
{
    view->setTool(ToolCode::ContinuousLine, 0);
    click(10, 10);
    move(20, 15);
    move(30, 25);
    click(40, 40);
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].kind, ShapeKind::ContinuousLine);
    // Each move leaves the previous position behind; the final click adds nothing.
    EXPECT_EQ(shapes()[0].points, points({{10, 10}, {20, 15}}));
    EXPECT_EQ(shapes()[0].labels, labels({"", ""}));
}

TEST_F(MeasureGestureTest, PolygonClosesOnDoubleClickWithItsArea)
{
    measureWith(ToolCode::Polygon);
    click(10, 10);
    click(20, 10);
    click(20, 20);
    doubleClick(10, 20);
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].kind, ShapeKind::Polygon);
    EXPECT_EQ(shapes()[0].points, points({{10, 10}, {20, 10}, {20, 20}, {10, 20}}));
    EXPECT_EQ(shapes()[0].labels, labels({"area:8.779mm2"}));
}

TEST_F(MeasureGestureTest, AngleFinishesEvenAfterSwitchingToTheLineTool)
{
    measureWith(ToolCode::Angle);
    click(200, 100);  // first arm end
    click(100, 100);  // vertex
    view->setTool(ToolCode::Line, 1);
    click(100, 20);  // second arm end
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].kind, ShapeKind::Angle);
    EXPECT_EQ(shapes()[0].points, points({{200, 100}, {100, 20}, {100, 100}}));
    EXPECT_EQ(shapes()[0].labels, labels({"90.00"}));
    // The line tool is in charge again.
    click(10, 10);
    click(20, 10);
    ASSERT_EQ(shapes().size(), 2u);
    EXPECT_EQ(shapes()[1].kind, ShapeKind::Line);
}

TEST_F(MeasureGestureTest, FourPointAngleTakesFourClicksWithThePointerHeld)
{
    measureWith(ToolCode::FourPointAngle);
    click(10, 100);
    EXPECT_EQ(view->pointerConfinement(), QRect(0, 0, 640, 480));
    click(200, 100);
    click(100, 10);
    rightClick(5, 5);  // does not cancel this gesture
    EXPECT_TRUE(shapes().empty());
    EXPECT_EQ(view->pointerConfinement(), QRect(0, 0, 640, 480));
    click(100, 200);
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].kind, ShapeKind::FourPointAngle);
    EXPECT_EQ(shapes()[0].points, points({{10, 100}, {200, 100}, {100, 10}, {100, 200}}));
    EXPECT_EQ(shapes()[0].labels, labels({"90.00"}));
    EXPECT_FALSE(view->pointerConfinement().has_value());
}

TEST_F(MeasureGestureTest, ThreePointCircleIgnoresTheRightButton)
{
    measureWith(ToolCode::ThreePointCircle);
    // Three points of the circle of radius 10 about (110, 110).
    click(110, 100);
    click(100, 110);
    rightClick(5, 5);
    click(116, 118);
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].kind, ShapeKind::ThreePointCircle);
    EXPECT_EQ(shapes()[0].points, points({{110, 100}, {100, 110}, {116, 118}}));
    EXPECT_EQ(shapes()[0].labels, labels({"area:27.581mm2", "radius:2.963mm"}));
}

TEST_F(MeasureGestureTest, TextToolPlacesItsTextOnce)
{
    view->setTool(ToolCode::Text, 1);
    view->setTextColor(QColor(0, 0, 255));
    click(30, 40);
    EXPECT_TRUE(shapes().empty());  // nothing to place yet
    view->setPendingText("Cell wall");
    click(30, 40);
    click(60, 80);
    ASSERT_EQ(shapes().size(), 1u);
    const MeasureShape& text = shapes()[0];
    EXPECT_EQ(text.kind, ShapeKind::Text);
    EXPECT_EQ(text.labels, labels({"Cell wall"}));
    EXPECT_EQ(text.textColor, 0xFF0000FFu);
    ASSERT_EQ(text.points.size(), 2u);
    EXPECT_EQ(text.points[0], (MeasurePoint{30, 40}));
    EXPECT_GT(text.points[1].x, 30 + 20);
    EXPECT_GT(text.points[1].y, 40 + 5);
    EXPECT_TRUE(view->pendingText().isEmpty());
    view->setPendingText("Nucleus");
    click(60, 80);
    EXPECT_EQ(shapes().size(), 2u);
}

TEST_F(MeasureGestureTest, RadiusCircleHoldsThePointerInsideTheLargestSquareAroundItsCentre)
{
    measureWith(ToolCode::RadiusCircle);
    click(100, 50);
    // 50 to the top edge is the nearest side.
    EXPECT_EQ(view->pointerConfinement(), QRect(50, 0, 100, 100));
    move(400, 300);
    click(400, 300);
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].points, points({{100, 50}, {149, 99}}));
}

TEST_F(MeasureGestureTest, ClicksWithoutAToolDoNothing)
{
    click(10, 10);
    click(20, 20);
    view->setTool(20, 20);
    click(10, 10);
    click(20, 20);
    EXPECT_TRUE(shapes().empty());
    EXPECT_FALSE(view->pointerConfinement().has_value());
}

TEST_F(MeasureGestureTest, CalibrationRunsOnTheNextMeasuredLineOnly)
{
    // 640 x 480: factor 1. A 675-pixel line reads 2.000 mm at scale 100.
    session.setWorkingScale(100);
    measureWith(ToolCode::Line, 100);
    int asked = 0;
    view->setCalibrationPrompt([&asked]() -> std::optional<double> {
        ++asked;
        return 1.0;
    });
    QSignalSpy notified(view.get(), &MeasureView::calibrationNotified);
    click(1, 1);
    click(541, 406);
    EXPECT_EQ(asked, 0);
    view->beginCalibration();
    click(1, 1);
    click(541, 406);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(view->calibrationPending());
    EXPECT_NEAR(session.workingScale(), 200.0025, 1e-9);
    EXPECT_EQ(session.calibrationValue(), session.workingScale());
    EXPECT_EQ(notified.count(), 0);  // posted, not sent
    EXPECT_TRUE(notified.wait(1000));
    ASSERT_EQ(shapes().size(), 2u);
    EXPECT_EQ(shapes()[1].labels, labels({"dist:2.000mm"}));  // read at the old scale
}

TEST_F(MeasureGestureTest, CancelledCalibrationChangesNoScale)
{
    session.setWorkingScale(100);
    measureWith(ToolCode::Line, 100);
    view->setCalibrationPrompt([]() -> std::optional<double> { return std::nullopt; });
    QSignalSpy notified(view.get(), &MeasureView::calibrationNotified);
    view->beginCalibration();
    click(1, 1);
    click(541, 406);
    QCoreApplication::processEvents();
    EXPECT_EQ(notified.count(), 0);
    EXPECT_EQ(session.workingScale(), 100.0);
    EXPECT_EQ(session.calibrationValue(), 0.0);
    EXPECT_FALSE(view->calibrationPending());
    EXPECT_EQ(shapes().size(), 1u);
}

TEST_F(MeasureGestureTest, EscapeDoesNotCloseTheWindowAroundTheView)
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

TEST_F(MeasureGestureTest, DestroyingTheViewEmptiesBothLists)
{
    measureWith(ToolCode::Line);
    click(10, 10);
    click(20, 10);
    click(10, 20);
    click(20, 20);
    view->undo();
    EXPECT_TRUE(view->hasShapes());
    EXPECT_TRUE(view->hasRedo());
    view.reset();
    EXPECT_FALSE(session.hasShapes());
    EXPECT_FALSE(session.hasRedo());
}

class MeasureViewBoundsTest : public MeasureViewTest {};

TEST_F(MeasureViewBoundsTest, ClicksOutsideThePictureStartNothing)
{
    // A 320 x 240 picture at its own size in a 640 x 480 view.
    open(picture("small.bmp", 320, 240), DisplayMode::FullSize);
    EXPECT_EQ(view->visiblePictureRect(), QRect(0, 0, 320, 240));
    measureWith(ToolCode::Line);
    click(400, 100);
    EXPECT_FALSE(view->pointerConfinement().has_value());
    click(100, 100);
    click(500, 400);  // held to the picture while the line is placed
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].points, points({{100, 100}, {319, 239}}));
}

TEST_F(MeasureViewBoundsTest, FullSizeScrollStepsStopAtTheEnds)
{
    open(picture("big.bmp", 1280, 1024), DisplayMode::FullSize);
    QScrollBar* horizontal = view->horizontalScrollBar();
    QScrollBar* vertical = view->verticalScrollBar();
    ASSERT_TRUE(horizontal->isVisible());
    ASSERT_TRUE(vertical->isVisible());
    const int thickness = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view.get());
    const int clientWidth = 640 - thickness;
    const int clientHeight = 480 - thickness;
    EXPECT_EQ(view->clientRect(), QRect(0, 0, clientWidth, clientHeight));
    EXPECT_EQ(horizontal->maximum(), 1280 - clientWidth);
    EXPECT_EQ(vertical->maximum(), 1024 - clientHeight);

    horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(horizontal->value(), 0);
    horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(horizontal->value(), thickness);
    // A page is the client height, on both bars.
    horizontal->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(horizontal->value(), thickness + clientHeight);
    horizontal->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(horizontal->value(), horizontal->maximum());
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(vertical->value(), vertical->maximum());
    EXPECT_EQ(view->scrollOffset(), QPoint(horizontal->maximum(), vertical->maximum()));

    // Clicks land on the canvas where the picture is scrolled to.
    measureWith(ToolCode::Line);
    click(10, 10);
    click(110, 10);
    ASSERT_EQ(shapes().size(), 1u);
    EXPECT_EQ(shapes()[0].points[0], (MeasurePoint{horizontal->maximum() + 10, vertical->maximum() + 10}));
    EXPECT_EQ(shapes()[0].labels, labels({"dist:29.630mm"}));  // factor 1 at full size
}

TEST_F(MeasureViewBoundsTest, PictureThatFitsNeedsNoScrollBars)
{
    open(picture("small.bmp", 320, 240), DisplayMode::FullSize);
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(view->verticalScrollBar()->isVisible());
    view->setScrollPosition(Qt::Horizontal, 50);
    EXPECT_EQ(view->scrollOffset(), QPoint(0, 0));
}

}  // namespace
