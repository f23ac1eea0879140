#include "photomeasurefixture.h"

#include "measure/measureshape.h"
#include "ui/picturebutton.h"
#include "photomeasure/calibrationdialog.h"
#include "photomeasure/textsettingdialog.h"
#include "photomeasure/pensettingdialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

TEST_F(PhotoMeasureTest, OpensWithItsControlsInPlaceAndNoTool)
{
    openLarge();
    EXPECT_EQ(window->windowTitle(), "Photo Measure");
    EXPECT_EQ(window->size(), QSize(647, 575));
    const QRect screen = window->screen()->geometry();
    EXPECT_EQ(window->pos(), QPoint(screen.width() / 5, screen.height() / 8));

    const std::pair<QWidget*, int> buttons[] = {
        {strip().openButton, 24}, {strip().saveButton, 62}, {strip().drawButton, 100},
        {strip().measureButton, 136}, {strip().penButton, 175}, {strip().textButton, 214},
        {strip().undoButton, 256}, {strip().redoButton, 294}, {strip().calibrationButton, 340},
    };
    for (const auto& [button, x] : buttons) {
        EXPECT_EQ(button->geometry(), QRect(x, 5, 32, 24)) << x;
    }
    EXPECT_EQ(strip().calibratedBox->pos(), QPoint(376, 5));
    EXPECT_EQ(strip().toolNameBox->pos(), QPoint(480, 5));
    EXPECT_EQ(strip().rateBox->pos(), QPoint(600, 5));
    EXPECT_FALSE(strip().calibratedBox->isEnabled());
    EXPECT_FALSE(strip().toolNameBox->isEnabled());

    // Fitted: the view lies below the strip at its canvas size.
    EXPECT_EQ(view().geometry(), QRect(0, 30, 640, 512));
    EXPECT_EQ(view().displayMode(), DisplayMode::Fitted);
    EXPECT_EQ(view().tool(), Tool::None);
    EXPECT_EQ(strip().rateBox->text(), "200.0");
    EXPECT_EQ(strip().calibratedBox->text(), "");
    EXPECT_FALSE(strip().undoButton->isEnabled());
    EXPECT_FALSE(strip().redoButton->isEnabled());
    EXPECT_TRUE(strip().calibrationButton->isEnabled());
    EXPECT_TRUE(state.askBeforeDiscarding);

    EXPECT_EQ(strip().openButton->toolTip(), "Open");
    EXPECT_EQ(strip().saveButton->toolTip(), "Save As");
    EXPECT_EQ(strip().drawButton->toolTip(), "Paint");
    EXPECT_EQ(strip().penButton->toolTip(), "Pen setting");
    EXPECT_EQ(strip().calibrationButton->toolTip(), "Calibration");
}

TEST_F(PhotoMeasureTest, WindowIsSmallerForEveryPictureButTheLargeOne)
{
    for (const QSize size : {QSize(640, 480), QSize(800, 600), QSize(320, 240)}) {
        open(picture(QString("Still_%1.bmp").arg(size.width()), size.width(), size.height()));
        EXPECT_EQ(window->size(), QSize(647, 543)) << size.width();
        EXPECT_EQ(view().geometry(), QRect(0, 30, 640, 480)) << size.width();
    }
}

TEST_F(PhotoMeasureTest, RateBoxTakesFiveTypedCharactersButShowsALongerNameScaleWhole)
{
    open(picture("Still_2009-03-05_101530_1000.25X_N0001.bmp", 640, 480));
    EXPECT_EQ(strip().rateBox->text(), "1000.25");
    strip().rateBox->clear();
    QTest::keyClicks(strip().rateBox, "1234567");
    EXPECT_EQ(strip().rateBox->text(), "12345");
}

struct ScaleCase {
    const char* name;
    QSize picture;
    const char* rate;
    double viewScale;
    double workingScale;
};

