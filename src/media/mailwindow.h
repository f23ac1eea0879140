#pragma once

#include "media/mailsender.h"

#include <QDialog>

#include <optional>

class QLabel;

/// The small untitled window of the E-Mail command: one centred line of waiting text while
/// the mail program starts. It stays responsive while the mail program is being reached and
/// closes by itself once the hand-over is done; after a failure it stays until closed.
class MailWindow : public QDialog {
    Q_OBJECT
public:
    /// Delay between showing the waiting text and starting, so the text is painted first.
    static constexpr int kStartDelayMs = 50;

    MailWindow(MailSender& sender, QString selectedPath, QWidget* parent = nullptr);

    /// The E-Mail command: warns when nothing is selected, else runs the window modally on
    /// the selected file.
    static void mail(MailSender& sender, const std::optional<QString>& selectedPath,
                     QWidget* parent);

    /// Checks for a mail system (the window closes at once without one), shows the waiting
    /// text and starts the hand-over after kStartDelayMs. Returns false when it closed.
    bool start();
    /// start(), then the modal run.
    int run();

    QString text() const;

private:
    void sendNow();

    MailSender& m_sender;
    QString m_selectedPath;
    QLabel* m_label = nullptr;
    std::optional<MailAttachment> m_attachment;
};
