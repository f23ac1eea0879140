#include "workspace/cpensettingdlg.h"

#include "measure/qfontdescription.h"
#include "platform/localtext.h"
#include "previewpixels.h"
#include "recordingprompter.h"
#include "workspace/linepreview.h"
#include "workspace/widthbox.h"

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);

const char* const lineTypeKeys[] = {"SolidLine", "DashLine", "DotLine", "DashDotLine", "DashDotDotLine"};

class PenDialog : public ::testing::Test {
protected:
    void open(const PenSetting& values)
    {
        dialog = std::make_unique<CPenSettingDlg>(prompter, LocalText());
        dialog->setValues(values);
        dialog->show();
    }
    QPushButton* button(const char* name) const { return dialog->findChild<QPushButton*>(name); }
    QRadioButton* radio(const char* name) const { return dialog->findChild<QRadioButton*>(name); }
    WidthBox* widthBox() const { return dialog->findChild<WidthBox*>("PenWidthBox"); }
    LinePreview* preview() const { return dialog->findChild<LinePreview*>("LinePriview"); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void typeWidth(const QString& text)
    {
        QTest::keyClick(widthBox(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(widthBox(), Qt::Key_Delete);
        QTest::keyClicks(widthBox(), text);
    }
    QString previewMiddleRow(QColor color)
    {
        const QImage image = grabImage(preview());
        return rowOf(image, image.height() / 2, color);
    }

    RecordingPrompter prompter;
    std::unique_ptr<CPenSettingDlg> dialog;
};

PenSetting dashDotBlue()
{
    PenSetting values;
    values.lineType = 3;
    values.lineWidth = 3;
    values.lineColor = 0xFF0000;
    values.labelFont = FontDescription::arial(14);
    values.labelColor = 0x00FF00;
    return values;
}
}  // namespace

TEST_F(PenDialog, OpensOnTheHandedInPenAndOkHandsTheSameValuesBack)
{
    open(dashDotBlue());
    for (const char* key : lineTypeKeys) {
        EXPECT_EQ(radio(key)->isChecked(), QByteArray(key) == "DashDotLine") << key;
    }
    EXPECT_EQ(widthBox()->text(), "3");
    // Three pixels wide draws solid, as the view draws such a pen: rows middle-1 to middle+1.
    const QImage image = grabImage(preview());
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
    prompter.script.colors.push_back(QColor(0, 128, 0));
    prompter.script.fonts.push_back(QFont("DejaVu Serif", 20));
    prompter.script.colors.push_back(QColor(1, 2, 3));
    QTest::mouseClick(radio("DotLine"), Qt::LeftButton);
    typeWidth("1");
    click("PenColor");
    click("Font");
    click("Cancel");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->values(), dashDotBlue());
}

TEST_F(PenDialog, EveryChangeShowsInTheValuesHandedBackAtOk)
{
    open(dashDotBlue());
    QTest::mouseClick(radio("DashDotDotLine"), Qt::LeftButton);
    typeWidth("2");
    prompter.script.colors.push_back(QColor(0, 128, 0));
    click("PenColor");
    click("OK");
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->values().lineType, 4);
    EXPECT_EQ(dialog->values().lineWidth, 2);
    EXPECT_EQ(dialog->values().lineColor, 0x008000u);
    EXPECT_EQ(dialog->values().labelColor, 0x00FF00u);
}

TEST_F(PenDialog, OkRefusesWidthsOutsideOneToThreeAndNamesTheRange)
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
        EXPECT_EQ(prompter.script.shown[0].buttons, Prompter::Buttons::Ok);
        EXPECT_EQ(dialog->values().lineWidth, 3);  // nothing handed back
    }
}

