#include "media/mailsender.h"
#include "media/mailwindow.h"

#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "texts/localtext.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace TestFiles;

namespace {
using Result = MailClient::Result;

/// A mail client that remembers what it was handed and answers through the event loop, as a real one does.
class FakeMailClient final : public MailClient {
public:
    Availability available = Availability::Ready;
    std::vector<Result> results;                         ///< one per send, Sent past the end
    std::vector<std::pair<QString, QByteArray>> handed;  ///< path, content when handed over

    Availability availability() const override { return available; }
    void send(const QString& attachment, QObject* context, Done done) override
    {
        const Result result = handed.size() < results.size() ? results[handed.size()] : Result::Sent;
        handed.emplace_back(attachment, readFile(attachment));
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
    QString copyOf(int n) const { return mailFolder() + QString::asprintf("/Still_2009-03-05_101530_N%04d.jpg", n); }
    QString still(int n = 1, const char* extension = "bmp")
    {
        const QString path = media.filePath(QString::asprintf("Still_2009-03-05_101530_N%04d.", n) + extension);
        EXPECT_TRUE(writeBmp(path, 40, 30, QColor(30, 140, 220)));
        return path;
    }
    /// Runs the mail window on PATH without its modal loop until it has handed the file
    /// over (or said why not) and the answer has been dealt with.
    std::unique_ptr<MailWindow> mail(const QString& path)
    {
        auto window = std::make_unique<MailWindow>(sender, path);
        if (window->start()) {
            window->show();
            const std::size_t handed = client.handed.size(), shown = prompter.shown.size();
            EXPECT_TRUE(QTest::qWaitFor([&] { return client.handed.size() > handed || prompter.shown.size() > shown; }));
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
    client.results = c.results;
    std::unique_ptr<MailWindow> window;
    for (std::size_t i = 0; i < c.results.size(); ++i) {
        window = mail(still());
    }
    EXPECT_EQ(prompter.texts(), c.texts);
    EXPECT_EQ(window->isVisible(), c.windowStays);
    EXPECT_EQ(QFileInfo::exists(copyOf(1)), c.copyKept);
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

TEST_F(MailTest, PictureGoesAsAJpegCopyThatTheNextMailClears)
{
    const auto window = mail(still(1));
    EXPECT_EQ(window->text(), "Start outlook, Please waiting....");
    ASSERT_EQ(client.handed.size(), 1u);
    EXPECT_EQ(client.handed[0].first, copyOf(1));
    EXPECT_EQ(QImage::fromData(client.handed[0].second, "JPEG").size(), QSize(40, 30));
    mail(still(2));
    EXPECT_EQ(QDir(mailFolder()).entryList(QDir::Files), QStringList{QFileInfo(copyOf(2)).fileName()});
}

TEST_F(MailTest, WithoutSelectionOrMailSystemNothingIsHandedOver)
{
    MailWindow::mail(sender, std::nullopt, nullptr);
    client.available = MailClient::Availability::Missing;
    EXPECT_FALSE(MailWindow(sender, still()).start());
    client.available = MailClient::Availability::Unusable;
    EXPECT_FALSE(MailWindow(sender, still()).start());
    QTest::qWait(MailWindow::kStartDelayMs * 2);
    EXPECT_EQ(prompter.texts(), (QStringList{"Please select an image or video", MailSender::kMissingText,
                                             MailSender::kUnusableText}));
    EXPECT_TRUE(client.handed.empty());
}

TEST_F(MailTest, ClipsAndCapitalBmpGoUnchangedWithoutTheFolder)
{
    const QString video = media.filePath("Video_2009-03-05_101530_N0003.avi");
    writeFile(video, "RIFF clip");
    mail(video);
    mail(still(4, "BMP"));
    ASSERT_EQ(client.handed.size(), 2u);
    EXPECT_EQ(client.handed[0], std::make_pair(video, QByteArray("RIFF clip")));
    EXPECT_EQ(client.handed[1].first, still(4, "BMP"));
    EXPECT_FALSE(QFileInfo::exists(mailFolder()));
}

TEST_F(MailTest, PreparationFailuresStopBeforeSending)
{
    const QString broken = media.filePath("Still_2009-03-05_101530_N0009.bmp");
    writeFile(broken, QByteArray(120, 'x'));
    EXPECT_TRUE(mail(broken)->isVisible());
    QDir(mailFolder()).removeRecursively();
    writeFile(mailFolder(), "a file in the folder's place");
    mail(still());
    EXPECT_EQ(prompter.texts(), (QStringList{"imageEmail Create fail", "the TemFolder create Fail"}));
    EXPECT_TRUE(client.handed.empty());
}

TEST_F(MailTest, LinkPlantedInTheMailFolderIsNeverWrittenThrough)
{
    QTemporaryDir outside;
    const QString victim = outside.filePath(QFileInfo(copyOf(1)).fileName());
    writeFile(victim, "precious");
    ASSERT_TRUE(QDir().mkpath(mailFolder()) && QFile::link(victim, copyOf(1)));
    mail(still());
    EXPECT_EQ(readFile(victim), "precious");
    ASSERT_EQ(client.handed.size(), 1u);
    EXPECT_TRUE(client.handed[0].second.startsWith("\xFF\xD8\xFF"));
}

}  // namespace
