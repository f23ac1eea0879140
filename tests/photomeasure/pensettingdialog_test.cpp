#include "photomeasure/pensettingdialog.h"

#include "photomeasure/linepreview.h"
#include "photomeasure/widthbox.h"
#include "texts/localtext.h"
#include "support/chooserrecordingprompter.h"
#include "support/pixelrows.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 255, 0);
const PenSetting kDashDotBlue{3, 3, kBlue, ShapeFont::arial(14), kGreen};

class PenDialog : public ::testing::Test {
protected:
    void open(const PenSetting& values)
    {
        dialog = std::make_unique<PenSettingDialog>(prompter, LocalText());
        dialog->setValues(values);
        dialog->show();
    }
    WidthBox* widthBox() const { return dialog->findChild<WidthBox*>("PenWidthBox"); }
    QImage previewImage() const { return grabImage(dialog->findChild<LinePreview*>("LinePriview")); }
    void click(const char* name) { QTest::mouseClick(dialog->findChild<QAbstractButton*>(name), Qt::LeftButton); }
    void typeWidth(const QString& text)
    {
        QTest::keyClick(widthBox(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(widthBox(), Qt::Key_Delete);
        QTest::keyClicks(widthBox(), text);
    }

    ChooserRecordingPrompter prompter;
    std::unique_ptr<PenSettingDialog> dialog;
};

TEST_F(PenDialog, OpensOnTheHandedInPenAndCancelDropsEveryChange)
{
    open(kDashDotBlue);
    EXPECT_TRUE(dialog->findChild<QRadioButton*>("DashDotLine")->isChecked());
    EXPECT_EQ(widthBox()->text(), "3");
    prompter.script.colors = {QColor(0, 128, 0), QColor(1, 2, 3)};
    prompter.script.fonts.push_back(QFont("DejaVu Serif", 20));
    click("DotLine");
    typeWidth("1");
    click("PenColor");
    click("Font");
    click("Cancel");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->values(), kDashDotBlue);
}

TEST_F(PenDialog, OkRefusesWidthsOutsideOneToThreeUntilOneFits)
{
    for (const QString text : {"0", "4", "-1", "", "abc", "2.5", "2a", "99999999999"}) {
        open(kDashDotBlue);
        prompter.script.shown.clear();
        typeWidth(text);
        click("OK");
        EXPECT_TRUE(dialog->isVisible()) << text.toStdString();
        ASSERT_EQ(prompter.script.shown.size(), 1u) << text.toStdString();
        EXPECT_EQ(prompter.script.shown[0].text, "Please enter an integer between 1 and 3.");
        EXPECT_EQ(prompter.script.shown[0].icon, Prompter::Icon::Warning);
        EXPECT_EQ(dialog->values().lineWidth, 3) << text.toStdString();  // nothing handed back
    }
    typeWidth(" 1 ");
    click("OK");
    EXPECT_EQ(dialog->values().lineWidth, 1);
}

TEST_F(PenDialog, PreviewDrawsEachLineTypeAndTypedWidths)
{
    const std::pair<const char*, std::vector<int>> patterns[] = {
        {"DashLine", {18, 6, 18, 6}},
        {"DotLine", {3, 3, 3, 3}},
        {"DashDotLine", {9, 6, 3, 6, 9}},
        {"DashDotDotLine", {9, 3, 3, 3, 3, 3, 9}},
    };
    open(PenSetting{});
    for (const auto& [key, pattern] : patterns) {
        click(key);
        const QImage image = previewImage();
        std::vector<int> runs = runLengths(image, image.height() / 2, kRed);
        runs.resize(std::min(runs.size(), pattern.size()));
        EXPECT_EQ(runs, pattern) << key;
        EXPECT_EQ(rowsWith(image, kRed).size(), 1u) << key;
    }
    typeWidth("4");  // wider pens draw solid, even outside the range OK accepts
    EXPECT_EQ(rowsWith(previewImage(), kRed).size(), 4u);
}

TEST_F(PenDialog, UpDownArrowsStepFromTheBoxAndStayWithinOneToThree)
{
    const std::tuple<const char*, Qt::Key, const char*> cases[] = {
        {"3", Qt::Key_Up, "3"}, {"1", Qt::Key_Down, "1"}, {"0", Qt::Key_Up, "1"},   {"4", Qt::Key_Down, "3"},
        {"abc", Qt::Key_Up, "1"}, {"-7", Qt::Key_Down, "-7"}, {"9", Qt::Key_Up, "9"}, {"1", Qt::Key_Up, "2"}};
    open(PenSetting{});
    for (const auto& [start, key, result] : cases) {
        typeWidth(start);
        QTest::keyClick(widthBox(), key);
        EXPECT_EQ(widthBox()->text(), result) << start << (key == Qt::Key_Up ? " up" : " down");
    }
    EXPECT_EQ(rowsWith(previewImage(), kRed).size(), 2u);  // the arrows repaint the preview too
}

TEST_F(PenDialog, ChoosersOpenOnTheCurrentColorsAndTheirAnswersAreHandedBack)
{
    open(kDashDotBlue);
    click("PenColor");  // cancelled: the chooser's answer queue is empty
    prompter.script.colors.push_back(QColor(0, 128, 0));
    click("PenColor");
    EXPECT_EQ(prompter.colorRequests, (std::vector<QColor>{kBlue, kBlue}));
    EXPECT_FALSE(rowsWith(previewImage(), QColor(0, 128, 0)).empty());

    QFont chosen("DejaVu Serif");
    chosen.setPixelSize(20);
    chosen.setBold(true);
    chosen.setUnderline(true);
    prompter.script.fonts.push_back(chosen);
    prompter.script.colors.push_back(QColor(0x56, 0x34, 0x12));
    click("Font");
    // The font chooser opens on the default font, not on the label font.
    EXPECT_EQ(prompter.fontWithColorRequests, (std::vector<std::optional<QFont>>{std::nullopt}));
    EXPECT_EQ(prompter.fontColorRequests, std::vector<QColor>{kGreen});
    click("OK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const ShapeFont expected{"DejaVu Serif", -20, 700, false, true, false, false};
    EXPECT_EQ(dialog->values(), (PenSetting{3, 3, QColor(0, 128, 0), expected, QColor(0x56, 0x34, 0x12)}));
}

}  // namespace
