#include "texts/localtext.h"
#include "support/scriptedprompter.h"
#include "photomeasure/calibrationdialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CalibrationDlgTest : public ::testing::Test {
protected:
    ScriptedPrompter prompter;
    LocalText text;
    CalibrationDialog dialog{text, prompter};

    void SetUp() override
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    void enter(const QString& entry)
    {
        auto* box = dialog.findChild<QLineEdit*>("distanceBox");
        box->clear();
        QTest::keyClicks(box, entry);
        QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    }
};

TEST_F(CalibrationDlgTest, AsksForTheDistanceInMillimetres)
{
    EXPECT_EQ(dialog.windowTitle(), "Calibration");
    EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Please enter actual distance (mm)");
}

TEST_F(CalibrationDlgTest, RefusesEntriesThatAreNotAPositiveLength)
{
    for (const char* entry : {"0", "", "abc", "-2", "0.0", "nan", "inf"}) {
        prompter.shown.clear();
        enter(entry);
        ASSERT_EQ(prompter.shown.size(), 1u) << entry;
        EXPECT_EQ(prompter.shown[0].text, "Please enter digital!") << entry;
        EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::None) << entry;
        EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::Ok) << entry;
        EXPECT_TRUE(dialog.isVisible()) << entry;
    }
}

TEST_F(CalibrationDlgTest, TakesTheLeadingNumberOfTheEntry)
{
    enter("2.5mm");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.actualDistance(), 2.5);
}

TEST_F(CalibrationDlgTest, CancelStoresNothing)
{
    QTest::keyClicks(dialog.findChild<QLineEdit*>("distanceBox"), "3");
    QTest::mouseClick(dialog.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.actualDistance(), 0.0);
}

}  // namespace
