#include "photomeasure/calibrationdialog.h"

#include "texts/localtext.h"
#include "support/scriptedprompter.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(CalibrationDialog, RefusesEntriesThatAreNotAPositiveLengthAndOkTakesTheLeadingNumber)
{
    ScriptedPrompter prompter;
    const LocalText text;
    CalibrationDialog dialog{text, prompter};
    dialog.show();
    const auto enter = [&dialog](const char* entry, const char* button) {
        auto* box = dialog.findChild<QLineEdit*>("distanceBox");
        box->clear();
        QTest::keyClicks(box, entry);
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    };
    for (const char* entry : {"0", "", "abc", "-2", "0.0", "nan", "inf"}) {
        prompter.shown.clear();
        enter(entry, "okButton");
        EXPECT_EQ(prompter.texts(), QStringList{"Please enter digital!"}) << entry;
        EXPECT_TRUE(dialog.isVisible()) << entry;
    }
    EXPECT_EQ(prompter.shown.at(0).icon, Prompter::Icon::None);

    enter("3", "cancelButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.actualDistance(), 0.0);
    dialog.show();
    enter("2.5mm", "okButton");
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.actualDistance(), 2.5);
}

}  // namespace
