#include "photomeasurefixture.h"

#include "photomeasure/calibrationdialog.h"
#include "photomeasure/keptcalibrationoffer.h"
#include "photomeasure/pensettingdialog.h"
#include "photomeasure/textsettingdialog.h"

#include <QPushButton>
#include <QRadioButton>

namespace {

TEST(CalibrationDialog, RefusesEntriesThatAreNotAPositiveLengthAndOkTakesTheLeadingNumber)
{
    ScriptedPrompter prompter;
    CalibrationDialog dialog{LocalText(), prompter};
    dialog.show();
    const auto enter = [&dialog](const char* entry, const char* button) {
        auto* box = dialog.findChild<QLineEdit*>("distanceBox");
        box->clear();
        QTest::keyClicks(box, entry);
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    };
    for (const char* entry : {"0", "", "abc", "-2", "0.0", "nan", "inf"}) {
        prompter.shown.clear();
        enter(entry, "okButton");
        EXPECT_EQ(prompter.texts(), QStringList{"Please enter digital!"}) << entry;
        EXPECT_TRUE(dialog.isVisible()) << entry;
    }
    EXPECT_EQ(prompter.shown.at(0).icon, Prompter::Icon::None);
    enter("3", "cancelButton");
    EXPECT_EQ(dialog.actualDistance(), 0.0);
    dialog.show();
    enter("2.5mm", "okButton");
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.actualDistance(), 2.5);
}

TEST_F(PhotoMeasureTest, MeasuringOrCalibratingWithoutUsableRateAsksForOneAndLeavesNoTool)
{
    openLarge();
    strip().rateBox->setText("abc");
    chooseFromMenu(strip().measureButton, "Rectangle");
    EXPECT_EQ(strip().toolNameBox->text(), "");
    strip().rateBox->setText("0");
    click(strip().calibrationButton);
    EXPECT_EQ(prompter.texts(), QStringList(2, "Please input the zoomIn scale!"));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);
    EXPECT_FALSE(view().calibrationPending());
    EXPECT_TRUE(strip().calibrationButton->isEnabled());
    clickLine();
    EXPECT_TRUE(session.shapes().empty());
}

TEST_F(PhotoMeasureTest, RateFromThePictureNameForThePictureSizeThenACalibrationRoundedForBothScales)
{
    open(picture("Still_2009-03-05_101530_400X_N0001.bmp", 640, 480));
    EXPECT_EQ(strip().rateBox->text(), "400");
    EXPECT_EQ(chooseFromMenu(strip().measureButton, "Four Point Angle"),
              QStringList({"Line", "Continuous line", "", "Rectangle", "Ploygon", "", "Radius Circle",
                           "Diameter Circle", "Three Point Circle", "", "Angle", "Four Point Angle"}));
    EXPECT_EQ(view().viewScale(), 197.0);  // halved for 640 x 480, less the offset of 3
    EXPECT_EQ(session.workingScale(), 197.0);
    EXPECT_EQ(strip().toolNameBox->text(), "Four point Angle");

    // 640 x 480: one canvas pixel is one picture pixel, so a 100-pixel line reads
    // 100 x 0.2963 / 197 mm; against 0.15006 mm that makes 197.454...
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
    strip().rateBox->setText("");
    chooseFromMenu(strip().measureButton, "Radius Circle");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(view().viewScale(), 197.5);
    click(strip().calibrationButton);  // once per opening
    EXPECT_FALSE(view().calibrationPending());
}

TEST_F(PhotoMeasureTest, PenDialogStartsFromTheViewAndTextCancelledStillSelectsTheToolWithThePreviousText)
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

TEST_F(PhotoMeasureTest, EscapeAndEnterNeitherCloseNorPressUndoRedoLightUpAndClosingAsksFirst)
{
    openLarge();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(strip().rateBox, Qt::Key_Return);
    QTest::keyClick(window->view(), Qt::Key_Escape);
    settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(prompter.shown.empty());

    EXPECT_FALSE(strip().undoButton->isEnabled());
    drawLine();
    EXPECT_FALSE(strip().redoButton->isEnabled());
    click(strip().undoButton);
    // Regression: following the history once stopped at the first shape, leaving Redo
    // disabled for good.
    EXPECT_TRUE(strip().redoButton->isEnabled());
    click(strip().redoButton);
    EXPECT_EQ(session.shapes().size(), 1u);
    window->close();
    EXPECT_EQ(prompter.texts(), QStringList({"Are you sure to close?"}));
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_TRUE(window->isVisible());
    prompter.answers = {Prompter::Answer::Yes};
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompter.shown.size(), 2u);  // unsaved shapes are not asked about
}

TEST_F(PhotoMeasureTest, KeptCalibrationIsOfferedForItsMagnificationAndSizeOnlyAndMeasuresAsTheCalibrationDid)
{
    const QString large = picture(kLargeName, 1280, 1024);  // 200.0X in its name
    open(large);
    EXPECT_TRUE(window->keptOffer().applyButton()->isHidden());
    EXPECT_FALSE(window->keptOffer().keepAction()->isVisible());
    click(strip().calibrationButton);
    whenModal<CalibrationDialog>([](CalibrationDialog& dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit*>("distanceBox"), "0.15006");
        QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    clickLine();
    settle();
    const QString calibrated = strip().calibratedBox->text();
    const double value = session.calibrationValue();
    chooseFromMenu(strip().measureButton, "Line");
    clickView(120, 200);
    clickView(410, 260);
    const std::vector<std::string> readout = session.shapes().back().labels;
    QPushButton* keep = window->keptOffer().keepButton();
    EXPECT_EQ(keep->text(), QString::fromUtf8("Keep for 200X at 1280 × 1024"));
    EXPECT_TRUE(window->keptOffer().keepAction()->isVisible());
    click(keep);
    EXPECT_TRUE(keep->isHidden());
    ASSERT_EQ(calibrations.entries().size(), 1u);

    // Opened again: offered, not applied, until clicked.
    session.useCalibration(0.0);
    open(large);
    QPushButton* apply = window->keptOffer().applyButton();
    EXPECT_TRUE(apply->isVisible());
    EXPECT_EQ(apply->text(), "Apply kept " + calibrated + " (200X)");
    EXPECT_EQ(strip().calibratedBox->text(), "");
    strip().rateBox->setText("100");
    EXPECT_TRUE(apply->isHidden());
    strip().rateBox->setText("200");
    int changes = 0;
    QObject::connect(window.get(), &PhotoMeasureDialog::calibrationChanged, [&changes] { ++changes; });
    click(apply);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(strip().calibratedBox->text(), calibrated);
    EXPECT_EQ(session.calibrationValue(), value);
    EXPECT_TRUE(apply->isHidden());
    chooseFromMenu(strip().measureButton, "Line");
    clickView(120, 200);
    clickView(410, 260);
    EXPECT_EQ(session.shapes().back().labels, readout);

    // The same magnification on a picture of another size has nothing kept.
    open(picture("Still_2009-03-05_101530_200X_N0002.bmp", 640, 480));
    EXPECT_EQ(strip().rateBox->text(), "200");
    EXPECT_TRUE(window->keptOffer().applyButton()->isHidden());
}

}  // namespace