TEST_F(PenDialog, OkAcceptsAWidthTypedAfterARefusal)
{
    open(dashDotBlue());
    typeWidth("4");
    click("OK");
    typeWidth(" 1 ");
    click("OK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->values().lineWidth, 1);
    EXPECT_EQ(prompter.script.shown.size(), 1u);
}

TEST_F(PenDialog, PreviewDrawsTypedWidthsEvenOutsideTheRange)
{
    PenSetting values;
    open(values);
    typeWidth("4");
    QImage image = grabImage(preview());
    int middle = image.height() / 2;
    EXPECT_EQ(rowsWith(image, red), (std::vector<int>{middle - 2, middle - 1, middle, middle + 1}));
    // 0 and text that is no number both read as width 0: a one-pixel line.
    for (const QString text : {"0", "x"}) {
        typeWidth(text);
        image = grabImage(preview());
        EXPECT_EQ(rowsWith(image, red), std::vector<int>{middle}) << text.toStdString();
        EXPECT_EQ(rowOf(image, middle, red), expectedLineRow(image.width(), {1}));
    }
}

TEST_F(PenDialog, PreviewShowsEachLineTypeAtWidthOne)
{
    struct Case {
        const char* key;
        std::vector<int> pattern;
    };
    const Case cases[] = {
        {"SolidLine", {1}},
        {"DashLine", {18, 6}},
        {"DotLine", {3, 3}},
        {"DashDotLine", {9, 6, 3, 6}},
        {"DashDotDotLine", {9, 3, 3, 3, 3, 3}},
    };
    PenSetting values;
    values.lineType = 1;
    open(values);
    for (const Case& c : cases) {
        QTest::mouseClick(radio(c.key), Qt::LeftButton);
        const QImage image = grabImage(preview());
        EXPECT_EQ(rowOf(image, image.height() / 2, red), expectedLineRow(image.width(), c.pattern)) << c.key;
        EXPECT_EQ(rowsWith(image, red).size(), 1u) << c.key;
    }
}

TEST_F(PenDialog, UpDownArrowsStepFromTheBoxAndStayWithinOneToThree)
{
    struct Case {
        const char* start;
        Qt::Key key;
        const char* result;
    };
    const Case cases[] = {
        {"1", Qt::Key_Up, "2"}, {"3", Qt::Key_Up, "3"},  {"3", Qt::Key_Down, "2"},
        {"1", Qt::Key_Down, "1"}, {"0", Qt::Key_Up, "1"}, {"4", Qt::Key_Down, "3"},
        {"abc", Qt::Key_Up, "1"}, {"-7", Qt::Key_Down, "-7"}, {"9", Qt::Key_Up, "9"},
    };
    open(PenSetting{});
    for (const Case& c : cases) {
        typeWidth(c.start);
        QTest::keyClick(widthBox(), c.key);
        EXPECT_EQ(widthBox()->text(), c.result) << c.start << (c.key == Qt::Key_Up ? " up" : " down");
    }
}

TEST_F(PenDialog, ClickingTheUpArrowRaisesTheWidthAndRepaintsThePreview)
{
    open(PenSetting{});
    QStyleOptionSpinBox option;
    option.initFrom(widthBox());
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled;
    const QRect up = widthBox()->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, widthBox());
    QTest::mouseClick(widthBox(), Qt::LeftButton, {}, up.center());
    EXPECT_EQ(widthBox()->text(), "2");
    const QImage image = grabImage(preview());
    EXPECT_EQ(rowsWith(image, red).size(), 2u);
}

TEST_F(PenDialog, ColourChooserOpensOnTheLineColourAndRepaintsWithItsAnswer)
{
    PenSetting values;
    values.lineColor = 0xFF0000;
    open(values);
    prompter.script.colors.push_back(QColor(0, 128, 0));
    click("PenColor");
    ASSERT_EQ(prompter.colorRequests.size(), 1u);
    EXPECT_EQ(prompter.colorRequests[0], blue);
    EXPECT_EQ(previewMiddleRow(QColor(0, 128, 0)), expectedLineRow(preview()->width(), {1}));

    click("PenColor");  // cancelled: the chooser's answer queue is empty
    EXPECT_EQ(previewMiddleRow(QColor(0, 128, 0)), expectedLineRow(preview()->width(), {1}));
    click("OK");
    EXPECT_EQ(dialog->values().lineColor, 0x008000u);
}

