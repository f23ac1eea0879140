#include "media/timelapsedialog.h"

#include "support/scriptedprompter.h"
#include "texts/localtext.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
const QDateTime kNow(QDate(2025, 3, 10), QTime(12, 30, 45));

struct FixedClock final : Clock {
    QDateTime localNow() const override { return kNow; }
};

struct TimeLapseTest : ::testing::Test {
    FixedClock clock;
    LocalText english;
    ScriptedPrompter prompter;
    std::atomic<int> requests{0};
    std::function<void()> countRequest = [this] { ++requests; };
};

template <typename T> T* child(QWidget& dialog, const char* name) { return dialog.findChild<T*>(QString::fromLatin1(name)); }

TEST_F(TimeLapseTest, EstimateShowsMegabytesAndSpacePaddedHundredthsRefreshedWhenTheCountIsLeft)
{
    TimeLapseDialog small(countRequest, 640 * 480 * 3, english, prompter, clock);
    EXPECT_EQ(child<QLineEdit>(small, "fileSize")->text(), "   7. 3");

    TimeLapseDialog large(countRequest, 1280 * 1024 * 3, english, prompter, clock);
    large.show();
    large.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&large));
    auto* count = child<QSpinBox>(large, "pictureCount");
    const QString before = child<QLineEdit>(large, "fileSize")->text();
    count->setFocus();
    count->selectAll();
    QTest::keyClicks(count, "200");
    EXPECT_EQ(child<QLineEdit>(large, "fileSize")->text(), before) << "changed while typing";
    child<QSpinBox>(large, "intervalSeconds")->setFocus();
    EXPECT_EQ(child<QLineEdit>(large, "fileSize")->text(), " 750. 0");
}

// The clock stands at 2025-03-10 12:30:45; the fields start there.
TEST_F(TimeLapseTest, StartTimeBeforeNowIsRefusedFieldByFieldAndNowOrLaterStarts)
{
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, int>> fields;
        bool refused;
    };
    const Case cases[] = {
        {"one second earlier", {{"startSecond", 44}}, true},
        {"earlier year, later month", {{"startYear", 2024}, {"startMonth", 12}}, true},
        {"exactly now", {}, false},
        {"later minute, earlier second", {{"startMinute", 31}, {"startSecond", 0}}, false},
        {"hour 24 of today", {{"startHour", 24}, {"startMinute", 0}}, false},
    };
    for (const Case& c : cases) {
        prompter.shown.clear();
        TimeLapseDialog dialog(countRequest, 0, english, prompter, clock);
        for (const auto& [name, value] : c.fields) {
            child<QSpinBox>(dialog, name)->setValue(value);
        }
        auto* button = child<QPushButton>(dialog, "startStop");
        button->click();
        if (c.refused) {
            ASSERT_EQ(prompter.shown.size(), 1u) << c.name;
            EXPECT_EQ(prompter.shown[0].text, "The time of your setting must be a future time!") << c.name;
            EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning) << c.name;
            EXPECT_EQ(button->text(), "Start") << c.name;
            continue;
        }
        EXPECT_TRUE(prompter.shown.empty()) << c.name;
        EXPECT_EQ(button->text(), "Stop") << c.name;
        button->click();
        EXPECT_EQ(button->text(), "Start") << c.name;
        EXPECT_EQ(child<QLineEdit>(dialog, "completed")->text(), "0") << c.name;
    }
}

TEST_F(TimeLapseTest, CountPicturesOneIntervalApartThenCloseRequestOneIntervalAfterTheLast)
{
    TimeLapse lapse(clock, countRequest);
    QSignalSpy completed(&lapse, &TimeLapse::completed);
    QSignalSpy closing(&lapse, &TimeLapse::closeRequested);
    const auto begun = std::chrono::steady_clock::now();
    ASSERT_TRUE(lapse.start(LapseTime::fromDateTime(kNow), 30ms, 3));
    ASSERT_TRUE(closing.wait(2000));
    EXPECT_GE(std::chrono::steady_clock::now() - begun, 90ms) << "the close came before the last interval ended";
    EXPECT_EQ(requests.load(), 3);
    ASSERT_EQ(completed.size(), 3);
    EXPECT_EQ((std::vector{completed[0][0].toInt(), completed[1][0].toInt(), completed[2][0].toInt()}),
              (std::vector{1, 2, 3}));
    EXPECT_EQ(closing.size(), 1);
}

// A stop wakes the worker out of either wait; news it had posted before is not delivered.
TEST_F(TimeLapseTest, StopEndsTheWorkerAtOnceFromEitherWait)
{
    struct Case {
        const char* name;
        QDateTime startTime;
        int requestsBeforeStop;
    };
    const Case cases[] = {
        {"waiting for the start time", kNow.addSecs(3600), 0},
        {"waiting out the interval", kNow, 1},
    };
    for (const Case& c : cases) {
        requests = 0;
        TimeLapse lapse(clock, countRequest);
        QSignalSpy completed(&lapse, &TimeLapse::completed);
        ASSERT_TRUE(lapse.start(LapseTime::fromDateTime(c.startTime), 1h, 5));
        std::this_thread::sleep_for(50ms);  // without the event loop: its news stays queued
        ASSERT_EQ(requests.load(), c.requestsBeforeStop) << c.name;
        const auto stopping = std::chrono::steady_clock::now();
        lapse.stop();
        EXPECT_LT(std::chrono::steady_clock::now() - stopping, 30ms) << c.name;
        QCoreApplication::processEvents();
        EXPECT_EQ(completed.size(), 0) << c.name;
        EXPECT_EQ(requests.load(), c.requestsBeforeStop) << c.name;
    }
}

TEST_F(TimeLapseTest, CancelWhileRunningWaitsForTheWorkerToEnd)
{
    std::atomic<bool> inRequest{false};
    std::atomic<bool> requestReturned{false};
    TimeLapseDialog dialog([&] { inRequest = true; std::this_thread::sleep_for(100ms); requestReturned = true; },
                           0, english, prompter, clock);
    dialog.show();
    child<QPushButton>(dialog, "startStop")->click();
    QTRY_VERIFY_WITH_TIMEOUT(inRequest.load(), 1000);
    child<QPushButton>(dialog, "cancel")->click();
    EXPECT_TRUE(requestReturned.load());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}
}  // namespace
