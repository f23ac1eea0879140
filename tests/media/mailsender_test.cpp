#include "media/mailsender.h"
#include "media/mailwindow.h"

#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "texts/localtext.h"

#include <QDir>
#include <QFile>
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
using Icon = Prompter::Icon;

void writePicture(const QString& path)
{
    ASSERT_TRUE(writeBmp(path, 40, 30, QColor(30, 140, 220)));
}

/// A mail client that remembers what it was handed and answers when the test says so, or at
/// once with a set answer.
class FakeMailClient final : public MailClient {
public:
    Availability available = Availability::Ready;
    std::optional<Result> answerAtOnce;

    struct Handed {
        QString path;
        QByteArray bytes;  ///< the file's content at the moment it was handed over
    };
    std::vector<Handed> handed;

    Availability availability() const override { return available; }
    void send(const QString& attachment, QObject* context, Done done) override
    {
        handed.push_back({attachment, readFile(attachment)});
        m_context = context;
        m_done = std::move(done);
        if (answerAtOnce) {
            answer(*answerAtOnce);
        }
    }
    /// Delivers RESULT through the event loop, as a real mail client does.
    void answer(Result result)
    {
        if (m_context) {
            QMetaObject::invokeMethod(m_context, [done = m_done, result] { done(result); },
                                      Qt::QueuedConnection);
        }
    }

private:
    QPointer<QObject> m_context;
    Done m_done;
};

class MailTest : public ::testing::Test {
protected:
    QTemporaryDir media;
    QTemporaryDir runtime;
    FakeMailClient client;
    LocalText english;
    ScriptedPrompter prompter;
    std::unique_ptr<MailSender> sender;

    void SetUp() override
    {
        ASSERT_TRUE(media.isValid());
        ASSERT_TRUE(runtime.isValid());
        sender = std::make_unique<MailSender>(client, english, prompter, mailFolder());
    }
    QString mailFolder() const { return runtime.filePath("quillon-jpg"); }
    QString still(const QString& name = "Still_2009-03-05_101530_N0001.bmp")
    {
        const QString path = media.filePath(name);
        if (!QFile::exists(path)) {
            writePicture(path);
        }
        return path;
    }
    /// Runs the mail window on PATH without its modal loop until it has handed the file
    /// over (or given up) and the answer has been dealt with.
    std::unique_ptr<MailWindow> mail(const QString& path)
    {
        auto window = std::make_unique<MailWindow>(*sender, path);
        if (window->start()) {
            window->show();
            const std::size_t handedBefore = client.handed.size();
            const std::size_t shownBefore = prompter.shown.size();
            if (!QTest::qWaitFor(
                    [&] {
                        return client.handed.size() > handedBefore || prompter.shown.size() > shownBefore;
                    },
                    2000)) {
                ADD_FAILURE() << "the mail window neither handed the file over nor said why";
            }
            QTest::qWait(20);
        }
        return window;
    }
};
}  // namespace

TEST_F(MailTest, WithoutSelectionOnlyAsksToSelect)
{
    MailWindow::mail(*sender, std::nullopt, nullptr);
    EXPECT_EQ(prompter.texts(), QStringList{"Please select an image or video"});
    EXPECT_EQ(prompter.shown[0].icon, Icon::Warning);
    EXPECT_TRUE(client.handed.empty());
}

TEST_F(MailTest, WithoutAMailSystemTheWindowClosesAtOnce)
{
    const std::pair<MailClient::Availability, const char*> cases[] = {
        {MailClient::Availability::Missing, MailSender::kMissingText},
        {MailClient::Availability::Unusable, MailSender::kUnusableText},
    };
    for (const auto& [availability, text] : cases) {
        prompter.shown.clear();
        client.available = availability;
        MailWindow window(*sender, still());
        EXPECT_FALSE(window.start());
        EXPECT_EQ(window.result(), QDialog::Rejected);
        EXPECT_EQ(prompter.texts(), QStringList{text});
        QTest::qWait(MailWindow::kStartDelayMs * 2);
        EXPECT_TRUE(client.handed.empty());
        EXPECT_FALSE(QFileInfo::exists(mailFolder()));
    }
}


TEST_F(MailTest, PictureGoesAsJpegCopyInThePrivateFolderAndSentClosesTheWindow)
{
    client.answerAtOnce = Result::Sent;
    const auto window = mail(still());

    ASSERT_EQ(client.handed.size(), 1u);
    EXPECT_EQ(client.handed[0].path, mailFolder() + "/Still_2009-03-05_101530_N0001.jpg");
    EXPECT_TRUE(client.handed[0].bytes.startsWith("\xFF\xD8\xFF"));
    QImage copy;
    ASSERT_TRUE(copy.loadFromData(client.handed[0].bytes, "JPEG"));
    EXPECT_EQ(copy.size(), QSize(40, 30));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(mailFolder()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);

    EXPECT_EQ(prompter.texts(), QStringList{"Send Completed"});
    EXPECT_EQ(prompter.shown[0].icon, Icon::Warning);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
    // The mail program may read the attachment only when the message goes out.
    EXPECT_TRUE(QFile::exists(client.handed[0].path));
    EXPECT_TRUE(sender->cleanupPending());
}

