// The session's shape history, calibration, published picture and name scale text.
#include "measure/measuresession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

MeasureShape lineTo(int32_t x)
{
    MeasureShape shape;
    shape.kind = ShapeKind::Line;
    shape.points = {{0, 0}, {x, 0}};
    shape.labels = {std::to_string(x)};
    return shape;
}

std::vector<int32_t> endsOf(const std::vector<MeasureShape>& shapes)
{
    std::vector<int32_t> ends;
    for (const MeasureShape& shape : shapes) {
        ends.push_back(shape.points.back().x);
    }
    return ends;
}

using Ends = std::vector<int32_t>;

} // namespace

TEST(ShapeHistory, UndoOnEmptyListChangesNothing)
{
    MeasureSession session;
    session.undo();
    EXPECT_FALSE(session.hasShapes());
    EXPECT_FALSE(session.hasRedo());
    session.redo();
    EXPECT_FALSE(session.hasShapes());
}

TEST(ShapeHistory, UndoUndoResumeResumeRestoresBothInOrder)
{
    MeasureSession session;
    session.addShape(lineTo(1));
    session.addShape(lineTo(2));
    session.addShape(lineTo(3));
    session.undo();
    session.undo();
    EXPECT_EQ(endsOf(session.shapes()), Ends{1});
    EXPECT_EQ(endsOf(session.redoShapes()), (Ends{3, 2}));
    session.redo();
    EXPECT_EQ(endsOf(session.shapes()), (Ends{1, 2}));
    session.redo();
    EXPECT_EQ(endsOf(session.shapes()), (Ends{1, 2, 3}));
    EXPECT_FALSE(session.hasRedo());
    session.redo();
    EXPECT_EQ(endsOf(session.shapes()), (Ends{1, 2, 3}));
    // The restored record is the whole record, labels included.
    EXPECT_EQ(session.shapes().back(), lineTo(3));
}

TEST(ShapeHistory, ResumeAfterANewShapeKeepsBothListsAsTheyAre)
{
    MeasureSession session;
    session.addShape(lineTo(1));
    session.addShape(lineTo(2));
    session.undo();
    session.addShape(lineTo(7));
    session.redo();
    EXPECT_EQ(endsOf(session.shapes()), (Ends{1, 7}));
    EXPECT_EQ(endsOf(session.redoShapes()), Ends{2});
}

TEST(ShapeHistory, ResumeRightAfterUndoRestoresEvenWhenShapesWereAddedEarlier)
{
    // Regression: a history count fixed at the first Undo made this Resume delete shape 4,
    // although nothing was drawn between the Undo and the Resume.
    MeasureSession session;
    for (int32_t x = 1; x <= 3; ++x) {
        session.addShape(lineTo(x));
    }
    session.undo();
    session.redo();
    session.addShape(lineTo(4));
    session.undo();
    session.redo();
    EXPECT_EQ(endsOf(session.shapes()), (Ends{1, 2, 3, 4}));
    EXPECT_FALSE(session.hasRedo());
}

TEST(ShapeHistory, UndoAfterResumeIsAllowedAgain)
{
    MeasureSession session;
    session.addShape(lineTo(1));
    session.undo();
    session.addShape(lineTo(2));
    session.undo();  // a new Undo makes the redo list usable again
    session.redo();
    EXPECT_EQ(endsOf(session.shapes()), Ends{2});
    EXPECT_EQ(endsOf(session.redoShapes()), Ends{1});
}

TEST(ShapeHistory, ClearShapesEmptiesBothLists)
{
    MeasureSession session;
    session.addShape(lineTo(1));
    session.addShape(lineTo(2));
    session.undo();
    session.clearShapes();
    EXPECT_FALSE(session.hasShapes());
    EXPECT_FALSE(session.hasRedo());
}

TEST(HistoryCount, StartsAtTheFirstUndoAndFollowsUndoResumeAndCheckContent)
{
    MeasureSession session;
    for (int32_t x = 1; x <= 3; ++x) {
        session.addShape(lineTo(x));
    }
    EXPECT_EQ(session.historyCount(), 0u);
    session.undo();
    EXPECT_EQ(session.historyCount(), 2u);
    session.undo();
    EXPECT_EQ(session.historyCount(), 1u);
    session.redo();
    EXPECT_EQ(session.historyCount(), 2u);
    session.addShape(lineTo(4));  // finishing a shape leaves it alone
    EXPECT_EQ(session.historyCount(), 2u);
    EXPECT_TRUE(session.checkContent());
    EXPECT_EQ(session.historyCount(), 1u);  // the redo count
}

TEST(CheckContent, FalseForAFreshSession)
{
    MeasureSession session;
    EXPECT_FALSE(session.checkContent());
    EXPECT_FALSE(session.checkContent());
}

TEST(CheckContent, TrueWhileSomethingIsDrawnOrUndone)
{
    MeasureSession session;
    session.addShape(lineTo(1));
    EXPECT_TRUE(session.checkContent());
    session.undo();
    EXPECT_TRUE(session.checkContent());
}

TEST(CheckContent, TrueOnceMoreAfterTheListsWereEmptied)
{
    MeasureSession session;
    session.addShape(lineTo(1));
    session.addShape(lineTo(2));
    EXPECT_TRUE(session.checkContent());
    session.clearShapes();
    EXPECT_TRUE(session.checkContent());
    EXPECT_FALSE(session.checkContent());
}

