#include "platform/xdgemailclient.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace std::chrono_literals;

namespace {
/// A stand-in `xdg-email` first on PATH: it writes its arguments, one a line, beside itself
/// and then runs BODY.
class FakeXdgEmail {
public:
    explicit FakeXdgEmail(const QByteArray& body)
    {
        m_script = m_dir.filePath("xdg-email");
        QFile file(m_script);
        if (file.open(QIODevice::WriteOnly)) {
            file.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \""
                       + QFile::encodeName(argumentsFile()) + "\"\n" + body + "\n");
        }
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ":/usr/bin:/bin");
    }
    ~FakeXdgEmail() { qputenv("PATH", m_oldPath); }

    QString argumentsFile() const { return m_dir.filePath("arguments"); }
    QStringList arguments() const
    {
        QFile file(argumentsFile());
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromLocal8Bit(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir m_dir;
    QString m_script;
    QByteArray m_oldPath;
};

/// PATH with no xdg-email on it at all.
class NoXdgEmail {
public:
    NoXdgEmail() : m_oldPath(qgetenv("PATH")) { qputenv("PATH", QFile::encodeName(m_dir.path())); }
    ~NoXdgEmail() { qputenv("PATH", m_oldPath); }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldPath;
};

struct Answers {
    std::vector<MailClient::Result> results;
    MailClient::Done collector()
    {
        return [this](MailClient::Result result) { results.push_back(result); };
    }
    bool waitForOne(int timeoutMs = 10000)
    {
        return QTest::qWaitFor([this] { return !results.empty(); }, timeoutMs);
    }
};
}  // namespace

TEST(XdgEmailClient, HandsTheFileOverAsAttachment)
{
    FakeXdgEmail fake("exit 0");
    XdgEmailClient client;
    EXPECT_EQ(client.availability(), MailClient::Availability::Ready);
    QObject context;
    Answers answers;
    client.send("/tmp/some folder/Still_2009-03-05_101530_N0001.jpg", &context, answers.collector());
    ASSERT_TRUE(answers.waitForOne());
    EXPECT_EQ(fake.arguments(), (QStringList{"--attach", "/tmp/some folder/Still_2009-03-05_101530_N0001.jpg"}));
}

TEST(XdgEmailClient, ExitStatusGivesTheResult)
{
    const struct {
        const char* name;
        QByteArray body;
        MailClient::Result expected;
    } cases[] = {
        {"done", "exit 0", MailClient::Result::Sent},
        {"bad arguments", "exit 1", MailClient::Result::Failed},
        {"attachment missing", "exit 2", MailClient::Result::Failed},
        {"no mail program set up", "exit 3", MailClient::Result::Unusable},
        {"the mail program failed", "exit 4", MailClient::Result::Failed},
        {"crashed", "kill -9 $$", MailClient::Result::Failed},
    };
    for (const auto& c : cases) {
        FakeXdgEmail fake(c.body);
        XdgEmailClient client;
        QObject context;
        Answers answers;
        client.send("/tmp/x.avi", &context, answers.collector());
        ASSERT_TRUE(answers.waitForOne()) << c.name;
        EXPECT_EQ(answers.results, std::vector{c.expected}) << c.name;
    }
}

TEST(XdgEmailClient, MissingProgramIsMissingAndASendAnswersUnusable)
{
    NoXdgEmail none;
    XdgEmailClient client;
    EXPECT_EQ(client.availability(), MailClient::Availability::Missing);

    QObject context;
    Answers answers;
    client.send("/tmp/x.avi", &context, answers.collector());
    // Never answered inside send() itself.
    EXPECT_TRUE(answers.results.empty());
    ASSERT_TRUE(answers.waitForOne());
    EXPECT_EQ(answers.results, std::vector{MailClient::Result::Unusable});
}



TEST(XdgEmailClient, AnswerNeverReachesAContextThatIsGone)
{
    FakeXdgEmail fake("sleep 0.2; exit 0");
    XdgEmailClient client;
    Answers answers;
    {
        QObject context;
        client.send("/tmp/x.avi", &context, answers.collector());
    }
    QTest::qWait(600);
    EXPECT_TRUE(answers.results.empty());
}
