#pragma once

#include <QString>

#include <functional>

class QObject;

/// Hands a new, empty message with one attached file to the user's mail program. The user
/// completes and sends it there; the program only learns whether the hand-over worked.
class MailClient {
public:
    enum class Availability {
        Ready,
        Missing,   ///< no mail system at all
        Unusable,  ///< present but cannot be used
    };
    enum class Result {
        Sent,         ///< the mail program took the message
        Cancelled,    ///< the user cancelled in the mail program
        Unusable,     ///< the mail system could not run (no mail program set up)
        Failed,       ///< any other failure
        NoAnswer,     ///< no answer within the time limit; the mail program may still be open
    };
    using Done = std::function<void(Result)>;

    virtual ~MailClient() = default;

    /// Whether a mail system is there to be used, checked before anything is prepared.
    virtual Availability availability() const = 0;
    /// Starts the hand-over of ATTACHMENT and returns at once. DONE is called exactly once on
    /// the calling thread's event loop, unless CONTEXT is destroyed first.
    virtual void send(const QString& attachment, QObject* context, Done done) = 0;
};
