#include "photomeasure/textsettingdialog.h"

#include "photomeasure/textpreview.h"
#include "texts/localtext.h"
#include "support/pixelrows.h"
#include "support/scriptedprompter.h"

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
const ShapeFont kSans{"DejaVu Sans", -20};

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

    ScriptedPrompter prompter;
    std::unique_ptr<TextSettingDialog> dialog;
};

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
        const QRect one = previewBounds(kGreen);
        EXPECT_FALSE(one.isNull());
        EXPECT_TRUE(previewBounds(kBlue).isNull());
        QTest::keyClicks(textBox(), "H");
        EXPECT_GT(previewBounds(kGreen).width(), one.width());
        QTest::keyClick(textBox(), Qt::Key_Backspace);
        click(button);
        EXPECT_EQ(dialog->result(), ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dialog->text(), ok ? "H" : "");
        EXPECT_EQ(dialog->textFont(), ok ? chosenShape : kSans);
        EXPECT_EQ(dialog->textColor(), ok ? kGreen : kBlue);
    }
}

}  // namespace