TEST_F(PhotoMeasureTest, MeasuringToolAppliesTheRateForThePictureSize)
{
    const ScaleCase cases[] = {
        {"200 on 1280x1024", {1280, 1024}, "200", 197.0, 197.0},
        {"400 on 640x480 is halved", {640, 480}, "400", 197.0, 197.0},
        {"40 on 640x480 stays at 20", {640, 480}, "40", 20.0, 20.0},
        {"30 on 320x240 is quartered", {320, 240}, "30", 7.5, 7.5},
        {"200 on 800x600", {800, 600}, "200", 197.0, 197.0},
    };
    for (const ScaleCase& c : cases) {
        open(picture(QString("Still_%1.bmp").arg(c.picture.width()), c.picture.width(), c.picture.height()));
        setRate(c.rate);
        measureWith("Line");
        EXPECT_EQ(view().viewScale(), c.viewScale) << c.name;
        EXPECT_EQ(session.workingScale(), c.workingScale) << c.name;
        EXPECT_EQ(view().tool(), Tool::Line) << c.name;
        EXPECT_TRUE(view().measuring()) << c.name;
        EXPECT_EQ(strip().toolNameBox->text(), "Line") << c.name;
        EXPECT_TRUE(prompter.shown.empty()) << c.name;
    }
}

TEST_F(PhotoMeasureTest, MeasuringToolWithoutRateAsksForOneAndLeavesNoTool)
{
    openLarge();
    setRate("");
    measureWith("Rectangle");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Please input the zoomIn scale!");
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::Ok);
    EXPECT_EQ(view().tool(), Tool::MenuOpen);
    EXPECT_EQ(strip().toolNameBox->text(), "");

    setRate("abc");
    measureWith("Rectangle");
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(view().tool(), Tool::MenuOpen);
}