TEST(CheckContent, HistoryCountAloneKeepsItTrueOnce)
{
    // Never asked while the shape existed, so only the history count (1 after the
    // Resume) remembers that there was work.
    MeasureSession session;
    session.addShape(lineTo(1));
    session.undo();
    session.redo();
    session.clearShapes();
    EXPECT_TRUE(session.checkContent());
    EXPECT_FALSE(session.checkContent());
}

TEST(Calibration, TwoMillimetreLineAgainstOneEnteredMillimetreDoublesTheScale)
{
    MeasureSession session;
    session.setWorkingScale(100.0);
    session.setActualDistance(1.0);
    // 100 canvas pixels at factor 1 and view scale 14.815 read 2.000 mm.
    const std::optional<double> value = session.calibrate(100.0, pixelLength(1.0), 14.815);
    ASSERT_TRUE(value.has_value());
    EXPECT_DOUBLE_EQ(*value, 200.0);
    EXPECT_DOUBLE_EQ(session.workingScale(), 200.0);
    EXPECT_DOUBLE_EQ(session.calibrationValue(), 200.0);
}

TEST(Calibration, UnusableResultsLeaveTheScalesAlone)
{
    MeasureSession session;
    session.setWorkingScale(100.0);
    session.setActualDistance(1.0);
    EXPECT_FALSE(session.calibrate(0.0, pixelLength(1.0), 14.815).has_value());  // zero-length line
    EXPECT_FALSE(session.calibrate(100.0, pixelLength(1.0), 0.0).has_value());
    session.setActualDistance(0.0);
    EXPECT_FALSE(session.calibrate(100.0, pixelLength(1.0), 14.815).has_value());
    session.setActualDistance(-2.0);
    EXPECT_FALSE(session.calibrate(100.0, pixelLength(1.0), 14.815).has_value());
    EXPECT_DOUBLE_EQ(session.workingScale(), 100.0);
    EXPECT_DOUBLE_EQ(session.calibrationValue(), 0.0);
}

TEST(PublishedPicture, DefaultsAndFittedCanvasOfThePublishedSize)
{
    MeasureSession session;
    EXPECT_EQ(session.pictureWidth(), 1280);
    EXPECT_EQ(session.pictureHeight(), 1024);
    EXPECT_EQ(session.fittedCanvas(), (CanvasSize{640, 480}));
    session.publishPicture(1280, 1024);
    EXPECT_EQ(session.fittedCanvas(), (CanvasSize{640, 512}));
    session.publishPicture(800, 600);
    EXPECT_EQ(session.pictureWidth(), 800);
    EXPECT_EQ(session.fittedCanvas(), (CanvasSize{640, 480}));
    EXPECT_EQ(session.displayMode(), DisplayMode::Fitted);
}

TEST(NameScaleText, KeptInTwentyBytesWithItsZero)
{
    MeasureSession session;
    EXPECT_EQ(session.nameScaleText(), "");
    session.setNameScaleText("200.0");
    EXPECT_EQ(session.nameScaleText(), "200.0");
    session.setNameScaleText("1234567890123456789012345");
    EXPECT_EQ(session.nameScaleText(), "1234567890123456789");
    session.setNameScaleText("7");
    EXPECT_EQ(session.nameScaleText(), "7");  // no tail of the longer text left behind
    session.setNameScaleText(std::string_view("12\0" "34", 5));
    EXPECT_EQ(session.nameScaleText(), "12");
}

struct FactorCase {
    const char* name;
    DisplayMode mode;
    int32_t width, height;
    CanvasSize canvas;
    double factor;
    SavingFactors saving;
};

class PictureFactors : public testing::TestWithParam<FactorCase> {};

TEST_P(PictureFactors, CanvasReadoutAndSavingFactors)
{
    const FactorCase& c = GetParam();
    EXPECT_EQ(canvasSize(c.mode, c.width, c.height), c.canvas);
    EXPECT_EQ(pictureFactor(c.mode, c.width, c.height), c.factor);
    EXPECT_EQ(savingFactors(c.mode, c.width, c.height), c.saving);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PictureFactors,
    testing::Values(
        FactorCase{"Fitted1280x1024", DisplayMode::Fitted, 1280, 1024, {640, 512}, 2.0, {2.0, 2.0}},
        FactorCase{"Fitted640x480", DisplayMode::Fitted, 640, 480, {640, 480}, 1.0, {1.0, 1.0}},
        FactorCase{"Fitted320x240", DisplayMode::Fitted, 320, 240, {640, 480}, 0.5, {0.5, 0.5}},
        // Regression: 800 x 600 used to get the 320 x 240 factor 0.5.
        FactorCase{"Fitted800x600", DisplayMode::Fitted, 800, 600, {640, 480}, 1.25, {1.25, 1.25}},
        FactorCase{"FittedOddAspect", DisplayMode::Fitted, 1000, 600, {640, 480}, 1.5625, {1.5625, 1.25}},
        FactorCase{"Fitted1280x960", DisplayMode::Fitted, 1280, 960, {640, 480}, 2.0, {2.0, 2.0}},
        FactorCase{"FullSize1280x1024", DisplayMode::FullSize, 1280, 1024, {1280, 1024}, 1.0, {1.0, 1.0}},
        FactorCase{"FullSize320x240", DisplayMode::FullSize, 320, 240, {320, 240}, 1.0, {1.0, 1.0}}),
    [](const testing::TestParamInfo<FactorCase>& info) { return std::string(info.param.name); });
