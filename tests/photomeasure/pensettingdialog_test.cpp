#include "photomeasure/pensettingdialog.h"

#include "texts/localtext.h"
#include "previewpixels.h"
#include "recordingprompter.h"
#include "photomeasure/linepreview.h"
#include "photomeasure/widthbox.h"

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);

class PenDialog : public ::testing::Test {
protected:
    void open(const PenSetting& values)
    {
        dialog = std::make_unique<PenSettingDialog>(prompter, LocalText());
        dialog->setValues(values);
        dialog->show();
    }
    QRadioButton* radio(const char* name) const { return dialog->findChild<QRadioButton*>(name); }
    WidthBox* widthBox() const { return dialog->findChild<WidthBox*>("PenWidthBox"); }
    QImage previewImage() const { return grabImage(dialog->findChild<LinePreview*>("LinePriview")); }
    void click(const char* name) { QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton); }
    void typeWidth(const QString& text)
    {
        QTest::keyClick(widthBox(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(widthBox(), Qt::Key_Delete);
        QTest::keyClicks(widthBox(), text);
    }

    RecordingPrompter prompter;
    std::unique_ptr<PenSettingDialog> dialog;
};

PenSetting dashDotBlue()
{
    return PenSetting{3, 3, 0xFF0000, FontDescription::arial(14), 0x00FF00};
}
}  // namespace

TEST_F(PenDialog, OpensOnTheHandedInPenAndOkHandsTheSameValuesBack)
{
    open(dashDotBlue());
    for (const char* key : {"SolidLine", "DashLine", "DotLine", "DashDotLine", "DashDotDotLine"}) {
        EXPECT_EQ(radio(key)->isChecked(), QByteArray(key) == "DashDotLine") << key;
    }
    EXPECT_EQ(widthBox()->text(), "3");
    // Three pixels wide draws solid, as the view draws such a pen.
    const QImage image = previewImage();
    const int middle = image.height() / 2;
    EXPECT_EQ(rowsWith(image, blue), (std::vector<int>{middle - 1, middle, middle + 1}));
    EXPECT_TRUE(rowOf(image, middle, blue).contains(QString(image.width() - 20, u'#')));

    click("OK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->values(), dashDotBlue());
    EXPECT_TRUE(prompter.script.shown.empty());
}

TEST_F(PenDialog, CancelHandsBackTheValuesItWasGivenWhateverWasChanged)
{
    open(dashDotBlue());
    prompter.script.colors = {QColor(0, 128, 0), QColor(1, 2, 3)};
    prompter.script.fonts.push_back(QFont("DejaVu Serif", 20));
    QTest::mouseClick(radio("DotLine"), Qt::LeftButton);
    typeWidth("1");
    click("PenColor");
    click("Font");
    click("Cancel");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->values(), dashDotBlue());
}

TEST_F(PenDialog, OkRefusesWidthsOutsideOneToThreeUntilOneFits)
{
    for (const QString text : {"0", "4", "-1", "", "abc", "2.5", "2a", "99999999999"}) {
        SCOPED_TRACE(text.toStdString());
        open(dashDotBlue());
        prompter.script.shown.clear();
        typeWidth(text);
        click("OK");
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_NE(dialog->result(), QDialog::Accepted);
        ASSERT_EQ(prompter.script.shown.size(), 1u);
        EXPECT_EQ(prompter.script.shown[0].text, "Please enter an integer between 1 and 3.");
        EXPECT_EQ(prompter.script.shown[0].icon, Prompter::Icon::Warning);
        EXPECT_EQ(dialog->values().lineWidth, 3);  // nothing handed back
    }
    typeWidth(" 1 ");
    click("OK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->values().lineWidth, 1);
    EXPECT_EQ(prompter.script.shown.size(), 1u);
}

TEST_F(PenDialog, PreviewDrawsTypedWidthsEvenOutsideTheRange)
{
    open(PenSetting{});
    typeWidth("4");
    QImage image = previewImage();
    const int middle = image.height() / 2;
    EXPECT_EQ(rowsWith(image, red), (std::vector<int>{middle - 2, middle - 1, middle, middle + 1}));
    // 0 and text that is no number both read as width 0: a one-pixel line.
    for (const QString text : {"0", "x"}) {
        typeWidth(text);
        image = previewImage();
        EXPECT_EQ(rowsWith(image, red), std::vector<int>{middle}) << text.toStdString();
        EXPECT_EQ(rowOf(image, middle, red), expectedLineRow(image.width(), {1}));
    }
}

TEST_F(PenDialog, PreviewShowsEachLineTypeAtWidthOne)
{
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"SolidLine", {1}},
        {"DashLine", {18, 6}},
        {"DotLine", {3, 3}},
        {"DashDotLine", {9, 6, 3, 6}},
        {"DashDotDotLine", {9, 3, 3, 3, 3, 3}},
    };
    open(PenSetting{1, 1, 255, FontDescription::arial(14), 255});
    for (const auto& [key, pattern] : cases) {
        QTest::mouseClick(radio(key), Qt::LeftButton);
        const QImage image = previewImage();
        EXPECT_EQ(rowOf(image, image.height() / 2, red), expectedLineRow(image.width(), pattern)) << key;
        EXPECT_EQ(rowsWith(image, red).size(), 1u) << key;
    }
    click("OK");
    EXPECT_EQ(dialog->values().lineType, 4);
}

