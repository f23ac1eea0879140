#include "platform/fontcolordialog.h"

#include "support/scriptedprompter.h"

#include <QApplication>
#include <QFontDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

TEST(FontColorDialog, OpensOnTheFamilyAnAliasResolvesToAndOnTheGivenColor)
{
    QFont arial("Arial");
    arial.setPixelSize(16);
    arial.setItalic(true);
    FontColorDialog dialog(arial, QColor(255, 0, 0));
    EXPECT_EQ(dialog.selectedFont().family(), "Liberation Sans");
    EXPECT_EQ(dialog.selectedFont().pointSize(), 12);
    EXPECT_TRUE(dialog.selectedFont().italic());
    EXPECT_EQ(dialog.selectedColor(), QColor(255, 0, 0));
}

TEST(FontColorDialog, WithoutAnInitialFontOpensOnTheDefaultFont)
{
    FontColorDialog dialog(std::nullopt, QColor(0, 0, 255));
    EXPECT_EQ(dialog.selectedFont().family(), QFontInfo(QApplication::font()).family());
    EXPECT_EQ(dialog.selectedColor(), QColor(0, 0, 255));
}

// Regression: Enter or Esc typed inside the font list used to close only the embedded
// chooser, leaving an empty dialog on screen that could not be answered.
TEST(FontColorDialog, EnterAndEscapeInsideTheChooserAnswerTheWholeDialog)
{
    for (const auto& [key, result] : {std::pair{Qt::Key_Return, QDialog::Accepted},
                                      std::pair{Qt::Key_Escape, QDialog::Rejected}}) {
        FontColorDialog dialog(QFont("DejaVu Sans", 10), QColor(0, 128, 0));
        dialog.show();
        auto* chooser = dialog.findChild<QFontDialog*>();
        ASSERT_NE(chooser, nullptr);
        QLineEdit* sizeBox = chooser->findChildren<QLineEdit*>().last();
        QTest::keyClick(sizeBox, key);
        EXPECT_FALSE(dialog.isVisible()) << key;
        EXPECT_EQ(dialog.result(), result) << key;
        EXPECT_FALSE(chooser->isHidden()) << key;
    }
}

TEST(FontChooserWithColor, BaseVersionAsksForTheFontThenTheColor)
{
    ScriptedPrompter prompter;
    prompter.fonts.push_back(QFont("DejaVu Serif", 11));
    prompter.colors.push_back(QColor(1, 2, 3));
    std::optional<Prompter::FontChoice> choice = prompter.chooseFontWithColor(nullptr, std::nullopt, Qt::red);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->font.family(), "DejaVu Serif");
    EXPECT_EQ(choice->color, QColor(1, 2, 3));

    // A cancelled color keeps the initial one; a cancelled font answers nothing at all.
    prompter.fonts.push_back(QFont("DejaVu Sans", 11));
    choice = prompter.chooseFontWithColor(nullptr, QFont("DejaVu Serif"), QColor(4, 5, 6));
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->color, QColor(4, 5, 6));
    prompter.colors.push_back(QColor(7, 8, 9));
    EXPECT_FALSE(prompter.chooseFontWithColor(nullptr, std::nullopt, Qt::red).has_value());
    EXPECT_EQ(prompter.colors.size(), 1u);
}
