// The pen and the text dialogs of the photo-measure window: choosers, limits, previews.
#include "photomeasure/pensettingdialog.h"
#include "photomeasure/textsettingdialog.h"

#include "photomeasure/linepreview.h"
#include "photomeasure/textpreview.h"
#include "photomeasure/widthbox.h"
#include "texts/localtext.h"
#include "support/pixelrows.h"
#include "support/scriptedprompter.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
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
const ShapeFont kSans{"DejaVu Sans", -20};

/// Either dialog, shown, its choosers answered by a script.
template <typename Dialog>
class SettingDialog : public ::testing::Test {
protected:
    void click(const char* name)
    {
        QTest::mouseClick(dialog->template findChild<QAbstractButton*>(name), Qt::LeftButton);
    }

    ScriptedPrompter prompter;
    std::unique_ptr<Dialog> dialog;
};

class PenDialog : public SettingDialog<PenSettingDialog> {
protected:
    void open(const PenSetting& values)
    {
        dialog = std::make_unique<PenSettingDialog>(prompter, LocalText());
        dialog->setValues(values);
        dialog->show();
    }
    WidthBox* widthBox() const { return dialog->findChild<WidthBox*>("PenWidthBox"); }
    QImage previewImage() const { return grabImage(dialog->findChild<LinePreview*>("LinePriview")); }
    void typeWidth(const QString& text)
    {
        QTest::keyClick(widthBox(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(widthBox(), Qt::Key_Delete);
        QTest::keyClicks(widthBox(), text);
    }
};

class TextDialog : public SettingDialog<TextSettingDialog> {
protected:
    void open(const QColor& color, const ShapeFont& font)
    {
        dialog = std::make_unique<TextSettingDialog>(prompter, LocalText());
        dialog->setTextColor(color);
        dialog->setTextFont(font);
        dialog->show();
    }
    QLineEdit* textBox() const { return dialog->findChild<QLineEdit*>("TextBox"); }
    QRect previewBounds(const QColor& color) const
    {
        return boundsOf(grabImage(dialog->findChild<TextPreview*>("Preview")), color);
    }
};

TEST_F(PenDialog, ChoosersOpenOnTheCurrentValuesAndOnlyOkHandsTheChangesBack)
{
    QFont chosen("DejaVu Serif");
    chosen.setPixelSize(20);
    chosen.setBold(true);
    chosen.setUnderline(true);
    open(kDashDotBlue);
    click("DotLine");
    typeWidth("1");
    click("Cancel");
    EXPECT_EQ(dialog->values(), kDashDotBlue);

    open(kDashDotBlue);
    EXPECT_TRUE(dialog->findChild<QRadioButton*>("DashDotLine")->isChecked());
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
    click("OK");
    EXPECT_EQ(dialog->values(), (PenSetting{2, 1, QColor(0, 128, 0), {"DejaVu Serif", -20, 700, false, true, false, false},
                                            QColor(0x56, 0x34, 0x12)}));
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
    std::vector<QImage> lines;
    for (const char* key : {"SolidLine", "DashLine", "DotLine", "DashDotLine", "DashDotDotLine"}) {
        click(key);
        const QImage image = previewImage();
        const std::vector<int> rows = rowsWith(image, kRed);
        ASSERT_EQ(rows.size(), 1u) << key;
        const QImage line = image.copy(0, rows[0], image.width(), 1);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 0) << key;
        lines.push_back(line);
    }
    typeWidth("4");  // wider pens draw solid, even outside the range OK accepts
    EXPECT_EQ(rowsWith(previewImage(), kRed).size(), 4u);
}

TEST_F(TextDialog, TextBoxTakesAtMost254CharactersAndNoHalfCharacter)
{
    open(kBlue, ShapeFont::arial(12));
    QTest::keyClicks(textBox(), QString(300, u'a'));
    EXPECT_EQ(textBox()->text(), QString(254, u'a'));
    // A paste cut at the limit must not keep half of a character outside the basic plane.
    const QString smiley = QString::fromUtf8("\xF0\x9F\x98\x80");
    for (const QString& paste : {smiley, smiley + smiley}) {
        QTest::keyClick(textBox(), Qt::Key_Backspace);
        QApplication::clipboard()->setText(paste);
        QTest::keyClick(textBox(), Qt::Key_V, Qt::ControlModifier);
    }
    EXPECT_EQ(textBox()->text(), QString(252, u'a') + smiley);
}

TEST_F(TextDialog, ChooserStartsFromTheCurrentFontThePreviewShowsTheChoiceAndOnlyOkHandsItBack)
{
    QFont chosen("DejaVu Serif");
    chosen.setPointSize(15);  // 20 pixels at 96 pixels an inch
    chosen.setItalic(true);
    chosen.setStrikeOut(true);
    const ShapeFont chosenShape{"DejaVu Serif", -20, 400, true, false, true, false};
    for (const char* button : {"Cancel", "OK"}) {
        SCOPED_TRACE(button);
        const bool ok = button == std::string("OK");
        open(kBlue, kSans);
        prompter.fontRequests.clear();
        prompter.colorRequests.clear();
        prompter.fonts = {chosen, chosen};
        prompter.colors = {kGreen, kGreen};
        click("Font");
        click("Font");  // asked again, the chooser starts from the font just chosen
        ASSERT_EQ(prompter.fontRequests.size(), 2u);
        EXPECT_EQ(prompter.fontRequests[0]->family(), "DejaVu Sans");
        EXPECT_EQ(prompter.fontRequests[0]->pixelSize(), 20);
        EXPECT_EQ(prompter.fontRequests[1]->family(), "DejaVu Serif");
        EXPECT_EQ(prompter.colorRequests, (std::vector<QColor>{kBlue, kGreen}));

        EXPECT_TRUE(previewBounds(kGreen).isNull());  // nothing shows without text
        QTest::keyClicks(textBox(), "H");
        EXPECT_FALSE(previewBounds(kGreen).isNull());
        EXPECT_TRUE(previewBounds(kBlue).isNull());
        click(button);
        EXPECT_EQ(dialog->text(), ok ? "H" : "");
        EXPECT_EQ(dialog->textFont(), ok ? chosenShape : kSans);
        EXPECT_EQ(dialog->textColor(), ok ? kGreen : kBlue);
    }
}

}  // namespace