TEST_F(PhotoMeasureTest, DrawingMenuSelectsDrawingToolsWithoutAScale)
{
    openLarge();
    setRate("");
    const MenuSeen seen = chooseFromMenu(strip().drawButton, "Three Points Circle");
    EXPECT_EQ(seen.texts, QStringList({"Line", "Continuous line", "", "Angle", "Retangle", "",
                                       "Radius Circle", "Diameter Circle", "Three Points Circle"}));
    EXPECT_EQ(seen.itemsWithoutIcon, 0);
    EXPECT_EQ(seen.background, QColor(226, 227, 229));
    EXPECT_EQ(seen.selection, QColor(78, 135, 219));
    const QPoint button = strip().drawButton->mapToGlobal(QPoint(0, strip().drawButton->height() - 2));
    EXPECT_EQ(seen.position, button);
    EXPECT_EQ(view().tool(), Tool::ThreePointCircle);
    EXPECT_FALSE(view().measuring());
    EXPECT_EQ(strip().toolNameBox->text(), "Three Point Circle");
    EXPECT_TRUE(strip().drawButton->isLatched());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(PhotoMeasureTest, MeasuringMenuListsItsToolsAndLightsOnlyItsButton)
{
    openLarge();
    drawWith("Line");
    const MenuSeen seen = chooseFromMenu(strip().measureButton, "Four Point Angle");
    EXPECT_EQ(seen.texts, QStringList({"Line", "Continuous line", "", "Rectangle", "Ploygon", "",
                                       "Radius Circle", "Diameter Circle", "Three Point Circle", "",
                                       "Angle", "Four Point Angle"}));
    EXPECT_EQ(seen.itemsWithoutIcon, 0);
    EXPECT_EQ(view().tool(), Tool::FourPointAngle);
    EXPECT_TRUE(view().measuring());
    EXPECT_EQ(strip().toolNameBox->text(), "Four point Angle");
    EXPECT_TRUE(strip().measureButton->isLatched());
    EXPECT_FALSE(strip().drawButton->isLatched());
}

TEST_F(PhotoMeasureTest, MenuClosedWithoutAChoiceLeavesNoTool)
{
    openLarge();
    drawWith("Angle");
    ASSERT_EQ(view().tool(), Tool::Angle);
    chooseFromMenu(strip().measureButton, "");
    EXPECT_EQ(view().tool(), Tool::MenuOpen);
    EXPECT_EQ(strip().toolNameBox->text(), "");
    EXPECT_TRUE(strip().measureButton->isLatched());
}

TEST_F(PhotoMeasureTest, CalibrationShowsTheValueRoundedAndBothScalesTakeIt)
{
    // 640 x 480: one canvas pixel is one picture pixel, so a 100-pixel line reads
    // 100 x 0.2963 / 197 mm; against 0.15006 mm that makes 197.454...
    open(picture("Still_2009-03-06_111111_400X_N0013.bmp", 640, 480));
    int changes = 0;
    QObject::connect(window.get(), &PhotoMeasureDialog::calibrationChanged, [&changes] { ++changes; });
    click(strip().calibrationButton);
    EXPECT_TRUE(view().calibrationPending());
    EXPECT_EQ(view().tool(), Tool::Line);
    EXPECT_EQ(strip().toolNameBox->text(), "Line");
    EXPECT_FALSE(strip().calibrationButton->isEnabled());
    EXPECT_TRUE(strip().calibrationButton->isLatched());

    whenModal<CalibrationDialog>([](CalibrationDialog& dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit*>("distanceBox"), "0.15006");
        QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    clickView(100, 100);
    clickView(200, 100);
    settle();
    EXPECT_EQ(strip().calibratedBox->text(), "197.5");
    EXPECT_EQ(view().viewScale(), 197.5);
    EXPECT_EQ(session.workingScale(), 197.5);
    EXPECT_EQ(session.actualDistance(), 0.15006);
    EXPECT_EQ(changes, 1);

    // The calibrated scale wins over the rate box, even an empty one.
    setRate("");
    measureWith("Radius Circle");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(view().viewScale(), 197.5);
    EXPECT_EQ(view().tool(), Tool::RadiusCircle);

    // Once per opening: the disabled button does nothing more.
    click(strip().calibrationButton);
    EXPECT_FALSE(view().calibrationPending());
}

TEST_F(PhotoMeasureTest, CalibrationWithoutRateAsksForOneAndStaysAvailable)
{
    openLarge();
    setRate("0");
    click(strip().calibrationButton);
    EXPECT_EQ(prompter.texts(), QStringList({"Please input the zoomIn scale!"}));
    EXPECT_FALSE(view().calibrationPending());
    EXPECT_TRUE(strip().calibrationButton->isEnabled());
    EXPECT_FALSE(strip().calibrationButton->isLatched());
    EXPECT_EQ(view().tool(), Tool::None);

    open(picture("Still_other_200X_N0002.bmp", 1280, 1024));
    click(strip().calibrationButton);
    EXPECT_TRUE(view().calibrationPending());
}

TEST_F(PhotoMeasureTest, CancelledCalibrationKeepsEveryScale)
{
    openLarge();
    click(strip().calibrationButton);
    whenModal<CalibrationDialog>([](CalibrationDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    });
    clickView(100, 100);
    clickView(300, 100);
    settle();
    EXPECT_EQ(strip().calibratedBox->text(), "");
    EXPECT_EQ(session.workingScale(), 197.0);
    EXPECT_EQ(session.calibrationValue(), 0.0);
    EXPECT_FALSE(view().calibrationPending());
}

TEST_F(PhotoMeasureTest, TextCancelledStillSelectsTheTextToolWithThePreviousText)
{
    openLarge();
    whenModal<TextSettingDialog>([](TextSettingDialog& dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit*>("TextBox"), "crack");
        QTest::mouseClick(dialog.findChild<QPushButton*>("OK"), Qt::LeftButton);
    });
    click(strip().textButton);
    EXPECT_EQ(view().pendingText(), "crack");
    EXPECT_EQ(view().tool(), Tool::Text);

    drawWith("Line");
    whenModal<TextSettingDialog>([](TextSettingDialog& dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit*>("TextBox"), "other");
        QTest::mouseClick(dialog.findChild<QPushButton*>("Cancel"), Qt::LeftButton);
    });
    click(strip().textButton);
    EXPECT_EQ(view().tool(), Tool::Text);
    EXPECT_EQ(view().pendingText(), "crack");
    EXPECT_EQ(strip().toolNameBox->text(), "Line");
    EXPECT_FALSE(strip().drawButton->isLatched());
}

