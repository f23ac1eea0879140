#pragma once

#include "platform/mailclient.h"

#include <QObject>

#include <chrono>

/// The mail client of a Linux desktop: `xdg-email --attach FILE`, run without blocking the
/// event loop. Exit status 0 means the user's mail program has the message; 3 means no mail
/// program is set up; anything else is a failure.
class XdgEmailClient final : public MailClient {
public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{std::chrono::minutes(2)};

    explicit XdgEmailClient(std::chrono::milliseconds timeout = kDefaultTimeout,
                            QString program = QStringLiteral("xdg-email"));
    ~XdgEmailClient() override;

    Availability availability() const override;
    void send(const QString& attachment, QObject* context, Done done) override;

private:
    /// The program's full path from PATH, or empty when there is none.
    QString locate() const;

    std::chrono::milliseconds m_timeout;
    QString m_program;
    QObject m_processes;  ///< parent of the running processes, so none outlives the client
};
