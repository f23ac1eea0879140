#include "measure/measuresession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Ends = std::vector<int32_t>;

Ends endsOf(const std::vector<MeasureShape>& shapes)
{
    Ends ends;
    for (const MeasureShape& shape : shapes) {
        ends.push_back(shape.points.back().x);
    }
    return ends;
}

// Steps: 'a' adds a line to the next number, 'u' undoes, 'r' resumes, 'c' clears both
// lists, '?' asks about unsaved work and marks it checked.
TEST(ShapeHistory, ListsAndUnsavedWorkAnswersOfStepSequences)
{
    const struct {
        const char* name;
        const char* steps;
        Ends shapes;
        Ends redo;
        std::string answers;  ///< one 'y' or 'n' per '?'
    } cases[] = {
        {"UndoAndResumeOnEmptyListsDoNothing", "ur?", {}, {}, "n"},
        {"TwoUndosLeaveTheNewestLast", "aaauu", {1}, {3, 2}, ""},
        // Regression: a history count fixed at the first Undo made this Resume delete shape
        // 4, although nothing was drawn between the Undo and the Resume.
        {"ResumeRightAfterUndoRestoresAfterEarlierAdds", "aaauraur", {1, 2, 3, 4}, {}, ""},
        {"UndoAfterANewShapeAllowsResumeAgain", "auaur", {2}, {1}, ""},
        {"ClearEmptiesBothLists", "aauc", {}, {}, ""},
        {"FreshSessionHasNoUnsavedWork", "??", {}, {}, "nn"},
        {"DrawnOrUndoneWorkIsUnsaved", "a?u?", {}, {1}, "yy"},
        {"EmptiedListsAreAskedAboutOnceMore", "aa?c??", {}, {}, "yyn"},
        // Never asked while the shape existed: only the history count (1 after the Resume)
        // remembers that there was work.
        {"HistoryCountAloneRemembersWork", "aurc??", {}, {}, "yn"},
        {"UndoneWorkIsRememberedAfterClearing", "aaau?c??", {}, {}, "yyn"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MeasureSession session;
        int32_t next = 1;
        std::string answers;
        for (const char step : std::string(c.steps)) {
            switch (step) {
            case 'a': session.addShape({.kind = ShapeKind::Line, .points = {{0, 0}, {next++, 0}}, .labels = {}}); break;
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

TEST(PictureFactors, CanvasReadoutAndSavingFactorsOfPictureSizes)
{
    const struct {
        const char* name;
        DisplayMode mode;
        int32_t width, height;
        CanvasSize canvas;
        double factor;
        SavingFactors saving;
    } cases[] = {
        // Regression: 800 x 600 used to get the 320 x 240 factor 0.5.
        {"Fitted800x600", DisplayMode::Fitted, 800, 600, {640, 480}, 1.25, {1.25, 1.25}},
        {"FittedOddAspect", DisplayMode::Fitted, 1000, 600, {640, 480}, 1.5625, {1.5625, 1.25}},
        {"Fitted1280x960", DisplayMode::Fitted, 1280, 960, {640, 480}, 2.0, {2.0, 2.0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(canvasSize(c.mode, c.width, c.height), c.canvas) << c.name;
        EXPECT_EQ(pictureFactor(c.mode, c.width, c.height), c.factor) << c.name;
        EXPECT_EQ(savingFactors(c.mode, c.width, c.height), c.saving) << c.name;
    }
}

}  // namespace