TEST_F(PhotoMeasureTest, PenDialogStartsFromTheViewAndOnlyOkChangesIt)
{
    openLarge();
    ShapeStyle style = view().shapeStyle();
    style.penStyle = 3;
    style.penWidth = 3;
    style.penColor = 0xff0000;
    view().setShapeStyle(style);

    PenSetting handedIn;
    whenModal<PenSettingDialog>([&handedIn](PenSettingDialog& dialog) {
        handedIn = dialog.values();
        QTest::mouseClick(dialog.findChild<QRadioButton*>("DotLine"), Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QPushButton*>("Cancel"), Qt::LeftButton);
    });
    click(strip().penButton);
    EXPECT_EQ(handedIn.lineType, 3);
    EXPECT_EQ(handedIn.lineWidth, 3);
    EXPECT_EQ(handedIn.lineColor, 0xff0000u);
    EXPECT_EQ(view().shapeStyle().penStyle, 3u);

    whenModal<PenSettingDialog>([](PenSettingDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QRadioButton*>("DotLine"), Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QPushButton*>("OK"), Qt::LeftButton);
    });
    click(strip().penButton);
    EXPECT_EQ(view().shapeStyle().penStyle, 2u);
    EXPECT_EQ(view().shapeStyle().penWidth, 3u);
    EXPECT_EQ(view().shapeStyle().penColor, 0xff0000u);
}

TEST_F(PhotoMeasureTest, UndoAndRedoLightUpAsSoonAsThereIsWorkForThem)
{
    openLarge();
    EXPECT_FALSE(strip().undoButton->isEnabled());
    drawLine();
    ASSERT_EQ(session.shapes().size(), 1u);
    EXPECT_TRUE(strip().undoButton->isEnabled());
    EXPECT_TRUE(strip().undoButton->isLatched());
    EXPECT_FALSE(strip().redoButton->isEnabled());

    click(strip().undoButton);
    EXPECT_EQ(session.shapes().size(), 0u);
    EXPECT_EQ(session.redoShapes().size(), 1u);
    EXPECT_FALSE(strip().undoButton->isLatched());
    EXPECT_TRUE(strip().redoButton->isLatched());
    EXPECT_FALSE(strip().drawButton->isLatched());
    // Regression: following the history once stopped at the first shape, leaving Redo
    // disabled for good.
    EXPECT_TRUE(strip().redoButton->isEnabled());

    click(strip().redoButton);
    EXPECT_EQ(session.shapes().size(), 1u);
    EXPECT_TRUE(strip().undoButton->isLatched());
    EXPECT_FALSE(strip().redoButton->isLatched());
}

TEST_F(PhotoMeasureTest, EscapeAndEnterNeitherCloseNorPress)
{
    openLarge();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(strip().rateBox, Qt::Key_Return);
    QTest::keyClick(window.get(), Qt::Key_Enter);
    QTest::keyClick(window->view(), Qt::Key_Escape);
    settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(PhotoMeasureTest, ClosingAsksAndOnlyYesCloses)
{
    openLarge();
    drawLine();
    window->close();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Are you sure to close?");
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Question);
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_TRUE(window->isVisible());

    prompter.answers = {Prompter::Answer::Yes};
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompter.shown.size(), 2u);  // unsaved shapes are not asked about
}

}  // namespace
