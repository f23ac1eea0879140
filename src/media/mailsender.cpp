#include "media/mailsender.h"

#include "picture/picturefile.h"
#include "platform/fileoperations.h"
#include "platform/nativepath.h"
#include "platform/prompter.h"
#include "texts/localtext.h"

#include <QFileInfo>

#include <unistd.h>

MailSender::MailSender(MailClient& client, const LocalText& text, Prompter& prompter, QString folder)
    : m_client(client), m_text(text), m_prompter(prompter), m_folder(std::move(folder))
{
}

void MailSender::warn(QWidget* parent, const QString& text) const
{
    m_prompter.message(parent, text, Prompter::Icon::Warning);
}

bool MailSender::checkSelection(const std::optional<QString>& selectedPath, QWidget* parent) const
{
    if (selectedPath) {
        return true;
    }
    warn(parent, m_text.read(Text::SelectFile));
    return false;
}

bool MailSender::checkMailSystem(QWidget* parent) const
{
    switch (m_client.availability()) {
    case MailClient::Availability::Ready:
        return true;
    case MailClient::Availability::Missing:
        warn(parent, QString::fromLatin1(kMissingText));
        return false;
    case MailClient::Availability::Unusable:
        warn(parent, QString::fromLatin1(kUnusableText));
        return false;
    }
    return false;
}

QString MailSender::waitingText() const
{
    return m_text.read(Text::StartOutlook);
}

QString MailSender::copyPathFor(const QString& selectedPath) const
{
    // The mail program shows the attachment's name to the recipient: bytes that are not
    // UTF-8 are read as Latin-1 here, so the copy's name is one every program can show.
    const QString name = NativePath::display(QFileInfo(selectedPath).fileName());
    return m_folder.path() + QLatin1Char('/') + name.left(std::max<qsizetype>(0, name.size() - 4))
        + QStringLiteral(".jpg");
}

std::optional<MailAttachment> MailSender::prepare(const QString& selectedPath, QWidget* parent)
{
    const QString copyPath = copyPathFor(selectedPath);
    // Copies that an earlier mail could not clear up go first.
    m_folder.removeMatching(QStringLiteral(".jpg"));
    if (!std::exchange(m_renamedCopy, QString()).isEmpty()) {
        m_folder.removeAll();
    }

    const qsizetype dot = selectedPath.lastIndexOf(QLatin1Char('.'));
    // Only a lower-case "bmp" is converted; anything else, "BMP" included, goes unchanged.
    if (dot < 0 || selectedPath.mid(dot + 1) != QLatin1String("bmp")) {
        return NativePath::hasRawBytes(selectedPath) ? prepareRenamedCopy(selectedPath, parent)
                                                     : MailAttachment{selectedPath, false};
    }
    if (!m_folder.create()) {
        warn(parent, QStringLiteral("the TemFolder create Fail"));
        return std::nullopt;
    }
    PictureFile picture;
    if (!picture.load(selectedPath, PictureType::Bmp)) {
        warn(parent, QStringLiteral("imageEmail Create fail"));
        return std::nullopt;
    }
    // The name is claimed as a new file of ours first, so nothing planted under it (a link
    // to another file) is written through; then the picture is saved over our own file.
    const QString copyName = QFileInfo(copyPath).fileName();
    if (m_folder.createFile(copyName).isEmpty() || !picture.save(copyPath, PictureType::Jpeg)
        || !m_folder.holdsOwnFile(copyName)) {
        // A copy cut short by a full disk would be handed over by the next attempt's check.
        m_folder.removeMatching(QStringLiteral(".jpg"));
        warn(parent, QStringLiteral("Compress fail"));
        return std::nullopt;
    }
    return MailAttachment{copyPath, true};
}

// xdg-email resolves links and passes the attachment's name through iconv, which stops at
// the first byte that is not UTF-8: such a file goes as a copy with a name that is UTF-8
// (a hard link where the mail folder shares the file's disk, so a clip costs nothing).
std::optional<MailAttachment> MailSender::prepareRenamedCopy(const QString& selectedPath, QWidget* parent)
{
    QString error;
    if (!m_folder.create(&error)) {
        warn(parent, QStringLiteral("the TemFolder create Fail"));
        return std::nullopt;
    }
    const QString name = NativePath::display(QFileInfo(selectedPath).fileName());
    const QString copyPath = m_folder.path() + QLatin1Char('/') + name;
    m_renamedCopy = name;
    if (::link(NativePath::encode(selectedPath).constData(), NativePath::encode(copyPath).constData()) == 0) {
        return MailAttachment{copyPath, true};
    }
    // As for the JPEG copy: the name is claimed as our own file before anything is written.
    if (m_folder.createFile(name, &error).isEmpty()) {
        warn(parent, error);
        return std::nullopt;
    }
    if (const std::optional<QString> failure = FileOperations::copyReplacing(selectedPath, copyPath)) {
        m_folder.removeAll();
        warn(parent, *failure);
        return std::nullopt;
    }
    return MailAttachment{copyPath, true};
}

void MailSender::send(const MailAttachment& attachment, QObject* context, MailClient::Done done)
{
    m_client.send(attachment.path, context, std::move(done));
}

MailSender::Next MailSender::finish(MailClient::Result result, const MailAttachment& attachment,
                                    QWidget* parent)
{
    switch (result) {
    case MailClient::Result::Sent:
        warn(parent, m_text.read(Text::SendCamplete));
        // The copy stays: the mail program may read the attachment only when the user sends
        // the message. The next mail clears it.
        m_cleanupPending = true;
        return Next::Close;
    case MailClient::Result::Cancelled:
        m_cleanupPending = true;
        if (attachment.copyMade) {
            m_folder.removeAll();
            m_cleanupPending = false;
        }
        return Next::Close;
    case MailClient::Result::NoAnswer:
        // The mail program may still have the message open with the copy attached.
        warn(parent, QString::fromLatin1(kNoAnswerText));
        m_cleanupPending = true;
        return Next::StayOpen;
    case MailClient::Result::Unusable:
    case MailClient::Result::Failed:
        break;
    }
    if (m_cleanupPending && attachment.copyMade) {
        m_folder.removeAll();
        m_cleanupPending = false;
    }
    warn(parent, QString::fromLatin1(result == MailClient::Result::Unusable ? kNoMailProgramText
                                                                             : kFailedText));
    m_cleanupPending = true;
    return Next::StayOpen;
}
