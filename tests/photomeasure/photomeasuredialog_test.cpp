#include "photomeasurefixture.h"

#include "photomeasure/calibrationdialog.h"
#include "photomeasure/pensettingdialog.h"
#include "photomeasure/textsettingdialog.h"

#include <QPushButton>
#include <QRadioButton>

namespace {

TEST_F(PhotoMeasureTest, MeasuringMenuAppliesTheRateFromThePictureNameForThePictureSize)
{
    open(picture("Still_2009-03-05_101530_400X_N0001.bmp", 640, 480));
    EXPECT_EQ(strip().rateBox->text(), "400");
    EXPECT_EQ(chooseFromMenu(strip().measureButton, "Four Point Angle"),
              QStringList({"Line", "Continuous line", "", "Rectangle", "Ploygon", "", "Radius Circle",
                           "Diameter Circle", "Three Point Circle", "", "Angle", "Four Point Angle"}));
    EXPECT_EQ(view().viewScale(), 197.0);  // halved for 640 x 480, less the offset of 3
    EXPECT_EQ(session.workingScale(), 197.0);
    EXPECT_EQ(strip().toolNameBox->text(), "Four point Angle");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(PhotoMeasureTest, MeasuringOrCalibratingWithoutUsableRateAsksForOneAndLeavesNoTool)
{
    openLarge();
    for (const char* rate : {"", "abc"}) {
        setRate(rate);
        measureWith("Rectangle");
        EXPECT_EQ(strip().toolNameBox->text(), "") << rate;
    }
    setRate("0");
    click(strip().calibrationButton);
    EXPECT_EQ(prompter.texts(), QStringList(3, "Please input the zoomIn scale!"));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);
    EXPECT_FALSE(view().calibrationPending());
    EXPECT_TRUE(strip().calibrationButton->isEnabled());
    clickLine();
    EXPECT_TRUE(session.shapes().empty());
}

TEST_F(PhotoMeasureTest, CalibrationShowsTheValueRoundedAndBothScalesTakeIt)
{
    // 640 x 480: one canvas pixel is one picture pixel, so a 100-pixel line reads
    // 100 x 0.2963 / 197 mm; against 0.15006 mm that makes 197.454...
    open(picture("Still_2009-03-06_111111_400X_N0013.bmp", 640, 480));
    int changes = 0;
    QObject::connect(window.get(), &PhotoMeasureDialog::calibrationChanged, [&changes] { ++changes; });
    click(strip().calibrationButton);
    whenModal<CalibrationDialog>([](CalibrationDialog& dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit*>("distanceBox"), "0.15006");
        QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    clickLine();
    settle();
    EXPECT_EQ(strip().calibratedBox->text(), "197.5");
    EXPECT_EQ(session.workingScale(), 197.5);
    EXPECT_EQ(changes, 1);
    // The calibrated scale wins over the rate box, even an empty one.
    setRate("");
    measureWith("Radius Circle");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(view().viewScale(), 197.5);
    click(strip().calibrationButton);  // once per opening
    EXPECT_FALSE(view().calibrationPending());
}

TEST_F(PhotoMeasureTest, TextCancelledStillSelectsTheTextToolWithThePreviousText)
{
    openLarge();
    for (const auto& [typed, button] : {std::pair{"crack", "OK"}, {"other", "Cancel"}}) {
        chooseFromMenu(strip().drawButton, "Line");
        whenModal<TextSettingDialog>([typed, button](TextSettingDialog& dialog) {
            QTest::keyClicks(dialog.findChild<QLineEdit*>("TextBox"), typed);
            QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
        });
        click(strip().textButton);
    }
    clickView(50, 60);
    ASSERT_EQ(session.shapes().size(), 1u);
    EXPECT_EQ(session.shapes()[0].kind, ShapeKind::Text);
    EXPECT_EQ(session.shapes()[0].labels, std::vector<std::string>{"crack"});
}

TEST_F(PhotoMeasureTest, PenDialogStartsFromTheViewAndOkChangesIt)
{
    openLarge();
    view().setPen(PenStyle::DashDot, 3, QColor(0, 0, 255));
    PenSetting handedIn;
    whenModal<PenSettingDialog>([&handedIn](PenSettingDialog& dialog) {
        handedIn = dialog.values();
        QTest::mouseClick(dialog.findChild<QRadioButton*>("DotLine"), Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QPushButton*>("OK"), Qt::LeftButton);
    });
    click(strip().penButton);
    EXPECT_EQ(handedIn, (PenSetting{3, 3, QColor(0, 0, 255), ShapeFont::arial(14), QColor(255, 0, 0)}));
    EXPECT_EQ(view().shapeStyle().penStyle, PenStyle::Dot);
    EXPECT_EQ(view().shapeStyle().penWidth, 3u);
    EXPECT_EQ(view().penColor(), QColor(0, 0, 255));
}

TEST_F(PhotoMeasureTest, UndoAndRedoLightUpAsSoonAsThereIsWorkForThem)
{
    openLarge();
    EXPECT_FALSE(strip().undoButton->isEnabled());
    drawLine();
    EXPECT_TRUE(strip().undoButton->isEnabled());
    EXPECT_FALSE(strip().redoButton->isEnabled());
    click(strip().undoButton);
    // Regression: following the history once stopped at the first shape, leaving Redo
    // disabled for good.
    EXPECT_TRUE(strip().redoButton->isEnabled());
    click(strip().redoButton);
    EXPECT_EQ(session.shapes().size(), 1u);
}

TEST_F(PhotoMeasureTest, EscapeAndEnterNeitherCloseNorPressAndClosingAsksFirst)
{
    openLarge();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(strip().rateBox, Qt::Key_Return);
    QTest::keyClick(window->view(), Qt::Key_Escape);
    settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(prompter.shown.empty());

    drawLine();
    window->close();
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to close?"}));
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_TRUE(window->isVisible());
    prompter.answers = {Prompter::Answer::Yes};
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompter.shown.size(), 2u);  // unsaved shapes are not asked about
}

}  // namespace
