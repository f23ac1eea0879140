#include "photomeasure/textsettingdialog.h"

#include "photomeasure/textpreview.h"
#include "texts/localtext.h"
#include "support/chooserrecordingprompter.h"
#include "support/pixelrows.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 128, 0);

class TextDialog : public ::testing::Test {
protected:
    void open(const QColor& color, const ShapeFont& font)
    {
        dialog = std::make_unique<TextSettingDialog>(prompter, LocalText());
        dialog->setTextColor(color);
        dialog->setTextFont(font);
        dialog->show();
    }
    QLineEdit* textBox() const { return dialog->findChild<QLineEdit*>("TextBox"); }
    void click(const char* name) { QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton); }
    QRect previewBounds(const QColor& color) const
    {
        return boundsOf(grabImage(dialog->findChild<TextPreview*>("Preview")), color);
    }

    ChooserRecordingPrompter prompter;
    std::unique_ptr<TextSettingDialog> dialog;
};

TEST_F(TextDialog, CancelHandsBackNoTextAndTheHandedInFontAndColor)
{
    open(kBlue, ShapeFont::arial(12));
    QTest::keyClicks(textBox(), "gone");
    prompter.script.fonts.push_back(QFont("DejaVu Serif", 30));
    prompter.script.colors.push_back(QColor(9, 9, 9));
    click("Font");
    click("Cancel");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(dialog->text().isEmpty());
    EXPECT_EQ(dialog->textColor(), kBlue);
    EXPECT_EQ(dialog->textFont(), ShapeFont::arial(12));
}

TEST_F(TextDialog, TextBoxTakesAtMost254CharactersAndNoHalfCharacter)
{
    open(kBlue, ShapeFont::arial(12));
    QTest::keyClicks(textBox(), QString(300, u'a'));
    EXPECT_EQ(textBox()->text(), QString(254, u'a'));
    // A paste cut at the limit must not keep half of a character outside the basic plane.
    const QString smiley = QString::fromUtf8("\xF0\x9F\x98\x80");
    QTest::keyClick(textBox(), Qt::Key_Backspace);
    QApplication::clipboard()->setText(smiley);
    QTest::keyClick(textBox(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(textBox()->text(), QString(253, u'a'));
    QTest::keyClick(textBox(), Qt::Key_Backspace);
    QApplication::clipboard()->setText(smiley + smiley);
    QTest::keyClick(textBox(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(textBox()->text(), QString(252, u'a') + smiley);
}

TEST_F(TextDialog, OkHandsBackTheTypedTextInTheFontAndColorChosenAndThePreviewShowsThem)
{
    open(kBlue, ShapeFont{"DejaVu Sans", -20});
    QFont chosen("DejaVu Serif");
    chosen.setPointSize(15);  // 20 pixels at 96 pixels an inch
    chosen.setItalic(true);
    chosen.setStrikeOut(true);
    prompter.script.fonts.push_back(chosen);
    prompter.script.colors.push_back(kGreen);
    click("Font");
    EXPECT_EQ(prompter.fontWithColorRequests[0]->family(), "DejaVu Sans");
    EXPECT_EQ(prompter.fontWithColorRequests[0]->pixelSize(), 20);
    EXPECT_EQ(prompter.fontColorRequests[0], kBlue);

    EXPECT_TRUE(previewBounds(kGreen).isNull());  // nothing shows without text
    QTest::keyClicks(textBox(), "H");
    const QRect one = previewBounds(kGreen);
    EXPECT_FALSE(one.isNull());
    EXPECT_TRUE(previewBounds(kBlue).isNull());
    QTest::keyClicks(textBox(), "H");
    EXPECT_GT(previewBounds(kGreen).width(), one.width());
    QTest::keyClick(textBox(), Qt::Key_Backspace);
    EXPECT_TRUE(dialog->text().isEmpty());
    // Asked again, the chooser starts from the font just chosen.
    click("Font");
    EXPECT_EQ(prompter.fontWithColorRequests[1]->family(), "DejaVu Serif");
    EXPECT_EQ(prompter.fontColorRequests[1], kGreen);
    click("OK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->text(), "H");
    EXPECT_EQ(dialog->textFont(), (ShapeFont{"DejaVu Serif", -20, 400, true, false, true, false}));
    EXPECT_EQ(dialog->textColor(), kGreen);
}

}  // namespace
