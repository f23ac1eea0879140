#include "photomeasure/pensettingdialog.h"

#include "photomeasure/linepreview.h"
#include "photomeasure/widthbox.h"
#include "texts/localtext.h"
#include "support/pixelrows.h"
#include "support/scriptedprompter.h"

#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
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

    ScriptedPrompter prompter;
    std::unique_ptr<PenSettingDialog> dialog;
};

TEST_F(PenDialog, ChoosersOpenOnTheCurrentValuesAndOnlyOkHandsTheChangesBack)
{
    QFont chosen("DejaVu Serif");
    chosen.setPixelSize(20);
    chosen.setBold(true);
    chosen.setUnderline(true);
    const ShapeFont chosenShape{"DejaVu Serif", -20, 700, false, true, false, false};
    const std::pair<const char*, PenSetting> cases[] = {
        {"Cancel", kDashDotBlue},
        {"OK", PenSetting{2, 1, QColor(0, 128, 0), chosenShape, QColor(0x56, 0x34, 0x12)}},
    };
    for (const auto& [button, values] : cases) {
        SCOPED_TRACE(button);
        open(kDashDotBlue);
        EXPECT_TRUE(dialog->findChild<QRadioButton*>("DashDotLine")->isChecked());
        EXPECT_EQ(widthBox()->text(), "3");
        prompter.colorRequests.clear();
        prompter.fontRequests.clear();
        prompter.colors = {std::nullopt, QColor(0, 128, 0), QColor(0x56, 0x34, 0x12)};
        prompter.fonts = {chosen};
        click("DotLine");
        typeWidth("1");
        click("PenColor");  // cancelled
        click("PenColor");
        EXPECT_FALSE(rowsWith(previewImage(), QColor(0, 128, 0)).empty());
        click("Font");
        // The font chooser opens on the default font, not on the label font.
        EXPECT_EQ(prompter.fontRequests, (std::vector<std::optional<QFont>>{std::nullopt}));
        EXPECT_EQ(prompter.colorRequests, (std::vector<QColor>{kBlue, kBlue, kGreen}));
        click(button);
        EXPECT_EQ(dialog->result(), button == cases[0].first ? QDialog::Rejected : QDialog::Accepted);
        EXPECT_EQ(dialog->values(), values);
    }
}

TEST_F(PenDialog, OkRefusesWidthsOutsideOneToThreeAndTheArrowsStepWithinThem)
{
    for (const QString text : {"0", "4", "-1", "", "abc", "2.5", "2a", "99999999999"}) {
        open(kDashDotBlue);
        prompter.shown.clear();
        typeWidth(text);
        click("OK");
        EXPECT_TRUE(dialog->isVisible()) << text.toStdString();
        EXPECT_EQ(prompter.texts(), QStringList{"Please enter an integer between 1 and 3."}) << text.toStdString();
        EXPECT_EQ(dialog->values().lineWidth, 3) << text.toStdString();  // nothing handed back
    }
    EXPECT_EQ(prompter.shown.at(0).icon, Prompter::Icon::Warning);

    const std::tuple<const char*, Qt::Key, const char*> steps[] = {
        {"3", Qt::Key_Up, "3"}, {"1", Qt::Key_Down, "1"}, {"0", Qt::Key_Up, "1"},   {"4", Qt::Key_Down, "3"},
        {"abc", Qt::Key_Up, "1"}, {"-7", Qt::Key_Down, "-7"}, {"9", Qt::Key_Up, "9"}, {"1", Qt::Key_Up, "2"}};
    for (const auto& [start, key, result] : steps) {
        typeWidth(start);
        QTest::keyClick(widthBox(), key);
        EXPECT_EQ(widthBox()->text(), result) << start << (key == Qt::Key_Up ? " up" : " down");
    }
    EXPECT_EQ(rowsWith(previewImage(), kBlue).size(), 2u);  // the arrows repaint the preview too
    typeWidth(" 1 ");
    click("OK");
    EXPECT_EQ(dialog->values().lineWidth, 1);
}

TEST_F(PenDialog, PreviewDrawsEachLineTypeItsOwnWayAndTypedWidths)
{
    open(PenSetting{});
    const auto redLine = [this] {
        const QImage image = previewImage();
        const std::vector<int> rows = rowsWith(image, kRed);
        EXPECT_EQ(rows.size(), 1u);
        return rows.empty() ? QImage() : image.copy(0, rows[0], image.width(), 1);
    };
    std::vector<QImage> lines{redLine()};  // solid
    for (const char* key : {"DashLine", "DotLine", "DashDotLine", "DashDotDotLine"}) {
        click(key);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), redLine()), 0) << key;
        lines.push_back(redLine());
    }
    typeWidth("4");  // wider pens draw solid, even outside the range OK accepts
    EXPECT_EQ(rowsWith(previewImage(), kRed).size(), 4u);
}

}  // namespace