TEST_F(PenDialog, FontChooserAnswerBecomesTheLabelFontAndColour)
{
    PenSetting values = dashDotBlue();
    values.labelFont.escapement = 900;
    open(values);
    QFont chosen("DejaVu Serif");
    chosen.setPixelSize(20);
    chosen.setBold(true);
    chosen.setUnderline(true);
    prompter.script.fonts.push_back(chosen);
    prompter.script.colors.push_back(QColor(0x12, 0x34, 0x56));
    click("Font");
    // It opens without an initial font, on the label colour.
    ASSERT_EQ(prompter.fontWithColorRequests.size(), 1u);
    EXPECT_FALSE(prompter.fontWithColorRequests[0].has_value());
    EXPECT_EQ(prompter.fontColorRequests[0], QColor(0, 255, 0));
    // The label font plays no part in the preview.
    EXPECT_EQ(rowsWith(grabImage(preview()), blue).size(), 3u);
    click("OK");

    FontDescription expected = values.labelFont;
    expected.setFace("DejaVu Serif");
    expected.height = -20;
    expected.weight = 700;
    expected.underline = 1;
    expected.pitchAndFamily = 0x02;  // a proportional face of no stated family
    EXPECT_EQ(dialog->values().labelFont, expected);
    EXPECT_EQ(dialog->values().labelColor, 0x563412u);
    EXPECT_EQ(dialog->values().lineColor, 0xFF0000u);
}

TEST_F(PenDialog, CancelledFontChooserChangesNothing)
{
    open(dashDotBlue());
    click("Font");
    click("OK");
    EXPECT_EQ(dialog->values(), dashDotBlue());
}

TEST(PenDialogTexts, EnglishDefaultsWithoutALanguageFile)
{
    RecordingPrompter prompter;
    CPenSettingDlg dialog(prompter, LocalText());
    EXPECT_EQ(dialog.windowTitle(), "Pen setting");
    const std::pair<const char*, const char*> radios[] = {
        {"SolidLine", "Solid Line"},       {"DashLine", "Dash Line"},         {"DotLine", "Dot Line"},
        {"DashDotLine", "DashDot Line1"}, {"DashDotDotLine", "DashDot Line2"},
    };
    for (const auto& [key, text] : radios) {
        EXPECT_EQ(dialog.findChild<QRadioButton*>(key)->text(), text);
    }
    QStringList groups;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        groups << group->title();
    }
    EXPECT_EQ(groups, (QStringList{"Pen Type", "Line Colour", "Line Width", "Preview"}));
    EXPECT_EQ(dialog.findChild<QPushButton*>("PenColor")->text(), "Colour");
    EXPECT_EQ(dialog.findChild<QPushButton*>("Font")->text(), "Font");
    EXPECT_EQ(dialog.findChild<QPushButton*>("OK")->text(), "OK");
    EXPECT_EQ(dialog.findChild<QPushButton*>("Cancel")->text(), "Cancel");
}

TEST(PenDialogTexts, LanguageFileTextsAreCutTo29Bytes)
{
    QTemporaryDir folder;
    QFile file(folder.filePath("German1252.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Morrow]\r\nPenSetting=Stift\r\nPenWidth=Linienst\xE4rke\r\n"
               "DashDotDotLine=Strich-Punkt-Punkt-Linie-mit-Zugabe\r\nLinePriview=Vorschau\r\nok=Gut\r\n");
    file.close();
    RecordingPrompter prompter;
    CPenSettingDlg dialog(prompter, LocalText(folder.filePath("German1252.ini").toStdString()));
    EXPECT_EQ(dialog.windowTitle(), "Stift");
    EXPECT_EQ(dialog.findChild<QRadioButton*>("DashDotDotLine")->text(), "Strich-Punkt-Punkt-Linie-mit-");
    EXPECT_EQ(dialog.findChild<QRadioButton*>("SolidLine")->text(), "Solid Line");
    EXPECT_EQ(dialog.findChild<LinePreview*>("LinePriview")->title(), "Vorschau");
    EXPECT_EQ(dialog.findChild<QPushButton*>("OK")->text(), "Gut");
    QStringList groups;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        groups << group->title();
    }
    EXPECT_TRUE(groups.contains(QString::fromUtf8("Linienstärke")));
}
