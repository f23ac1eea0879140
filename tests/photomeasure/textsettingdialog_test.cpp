#include "photomeasure/textsettingdialog.h"

#include "measure/qfontdescription.h"
#include "texts/localtext.h"
#include "previewpixels.h"
#include "recordingprompter.h"
#include "photomeasure/textpreview.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
const QColor blue(0, 0, 255);

// Sharp glyphs, so every text pixel has exactly the text color.
FontDescription sharpFont(int32_t height)
{
    FontDescription font = FontDescription::arial(height);
    font.setFace("DejaVu Sans");
    font.quality = 3;
    return font;
}

class TextDialog : public ::testing::Test {
protected:
    void open(uint32_t color = 0xFF0000, const FontDescription& font = sharpFont(-20))
    {
        dialog = std::make_unique<TextSettingDialog>(prompter, LocalText());
        dialog->setTextColor(color);
        dialog->setTextFont(font);
        dialog->show();
    }
    QLineEdit* textBox() const { return dialog->findChild<QLineEdit*>("TextBox"); }
    void click(const char* name) { QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton); }
    QImage previewImage() const { return grabImage(dialog->findChild<TextPreview*>("Preview")); }

    RecordingPrompter prompter;
    std::unique_ptr<TextSettingDialog> dialog;
};
}  // namespace

