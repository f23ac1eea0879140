#include "media/mailsender.h"
#include "media/mailwindow.h"

#include "support/filesizelimit.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "texts/localtext.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace TestFiles;

namespace {
using Result = MailClient::Result;

/// The fixture is the mail client: it remembers what it was handed and answers through the event loop, as a real
/// one does.
class MailTest : public ::testing::Test, public MailClient {
public:
    Availability available = Availability::Ready;
    std::vector<Result> results;                         ///< one per send, Sent past the end
    std::vector<std::pair<QString, QByteArray>> handed;  ///< path, content when handed over
    QTemporaryDir media;
    QTemporaryDir runtime;
    LocalText english;
    ScriptedPrompter prompter;
    MailSender sender{*this, english, prompter, mailFolder()};

    Availability availability() const override { return available; }
    void send(const QString& attachment, QObject* context, Done done) override
    {
        const Result result = handed.size() < results.size() ? results[handed.size()] : Result::Sent;
        handed.emplace_back(attachment, readFile(attachment));
        QMetaObject::invokeMethod(context, [done, result] { done(result); }, Qt::QueuedConnection);
    }
    QString mailFolder() const { return runtime.filePath("quillon-jpg"); }
    /// NAME in the media folder: a picture, a clip, or garbage when it starts with "Damaged".
    QString file(const QString& name)
    {
        const QString path = media.filePath(name);
        EXPECT_TRUE(name.endsWith(".avi")            ? writeFile(path, "RIFF clip")
                    : name.startsWith("Damaged") ? writeFile(path, QByteArray(120, 'x'))
                                                 : writeBmp(path, 40, 30, QColor(30, 140, 220)));
        return path;
    }
    /// Runs the mail window on PATH without its modal loop until it has handed the file
    /// over (or said why not) and the answer has been dealt with.
    std::unique_ptr<MailWindow> mail(const QString& path)
    {
        auto window = std::make_unique<MailWindow>(sender, path);
        if (window->start()) {
            window->show();
            EXPECT_EQ(window->text(), "Start outlook, Please waiting....");
            const std::size_t sent = handed.size(), shown = prompter.shown.size();
            EXPECT_TRUE(QTest::qWaitFor([&] { return handed.size() > sent || prompter.shown.size() > shown; }));
            QTest::qWait(20);
        }
        return window;
    }
};

/// FILES mailed one after the other, answered with RESULTS.
struct Outcome {
    const char* name;
    QStringList files;
    std::vector<Result> results;
    QStringList texts;                  ///< every message, in order
    QStringList handed;                 ///< the names of the files handed over
    bool windowStays;                   ///< the last mail's window
    std::optional<QStringList> copies;  ///< left in the mail folder; none when there is no folder
    bool diskFull = false;              ///< while the copies are made
};

class MailResult : public MailTest, public ::testing::WithParamInterface<Outcome> {};

TEST_P(MailResult, ShowsItsMessageAndKeepsOrClearsTheCopy)
{
    const Outcome& c = GetParam();
    results = c.results;
    std::unique_ptr<MailWindow> window;
    for (const QString& name : c.files) {
        const QString path = file(name);
        std::optional<FileSizeLimit> full;
        if (c.diskFull) {
            full.emplace(256);
        }
        window = mail(path);
    }
    EXPECT_EQ(prompter.texts(), c.texts);
    QStringList names;
    for (const auto& [path, bytes] : handed) {
        names << QFileInfo(path).fileName();
        EXPECT_TRUE(!path.endsWith(".jpg") || QImage::fromData(bytes, "JPEG").size() == QSize(40, 30)) << path.toStdString();
    }
    EXPECT_EQ(names, c.handed);
    EXPECT_EQ(window->isVisible(), c.windowStays);
    EXPECT_EQ(QFileInfo(mailFolder()).isDir() ? std::optional(QDir(mailFolder()).entryList(QDir::Files)) : std::nullopt,
              c.copies);
}

using enum MailClient::Result;
const std::optional<QStringList> kNoFolder;
const QStringList kA = {"A.jpg"}, kAA = {"A.jpg", "A.jpg"}, kSent = {"Send Completed"};

INSTANTIATE_TEST_SUITE_P(
    Results, MailResult,
    ::testing::Values(
        // The mail program may read the attachment only when the message goes out.
        Outcome{"SentClosesAndKeepsTheCopy", {"A.bmp"}, {Sent}, kSent, kA, false, kA},
        Outcome{"CancelledClosesSilentlyAndRemovesTheCopy", {"A.bmp"}, {Cancelled}, {}, kA, false, kNoFolder},
        // Nothing was set for clearing up before the first failure.
        Outcome{"FirstFailureStaysAndKeepsTheCopy", {"A.bmp"}, {Failed}, {MailSender::kFailedText}, kA, true, kA},
        Outcome{"FailureAfterAnEarlierMailRemovesTheCopy", {"A.bmp", "A.bmp"}, {Failed, Failed},
                {MailSender::kFailedText, MailSender::kFailedText}, kAA, true, kNoFolder},
        Outcome{"NoMailProgramStays", {"A.bmp"}, {Unusable}, {MailSender::kNoMailProgramText}, kA, true, kA},
        // Its window may still be open with the copy attached.
        Outcome{"NoAnswerStaysAndKeepsTheCopy", {"A.bmp", "A.bmp"}, {Sent, NoAnswer},
                {"Send Completed", MailSender::kNoAnswerText}, kAA, true, kA},
        Outcome{"NextMailClearsTheCopiesOfEarlierOnes", {"A.bmp", "B.bmp"}, {}, kSent + kSent, {"A.jpg", "B.jpg"},
                false, QStringList{"B.jpg"}},
        Outcome{"ClipsAndCapitalBmpGoUnchangedWithoutTheFolder", {"C.avi", "D.BMP"}, {}, kSent + kSent,
                {"C.avi", "D.BMP"}, false, kNoFolder},
        Outcome{"DamagedPictureStopsBeforeSending", {"Damaged.bmp"}, {}, {"imageEmail Create fail"}, {}, true,
                QStringList{}},
        Outcome{"FullDiskStopsBeforeSendingAndLeavesNoCopy", {"A.bmp"}, {}, {"Compress fail"}, {}, true, kNoFolder,
                true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MailTest, WithoutSelectionOrMailSystemNothingIsHandedOver)
{
    MailWindow::mail(sender, std::nullopt, nullptr);
    available = MailClient::Availability::Missing;
    EXPECT_FALSE(MailWindow(sender, file("A.bmp")).start());
    available = MailClient::Availability::Unusable;
    EXPECT_FALSE(MailWindow(sender, file("A.bmp")).start());
    QTest::qWait(MailWindow::kStartDelayMs * 2);
    EXPECT_EQ(prompter.texts(), (QStringList{"Please select an image or video", MailSender::kMissingText,
                                             MailSender::kUnusableText}));
    EXPECT_TRUE(handed.empty());
}

TEST_F(MailTest, NeitherALinkNorAFilePlantedForTheMailFolderIsWrittenThrough)
{
    const QString victim = file("victim.bmp");
    const QByteArray original = readFile(victim);
    ASSERT_TRUE(QDir().mkpath(mailFolder()) && QFile::link(victim, mailFolder() + "/A.jpg"));
    mail(file("A.bmp"));
    QDir(mailFolder()).removeRecursively();
    writeFile(mailFolder(), "a file");
    mail(file("A.bmp"));
    EXPECT_EQ(readFile(victim), original);
    EXPECT_EQ(readFile(mailFolder()), "a file");
    EXPECT_EQ(prompter.texts(), (QStringList{"Send Completed", "the TemFolder create Fail"}));
}

}  // namespace
