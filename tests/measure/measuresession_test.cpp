// The session's shape history, its unsaved-work answer, calibration, picture factors and
// name scale text.
#include "measure/measuresession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Ends = std::vector<int32_t>;

MeasureShape lineTo(int32_t x)
{
    MeasureShape shape;
    shape.kind = ShapeKind::Line;
    shape.points = {{0, 0}, {x, 0}};
    shape.labels = {std::to_string(x)};
    return shape;
}

Ends endsOf(const std::vector<MeasureShape>& shapes)
{
    Ends ends;
    for (const MeasureShape& shape : shapes) {
        ends.push_back(shape.points.back().x);
    }
    return ends;
}

// One step of a history sequence: 'a' adds a line to the next number, 'u' undoes, 'r'
// resumes, 'c' clears both lists, '?' asks about unsaved work and marks it checked.
struct HistoryCase {
    const char* name;
    const char* steps;
    Ends shapes;
    Ends redo;
    std::string answers;  ///< one 'y' or 'n' per '?'
};

class ShapeHistory : public testing::TestWithParam<HistoryCase> {};

TEST_P(ShapeHistory, ListsAndUnsavedWorkAnswers)
{
    const HistoryCase& c = GetParam();
    MeasureSession session;
    int32_t next = 1;
    std::string answers;
    for (const char step : std::string(c.steps)) {
        switch (step) {
        case 'a': session.addShape(lineTo(next++)); break;
        case 'u': session.undo(); break;
        case 'r': session.redo(); break;
        case 'c': session.clearShapes(); break;
        case '?':
            answers += session.hasUnsavedWork() ? 'y' : 'n';
            EXPECT_EQ(session.hasUnsavedWork(), answers.back() == 'y') << "asking changed the answer";
            session.markChecked();
            break;
        }
    }
    EXPECT_EQ(endsOf(session.shapes()), c.shapes);
    EXPECT_EQ(endsOf(session.redoShapes()), c.redo);
    EXPECT_EQ(answers, c.answers);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShapeHistory,
    testing::Values(
        HistoryCase{"UndoAndResumeOnEmptyListsDoNothing", "ur?", {}, {}, "n"},
        HistoryCase{"UndoUndoResumeResumeRestoresInOrder", "aaauurrr", {1, 2, 3}, {}, ""},
        HistoryCase{"TwoUndosLeaveTheNewestLast", "aaauu", {1}, {3, 2}, ""},
        HistoryCase{"ResumeAfterANewShapeChangesNothing", "aauar", {1, 3}, {2}, ""},
        // Regression: a history count fixed at the first Undo made this Resume delete shape
        // 4, although nothing was drawn between the Undo and the Resume.
        HistoryCase{"ResumeRightAfterUndoRestoresAfterEarlierAdds", "aaauraur", {1, 2, 3, 4}, {}, ""},
        HistoryCase{"UndoAfterANewShapeAllowsResumeAgain", "auaur", {2}, {1}, ""},
        HistoryCase{"ClearEmptiesBothLists", "aauc", {}, {}, ""},
        HistoryCase{"FreshSessionHasNoUnsavedWork", "??", {}, {}, "nn"},
        HistoryCase{"DrawnOrUndoneWorkIsUnsaved", "a?u?", {}, {1}, "yy"},
        HistoryCase{"EmptiedListsAreAskedAboutOnceMore", "aa?c??", {}, {}, "yyn"},
        // Never asked while the shape existed: only the history count (1 after the Resume)
        // remembers that there was work.
        HistoryCase{"HistoryCountAloneRemembersWork", "aurc??", {}, {}, "yn"},
        HistoryCase{"UndoneWorkIsRememberedAfterClearing", "aaau?c??", {}, {}, "yyn"}),
    [](const testing::TestParamInfo<HistoryCase>& info) { return std::string(info.param.name); });

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
    session.setActualDistance(-2.0);
    EXPECT_FALSE(session.calibrate(100.0, pixelLength(1.0), 14.815).has_value());
    EXPECT_DOUBLE_EQ(session.workingScale(), 100.0);
    EXPECT_DOUBLE_EQ(session.calibrationValue(), 0.0);
}

TEST(NameScaleText, KeptInTwentyBytesWithItsZero)
{
    MeasureSession session;
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
        // Regression: 800 x 600 used to get the 320 x 240 factor 0.5.
        FactorCase{"Fitted800x600", DisplayMode::Fitted, 800, 600, {640, 480}, 1.25, {1.25, 1.25}},
        FactorCase{"FittedOddAspect", DisplayMode::Fitted, 1000, 600, {640, 480}, 1.5625, {1.5625, 1.25}},
        FactorCase{"Fitted1280x960", DisplayMode::Fitted, 1280, 960, {640, 480}, 2.0, {2.0, 2.0}},
        FactorCase{"FullSize320x240", DisplayMode::FullSize, 320, 240, {320, 240}, 1.0, {1.0, 1.0}}),
    [](const testing::TestParamInfo<FactorCase>& info) { return std::string(info.param.name); });

}  // namespace