TEST_F(PenDialog, UpDownArrowsStepFromTheBoxAndStayWithinOneToThree)
{
    const std::tuple<const char*, Qt::Key, const char*> cases[] = {
        {"1", Qt::Key_Up, "2"},   {"3", Qt::Key_Up, "3"},     {"3", Qt::Key_Down, "2"},
        {"1", Qt::Key_Down, "1"}, {"0", Qt::Key_Up, "1"},     {"4", Qt::Key_Down, "3"},
        {"abc", Qt::Key_Up, "1"}, {"-7", Qt::Key_Down, "-7"}, {"9", Qt::Key_Up, "9"},
    };
    open(PenSetting{});
    for (const auto& [start, key, result] : cases) {
        typeWidth(start);
        QTest::keyClick(widthBox(), key);
        EXPECT_EQ(widthBox()->text(), result) << start << (key == Qt::Key_Up ? " up" : " down");
    }
    typeWidth("1");
    QTest::keyClick(widthBox(), Qt::Key_Up);
    EXPECT_EQ(rowsWith(previewImage(), red).size(), 2u);  // the arrows repaint the preview too
}

TEST_F(PenDialog, ColorChooserOpensOnTheLineColorAndRepaintsWithItsAnswer)
{
    open(dashDotBlue());
    typeWidth("1");
    click("PenColor");  // cancelled: the chooser's answer queue is empty
    EXPECT_EQ(rowsWith(previewImage(), blue).size(), 1u);
    prompter.script.colors.push_back(QColor(0, 128, 0));
    click("PenColor");
    EXPECT_EQ(prompter.colorRequests, (std::vector<QColor>{blue, blue}));
    const QImage image = previewImage();
    EXPECT_EQ(rowOf(image, image.height() / 2, QColor(0, 128, 0)), expectedLineRow(image.width(), {9, 6, 3, 6}));
    click("OK");
    EXPECT_EQ(dialog->values(), (PenSetting{3, 1, 0x008000, FontDescription::arial(14), 0x00FF00}));
}

TEST_F(PenDialog, FontChooserAnswerBecomesTheLabelFontAndColor)
{
    PenSetting values = dashDotBlue();
    values.labelFont.escapement = 900;
    open(values);
    click("Font");  // cancelled
    QFont chosen("DejaVu Serif");
    chosen.setPixelSize(20);
    chosen.setBold(true);
    chosen.setUnderline(true);
    prompter.script.fonts.push_back(chosen);
    prompter.script.colors.push_back(QColor(0x12, 0x34, 0x56));
    click("Font");
    // It opens without an initial font, on the label color.
    ASSERT_EQ(prompter.fontWithColorRequests.size(), 2u);
    EXPECT_FALSE(prompter.fontWithColorRequests[1].has_value());
    EXPECT_EQ(prompter.fontColorRequests[1], QColor(0, 255, 0));
    click("OK");

    FontDescription expected = values.labelFont;
    expected.setFace("DejaVu Serif");
    expected.height = -20;
    expected.weight = 700;
    expected.underline = 1;
    expected.pitchAndFamily = 0x02;  // a proportional face of no stated family
    EXPECT_EQ(dialog->values(), (PenSetting{3, 3, 0xFF0000, expected, 0x563412}));
}

TEST(PenDialogTexts, EnglishDefaultsAndLanguageFileTextsCutTo29Bytes)
{
    RecordingPrompter prompter;
    const auto texts = [](const PenSettingDialog& dialog) {
        QStringList all{dialog.windowTitle()};
        for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
            all << button->text();
        }
        for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
            all << group->title();
        }
        return all;
    };
    EXPECT_EQ(texts(PenSettingDialog(prompter, LocalText())),
              (QStringList{"Pen setting", "Solid Line", "Dash Line", "Dot Line", "DashDot Line1", "DashDot Line2",
                           "Colour", "Font", "OK", "Cancel", "Pen Type", "Line Colour", "Line Width", "Preview"}));

    QTemporaryDir folder;
    QFile file(folder.filePath("German1252.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Morrow]\r\nPenSetting=Stift\r\nPenWidth=Linienst\xE4rke\r\n"
               "DashDotDotLine=Strich-Punkt-Punkt-Linie-mit-Zugabe\r\nLinePriview=Vorschau\r\nok=Gut\r\n");
    file.close();
    EXPECT_EQ(texts(PenSettingDialog(prompter, LocalText(file.fileName().toStdString()))),
              (QStringList{"Stift", "Solid Line", "Dash Line", "Dot Line", "DashDot Line1",
                           "Strich-Punkt-Punkt-Linie-mit-", "Colour", "Font", "Gut", "Cancel", "Pen Type",
                           "Line Colour", QString::fromUtf8("Linienstärke"), "Vorschau"}));
}
