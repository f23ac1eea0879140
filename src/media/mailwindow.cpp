#include "media/mailwindow.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

MailWindow::MailWindow(MailSender& sender, QString selectedPath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      m_sender(sender),
      m_selectedPath(std::move(selectedPath))
{
    setWindowTitle(QString());
    setModal(true);
    m_label = new QLabel(this);
    m_label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(m_label);
    setMinimumSize(300, 80);
}

void MailWindow::mail(MailSender& sender, const std::optional<QString>& selectedPath, QWidget* parent)
{
    if (!sender.checkSelection(selectedPath, parent)) {
        return;
    }
    MailWindow window(sender, *selectedPath, parent);
    window.run();
}

bool MailWindow::start()
{
    if (!m_sender.checkMailSystem(this)) {
        reject();
        return false;
    }
    m_label->setText(m_sender.waitingText());
    QTimer::singleShot(kStartDelayMs, this, &MailWindow::sendNow);
    return true;
}

int MailWindow::run()
{
    if (!start()) {
        return QDialog::Rejected;
    }
    return exec();
}

QString MailWindow::text() const
{
    return m_label->text();
}

void MailWindow::sendNow()
{
    m_attachment = m_sender.prepare(m_selectedPath, this);
    if (!m_attachment) {
        // The waiting text stays until the user closes the window.
        return;
    }
    m_sender.send(*m_attachment, this, [this](MailClient::Result result) {
        if (m_sender.finish(result, *m_attachment, this) == MailSender::Next::Close) {
            accept();
        }
    });
}
