#include "platform/xdgemailclient.h"

#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {
/// PATH holding only a stand-in `xdg-email` that writes its arguments, one a line, beside
/// itself and then runs BODY; without BODY, no xdg-email at all.
struct FakeXdgEmail {
    explicit FakeXdgEmail(const QByteArray& body = {}) : m_oldPath(qgetenv("PATH"))
    {
        QFile file(m_dir.filePath("xdg-email"));
        if (!body.isEmpty() && file.open(QIODevice::WriteOnly)) {
            file.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \""
                       + QFile::encodeName(m_dir.filePath("arguments")) + "\"\n" + body + "\n");
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(m_dir.path()) + (body.isEmpty() ? "" : ":/usr/bin:/bin"));
    }
    ~FakeXdgEmail() { qputenv("PATH", m_oldPath); }
    QByteArray arguments() const { return TestFiles::readFile(m_dir.filePath("arguments")); }
    QTemporaryDir m_dir;
    QByteArray m_oldPath;
};

/// Sends PATH and waits for the answer; none when it never comes.
std::vector<MailClient::Result> sendAndWait(XdgEmailClient& client, const QString& path)
{
    std::vector<MailClient::Result> results;
    QObject context;
    client.send(path, &context, [&](MailClient::Result result) { results.push_back(result); });
    EXPECT_TRUE(results.empty()) << "answered inside send()";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !results.empty(); }, 10000));
    return results;
}
}  // namespace

TEST(XdgEmailClient, ExitStatusGivesTheResult)
{
    const struct {
        const char* body;
        MailClient::Result expected;
    } cases[] = {
        {"exit 0", MailClient::Result::Sent},     {"exit 2", MailClient::Result::Failed},
        {"exit 3", MailClient::Result::Unusable}, {"exit 4", MailClient::Result::Failed},
        {"kill -9 $$", MailClient::Result::Failed},
    };
    for (const auto& c : cases) {
        FakeXdgEmail fake(c.body);
        XdgEmailClient client;
        EXPECT_EQ(client.availability(), MailClient::Availability::Ready);
        EXPECT_EQ(sendAndWait(client, "/tmp/some folder/Still_N0001.jpg"), std::vector{c.expected}) << c.body;
        EXPECT_EQ(fake.arguments(), "--attach\n/tmp/some folder/Still_N0001.jpg\n") << c.body;
    }
}

TEST(XdgEmailClient, MissingProgramIsMissingOneThatCannotRunIsUnusableAndASendAnswersUnusable)
{
    FakeXdgEmail none;
    XdgEmailClient client;
    EXPECT_EQ(client.availability(), MailClient::Availability::Missing);
    EXPECT_EQ(sendAndWait(client, "/tmp/x.avi"), std::vector{MailClient::Result::Unusable});
    ASSERT_TRUE(TestFiles::writeFile(none.m_dir.filePath("xdg-email"), "#!/bin/sh\nexit 0\n"));  // not executable
    EXPECT_EQ(client.availability(), MailClient::Availability::Unusable);
    EXPECT_EQ(sendAndWait(client, "/tmp/x.avi"), std::vector{MailClient::Result::Unusable});
}

TEST(XdgEmailClient, AnswerNeverReachesAContextThatIsGone)
{
    FakeXdgEmail fake("sleep 0.2; exit 0");
    XdgEmailClient client;
    bool answered = false;
    auto context = std::make_unique<QObject>();
    client.send("/tmp/x.avi", context.get(), [&](MailClient::Result) { answered = true; });
    context.reset();
    QTest::qWait(600);
    EXPECT_FALSE(answered);
}