TEST_F(MailTest, NextMailClearsTheCopiesOfEarlierOnes)
{
    client.answerAtOnce = Result::Sent;
    mail(still("Still_2009-03-05_101530_N0001.bmp"));
    mail(still("Still_2009-03-05_101530_N0002.bmp"));
    ASSERT_EQ(client.handed.size(), 2u);
    EXPECT_EQ(QDir(mailFolder()).entryList(QDir::Files), QStringList{"Still_2009-03-05_101530_N0002.jpg"});
}

TEST_F(MailTest, ClipsAndCapitalBmpGoUnchangedWithoutTheFolder)
{
    client.answerAtOnce = Result::Sent;
    const QString video = media.filePath("Video_2009-03-05_101530_N0003.avi");
    writeFile(video, "RIFF clip");
    const QString capital = media.filePath("Still_2009-03-05_101530_N0004.BMP");
    writePicture(capital);

    mail(video);
    mail(capital);

    ASSERT_EQ(client.handed.size(), 2u);
    EXPECT_EQ(client.handed[0].path, video);
    EXPECT_EQ(client.handed[0].bytes, "RIFF clip");
    EXPECT_EQ(client.handed[1].path, capital);
    EXPECT_FALSE(QFileInfo::exists(mailFolder()));
}

TEST_F(MailTest, CancelInTheMailProgramClosesSilentlyAndRemovesTheCopy)
{
    client.answerAtOnce = Result::Cancelled;
    const auto window = mail(still());
    ASSERT_EQ(client.handed.size(), 1u);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_FALSE(QFileInfo::exists(mailFolder()));
    EXPECT_FALSE(sender->cleanupPending());
}

TEST_F(MailTest, FailedSendKeepsTheWindowAndTheSecondFailureRemovesItsCopy)
{
    client.answerAtOnce = Result::Failed;
    const auto first = mail(still());
    EXPECT_EQ(prompter.texts(), QStringList{MailSender::kFailedText});
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->text(), "Start outlook, Please waiting....");
    // Nothing was set for clearing up before this failure, so its copy stays for now.
    EXPECT_TRUE(QFile::exists(client.handed[0].path));
    EXPECT_TRUE(sender->cleanupPending());
    first->reject();

    const auto second = mail(still());
    EXPECT_FALSE(QFileInfo::exists(mailFolder()));
    EXPECT_EQ(prompter.texts().size(), 2);
    EXPECT_TRUE(second->isVisible());
}

TEST_F(MailTest, EachFailureHasItsOwnClearMessage)
{
    const std::pair<Result, const char*> cases[] = {
        {Result::Unusable, MailSender::kNoMailProgramText},
        {Result::Failed, MailSender::kFailedText},
        {Result::NoAnswer, MailSender::kNoAnswerText},
    };
    for (const auto& [result, text] : cases) {
        prompter.shown.clear();
        client.answerAtOnce = result;
        const auto window = mail(still());
        EXPECT_EQ(prompter.texts(), QStringList{text});
        EXPECT_TRUE(window->isVisible());
    }
}


TEST_F(MailTest, PreparationFailuresStopBeforeSending)
{
    const QString broken = media.filePath("Still_2009-03-05_101530_N0009.bmp");
    writeFile(broken, QByteArray(120, 'x'));
    const auto window = mail(broken);
    EXPECT_EQ(prompter.texts(), QStringList{"imageEmail Create fail"});
    EXPECT_TRUE(client.handed.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->text(), "Start outlook, Please waiting....");

    prompter.shown.clear();
    QDir(mailFolder()).removeRecursively();
    writeFile(mailFolder(), "a file in the folder's place");
    mail(still());
    EXPECT_EQ(prompter.texts(), QStringList{"the TemFolder create Fail"});
    EXPECT_TRUE(client.handed.empty());
}

TEST_F(MailTest, LinksPlantedInOrForTheMailFolderAreNeverWrittenThrough)
{
    QTemporaryDir outside;
    const QString victim = outside.filePath("Still_2009-03-05_101530_N0001.jpg");
    writeFile(victim, "precious");
    client.answerAtOnce = Result::Sent;

    // A link under the copy's own name inside the folder.
    ASSERT_TRUE(QDir().mkpath(mailFolder()));
    ASSERT_TRUE(QFile::link(victim, mailFolder() + "/Still_2009-03-05_101530_N0001.jpg"));
    mail(still());
    EXPECT_EQ(readFile(victim), "precious");
    ASSERT_EQ(client.handed.size(), 1u);
    EXPECT_FALSE(QFileInfo(client.handed[0].path).isSymLink());
    EXPECT_TRUE(client.handed[0].bytes.startsWith("\xFF\xD8\xFF"));

    // The folder itself replaced by a link to someone else's folder.
    QDir(mailFolder()).removeRecursively();
    ASSERT_TRUE(QFile::link(outside.path(), mailFolder()));
    mail(still());
    EXPECT_EQ(readFile(victim), "precious");
    EXPECT_EQ(QDir(outside.path()).entryList(QDir::Files), QStringList{"Still_2009-03-05_101530_N0001.jpg"});
    EXPECT_FALSE(QFileInfo(mailFolder()).isSymLink());
    EXPECT_TRUE(QFile::exists(mailFolder() + "/Still_2009-03-05_101530_N0001.jpg"));
}


