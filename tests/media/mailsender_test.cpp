#include "media/mailsender.h"
#include "media/mailwindow.h"

#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "texts/localtext.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace TestFiles;

namespace {
using Result = MailClient::Result;

const QString kStill = "Still_2009-03-05_101530_N0001.bmp";

/// A mail client that remembers what it was handed and answers through the event loop, as a
/// real one does.
class FakeMailClient final : public MailClient {
public:
    Availability available = Availability::Ready;
    std::deque<Result> results;  ///< one per send, Sent when empty
    std::vector<std::pair<QString, QByteArray>> handed;  ///< path, content when handed over

    Availability availability() const override { return available; }
    void send(const QString& attachment, QObject* context, Done done) override
    {
        handed.emplace_back(attachment, readFile(attachment));
        Result result = Result::Sent;
        if (!results.empty()) {
            result = results.front();
            results.pop_front();
        }
        QMetaObject::invokeMethod(context, [done, result] { done(result); }, Qt::QueuedConnection);
    }
};

class MailTest : public ::testing::Test {
protected:
    QTemporaryDir media;
    QTemporaryDir runtime;
    FakeMailClient client;
    LocalText english;
    ScriptedPrompter prompter;
    MailSender sender{client, english, prompter, mailFolder()};

    QString mailFolder() const { return runtime.filePath("quillon-jpg"); }
    QString copyOf(const QString& name) const { return mailFolder() + '/' + QFileInfo(name).baseName() + ".jpg"; }
    QString still(const QString& name = kStill)
    {
        EXPECT_TRUE(writeBmp(media.filePath(name), 40, 30, QColor(30, 140, 220)));
        return media.filePath(name);
    }
    /// Runs the mail window on PATH without its modal loop until it has handed the file
    /// over (or said why not) and the answer has been dealt with.
    std::unique_ptr<MailWindow> mail(const QString& path)
    {
        auto window = std::make_unique<MailWindow>(sender, path);
        if (window->start()) {
            window->show();
            const std::size_t handed = client.handed.size();
            const std::size_t shown = prompter.shown.size();
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return client.handed.size() > handed || prompter.shown.size() > shown; }, 2000))
                << "the mail window neither handed the file over nor said why";
            QTest::qWait(20);
        }
        return window;
    }
};

struct Outcome {
    const char* name;
    std::vector<Result> results;  ///< of the mails sent one after the other
    QStringList texts;            ///< every message, in order
    bool windowStays;             ///< the last mail's window
    bool copyKept;                ///< the last mail's copy
};

class MailResult : public MailTest, public ::testing::WithParamInterface<Outcome> {};