TEST_F(TextDialog, OkHandsBackTheTypedTextWithTheHandedInFontAndColor)
{
    open(0x00FF00, FontDescription::arial(12));
    EXPECT_TRUE(textBox()->text().isEmpty());
    QTest::keyClicks(textBox(), "Scale bar 1 mm");
    EXPECT_TRUE(dialog->text().isEmpty());
    click("OK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->text(), "Scale bar 1 mm");
    EXPECT_EQ(dialog->textColor(), 0x00FF00u);
    EXPECT_EQ(dialog->textFont(), FontDescription::arial(12));
}

TEST_F(TextDialog, CancelHandsBackNoTextAndTheHandedInFontAndColor)
{
    open(0x00FF00, FontDescription::arial(12));
    QTest::keyClicks(textBox(), "gone");
    prompter.script.fonts.push_back(QFont("DejaVu Serif", 30));
    prompter.script.colors.push_back(QColor(9, 9, 9));
    click("Font");
    click("Cancel");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(dialog->text().isEmpty());
    EXPECT_EQ(dialog->textColor(), 0x00FF00u);
    EXPECT_EQ(dialog->textFont(), FontDescription::arial(12));
}

TEST_F(TextDialog, TextBoxTakesAtMost254CharactersAndNoHalfCharacter)
{
    open();
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
    click("OK");
    EXPECT_EQ(dialog->text(), QString(252, u'a') + smiley);
}

TEST_F(TextDialog, PreviewFollowsEveryKeystrokeAndShowsNothingForNoText)
{
    open();
    EXPECT_TRUE(boundsOf(previewImage(), blue).isNull());
    QTest::keyClick(textBox(), Qt::Key_H);
    const QRect one = boundsOf(previewImage(), blue);
    EXPECT_FALSE(one.isNull());
    QTest::keyClick(textBox(), Qt::Key_H);
    EXPECT_GT(boundsOf(previewImage(), blue).width(), one.width());
    QTest::keyClick(textBox(), Qt::Key_Backspace);
    EXPECT_EQ(boundsOf(previewImage(), blue), one);
    QTest::keyClick(textBox(), Qt::Key_Backspace);
    EXPECT_TRUE(boundsOf(previewImage(), blue).isNull());
}

TEST_F(TextDialog, PreviewTextStartsAtTheLeftEdgeHalfItsHeightAboveTheMiddle)
{
    // The sign of a height only says how it is measured; both place the text alike.
    for (int32_t height : {-20, 24, -7}) {
        SCOPED_TRACE(height);
        open(0xFF0000, sharpFont(height));
        QTest::keyClicks(textBox(), "HIH");
        const QImage image = previewImage();
        const int top = image.height() / 2 - std::abs(height) / 2;
        // The same text drawn on its own with its top there and from x = 0.
        QImage expected(image.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter painter(&expected);
        const QFont font = toQFont(sharpFont(height));
        painter.setFont(font);
        painter.setPen(blue);
        painter.drawText(QPoint(0, top + QFontMetrics(font).ascent()), "HIH");
        painter.end();
        ASSERT_FALSE(boundsOf(expected, blue).isNull());
        EXPECT_EQ(boundsOf(image, blue), boundsOf(expected, blue));
    }
}

TEST_F(TextDialog, FontChooserOpensOnTheCurrentTextFontAndItsAnswerIsUsed)
{
    open(0xFF0000, sharpFont(-20));
    click("Font");  // cancelled
    QFont chosen("DejaVu Serif");
    chosen.setPointSize(15);
    chosen.setItalic(true);
    chosen.setStrikeOut(true);
    chosen.setStyleStrategy(QFont::NoAntialias);
    prompter.script.fonts.push_back(chosen);
    prompter.script.colors.push_back(QColor(0, 128, 0));
    click("Font");
    ASSERT_EQ(prompter.fontWithColorRequests.size(), 2u);
    EXPECT_EQ(prompter.fontWithColorRequests[1]->family(), "DejaVu Sans");
    EXPECT_EQ(prompter.fontWithColorRequests[1]->pixelSize(), 20);
    EXPECT_EQ(prompter.fontColorRequests[1], blue);

    QTest::keyClicks(textBox(), "H");
    EXPECT_TRUE(boundsOf(previewImage(), blue).isNull());
    EXPECT_FALSE(boundsOf(previewImage(), QColor(0, 128, 0)).isNull());
    // Asked again, the chooser starts from the font just chosen.
    click("Font");
    EXPECT_EQ(prompter.fontWithColorRequests[2]->family(), "DejaVu Serif");
    EXPECT_EQ(prompter.fontWithColorRequests[2]->pixelSize(), 20);
    EXPECT_EQ(prompter.fontColorRequests[2], QColor(0, 128, 0));
    click("OK");

    FontDescription expected = sharpFont(-20);
    expected.setFace("DejaVu Serif");
    expected.height = -20;  // 15 points at 96 pixels an inch
    expected.italic = 1;
    expected.strikeOut = 1;
    expected.pitchAndFamily = 0x02;
    EXPECT_EQ(dialog->textFont(), expected);
    EXPECT_EQ(dialog->textColor(), 0x008000u);
    EXPECT_EQ(dialog->text(), "H");
}

TEST(TextDialogTexts, EnglishDefaultsAndLanguageFileTexts)
{
    RecordingPrompter prompter;
    const auto texts = [](const TextSettingDialog& dialog) {
        QStringList all{dialog.windowTitle(), dialog.findChild<QLabel*>("EnterText")->text(),
                        dialog.findChild<TextPreview*>("Preview")->title()};
        for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
            all << button->text();
        }
        return all;
    };
    EXPECT_EQ(texts(TextSettingDialog(prompter, LocalText())),
              (QStringList{"Text", "Please enter text:", "Preview", "Font", "OK", "Cancel"}));

    QTemporaryDir folder;
    QFile file(folder.filePath("French1252.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Morrow]\nTextSetting=Texte\nEnterText=\"Veuillez entrer le texte \xE0 placer ici :\"\n"
               "Preview=Aper\xE7u\nCancel=Annuler\n");
    file.close();
    // Cut to 29 bytes of the file's code page.
    EXPECT_EQ(texts(TextSettingDialog(prompter, LocalText(file.fileName().toStdString()))),
              (QStringList{"Texte", QString::fromUtf8("Veuillez entrer le texte à pl"), QString::fromUtf8("Aperçu"),
                           "Font", "OK", "Annuler"}));
}
