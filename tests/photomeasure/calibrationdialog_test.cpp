#include "photomeasure/calibrationdialog.h"

#include "texts/localtext.h"
#include "support/scriptedprompter.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CalibrationDialogTest : public ::testing::Test {
protected:
    ScriptedPrompter prompter;
    LocalText text;
    CalibrationDialog dialog{text, prompter};

    void SetUp() override { dialog.show(); }
    void enter(const QString& entry, const char* button = "okButton")
    {
        auto* box = dialog.findChild<QLineEdit*>("distanceBox");
        box->clear();
        QTest::keyClicks(box, entry);
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    }
};

TEST_F(CalibrationDialogTest, RefusesEntriesThatAreNotAPositiveLength)
{
    for (const char* entry : {"0", "", "abc", "-2", "0.0", "nan", "inf"}) {
        prompter.shown.clear();
        enter(entry);
        ASSERT_EQ(prompter.shown.size(), 1u) << entry;
        EXPECT_EQ(prompter.shown[0].text, "Please enter digital!") << entry;
        EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::None) << entry;
        EXPECT_TRUE(dialog.isVisible()) << entry;
    }
}

TEST_F(CalibrationDialogTest, OkTakesTheLeadingNumberOfTheEntryAndCancelNothing)
{
    enter("3", "cancelButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.actualDistance(), 0.0);
    dialog.show();
    enter("2.5mm");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.actualDistance(), 2.5);
}

}  // namespace