TEST_P(MailResult, ShowsItsMessageAndKeepsOrClearsTheCopy)
{
    const Outcome& c = GetParam();
    client.results.assign(c.results.begin(), c.results.end());
    std::unique_ptr<MailWindow> window;
    for (std::size_t i = 0; i < c.results.size(); ++i) {
        window = mail(still());
    }
    ASSERT_EQ(client.handed.size(), c.results.size());
    // The picture goes as a JPEG copy in a folder only its owner can enter.
    EXPECT_EQ(client.handed.back().first, copyOf(kStill));
    QImage copy;
    ASSERT_TRUE(copy.loadFromData(client.handed.back().second, "JPEG"));
    EXPECT_EQ(copy.size(), QSize(40, 30));
    EXPECT_EQ(prompter.texts(), c.texts);
    for (const ScriptedPrompter::Shown& box : prompter.shown) {
        EXPECT_EQ(box.icon, Prompter::Icon::Warning);
    }
    EXPECT_EQ(window->isVisible(), c.windowStays);
    EXPECT_EQ(window->text(), "Start outlook, Please waiting....");
    EXPECT_EQ(QFileInfo::exists(copyOf(kStill)), c.copyKept);
    if (c.copyKept) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(mailFolder()).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Results, MailResult,
    ::testing::Values(
        // The mail program may read the attachment only when the message goes out.
        Outcome{"SentClosesAndKeepsTheCopy", {Result::Sent}, {"Send Completed"}, false, true},
        Outcome{"CancelledClosesSilentlyAndRemovesTheCopy", {Result::Cancelled}, {}, false, false},
        // Nothing was set for clearing up before the first failure.
        Outcome{"FirstFailureStaysAndKeepsTheCopy", {Result::Failed}, {MailSender::kFailedText}, true, true},
        Outcome{"FailureAfterAnEarlierMailRemovesTheCopy", {Result::Failed, Result::Failed},
                {MailSender::kFailedText, MailSender::kFailedText}, true, false},
        Outcome{"NoMailProgramStays", {Result::Unusable}, {MailSender::kNoMailProgramText}, true, true},
        // Its window may still be open with the copy attached.
        Outcome{"NoAnswerStaysAndKeepsTheCopy", {Result::Sent, Result::NoAnswer},
                {"Send Completed", MailSender::kNoAnswerText}, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MailTest, WithoutSelectionOrMailSystemNothingIsHandedOver)
{
    MailWindow::mail(sender, std::nullopt, nullptr);
    client.available = MailClient::Availability::Missing;
    MailWindow missing(sender, still());
    EXPECT_FALSE(missing.start());
    client.available = MailClient::Availability::Unusable;
    MailWindow unusable(sender, still());
    EXPECT_FALSE(unusable.start());
    EXPECT_EQ(unusable.result(), QDialog::Rejected);
    QTest::qWait(MailWindow::kStartDelayMs * 2);

    EXPECT_EQ(prompter.texts(), (QStringList{"Please select an image or video", MailSender::kMissingText,
                                             MailSender::kUnusableText}));
    EXPECT_TRUE(client.handed.empty());
    EXPECT_FALSE(QFileInfo::exists(mailFolder()));
}

TEST_F(MailTest, NextMailClearsTheCopiesOfEarlierOnes)
{
    mail(still("Still_2009-03-05_101530_N0001.bmp"));
    mail(still("Still_2009-03-05_101530_N0002.bmp"));
    EXPECT_EQ(QDir(mailFolder()).entryList(QDir::Files), QStringList{"Still_2009-03-05_101530_N0002.jpg"});
}

TEST_F(MailTest, ClipsAndCapitalBmpGoUnchangedWithoutTheFolder)
{
    const QString video = media.filePath("Video_2009-03-05_101530_N0003.avi");
    writeFile(video, "RIFF clip");
    const QString capital = still("Still_2009-03-05_101530_N0004.BMP");
    mail(video);
    mail(capital);
    ASSERT_EQ(client.handed.size(), 2u);
    EXPECT_EQ(client.handed[0], std::make_pair(video, QByteArray("RIFF clip")));
    EXPECT_EQ(client.handed[1].first, capital);
    EXPECT_FALSE(QFileInfo::exists(mailFolder()));
}

TEST_F(MailTest, PreparationFailuresStopBeforeSending)
{
    const QString broken = media.filePath("Still_2009-03-05_101530_N0009.bmp");
    writeFile(broken, QByteArray(120, 'x'));
    const auto window = mail(broken);
    EXPECT_TRUE(window->isVisible());
    QDir(mailFolder()).removeRecursively();
    writeFile(mailFolder(), "a file in the folder's place");
    mail(still());
    EXPECT_EQ(prompter.texts(), (QStringList{"imageEmail Create fail", "the TemFolder create Fail"}));
    EXPECT_TRUE(client.handed.empty());
}

TEST_F(MailTest, LinksPlantedInOrForTheMailFolderAreNeverWrittenThrough)
{
    QTemporaryDir outside;
    const QString victim = outside.filePath(QFileInfo(copyOf(kStill)).fileName());
    writeFile(victim, "precious");

    ASSERT_TRUE(QDir().mkpath(mailFolder()));
    ASSERT_TRUE(QFile::link(victim, copyOf(kStill)));
    mail(still());
    EXPECT_EQ(readFile(victim), "precious");
    EXPECT_FALSE(QFileInfo(copyOf(kStill)).isSymLink());
    EXPECT_TRUE(client.handed.back().second.startsWith("\xFF\xD8\xFF"));

    QDir(mailFolder()).removeRecursively();
    ASSERT_TRUE(QFile::link(outside.path(), mailFolder()));
    mail(still());
    EXPECT_EQ(readFile(victim), "precious");
    EXPECT_EQ(QDir(outside.path()).entryList(QDir::Files), QStringList{QFileInfo(victim).fileName()});
    EXPECT_FALSE(QFileInfo(mailFolder()).isSymLink());
    EXPECT_TRUE(QFile::exists(copyOf(kStill)));
}

}  // namespace
