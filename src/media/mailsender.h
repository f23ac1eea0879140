#pragma once

#include "platform/mailclient.h"
#include "platform/privatefolder.h"

#include <QString>

#include <optional>

class LocalText;
class Prompter;
class QWidget;

/// What the E-Mail command hands to the mail program.
struct MailAttachment {
    QString path;          ///< the file handed over
    bool copyMade = false; ///< a copy in the private mail folder, not the gallery's own file
};

/// The steps of mailing one file, apart from the window that shows them: the check for a
/// mail system, the JPEG copy of a picture in the private mail folder, the hand-over and
/// what follows from its result. Lives for the whole run, because what a failed mail left
/// in the folder is cleared by the next one.
class MailSender {
public:
    /// What the window does after a result.
    enum class Next { Close, StayOpen };

    /// Copies go to FOLDER (tests pass a temporary one; the program uses
    /// PrivateFolder::mailLocation()).
    MailSender(MailClient& client, const LocalText& text, Prompter& prompter,
               QString folder = PrivateFolder::mailLocation());

    /// The E-Mail command's first check: with no SELECTEDPATH, the "select a file" warning.
    bool checkSelection(const std::optional<QString>& selectedPath, QWidget* parent) const;

    /// Whether a mail system can be used; when not, says so and the window closes.
    bool checkMailSystem(QWidget* parent) const;
    /// The waiting text the window shows while the mail program starts.
    QString waitingText() const;

    /// Clears what earlier mails left in the folder and, for a "bmp" picture, makes its
    /// JPEG copy there; any other file whose name is not UTF-8 gets a copy there under its
    /// display name. Empty (after a message) when the copy cannot be made.
    std::optional<MailAttachment> prepare(const QString& selectedPath, QWidget* parent);
    /// Hands ATTACHMENT to the mail program; DONE gets the result unless CONTEXT is gone.
    void send(const MailAttachment& attachment, QObject* context, MailClient::Done done);
    /// Reports RESULT, clears up after it and says whether the window closes.
    Next finish(MailClient::Result result, const MailAttachment& attachment, QWidget* parent);

    /// The JPEG copy's path for SELECTEDPATH: its name without folder and last four
    /// characters, with ".jpg", in the mail folder.
    QString copyPathFor(const QString& selectedPath) const;
    const PrivateFolder& folder() const { return m_folder; }

    // The mail system's own messages, in its own (English) words.
    static constexpr const char* kMissingText =
        "Unable to load mail system support: xdg-email was not found.";
    static constexpr const char* kUnusableText =
        "The mail system is not usable: xdg-email cannot be run.";
    static constexpr const char* kNoMailProgramText =
        "No mail program is set up to write the message.";
    static constexpr const char* kFailedText = "Send Mail failed to send message.";
    static constexpr const char* kNoAnswerText =
        "The mail program did not answer. If its window opened, finish the message there.";

private:
    void warn(QWidget* parent, const QString& text) const;
    std::optional<MailAttachment> prepareRenamedCopy(const QString& selectedPath, QWidget* parent);

    MailClient& m_client;
    const LocalText& m_text;
    Prompter& m_prompter;
    PrivateFolder m_folder;
    QString m_renamedCopy;  ///< name of the last renamed copy, cleared with the next mail's copies
    bool m_cleanupPending = false;  ///< set after every hand-over; a failed one then removes its copy at once
};
