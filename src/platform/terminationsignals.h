#pragma once

#include <QObject>
#include <QSocketNotifier>

/// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C in a terminal, the terminal
/// going away) into a queued signal on the thread that made it, so the program can close its
/// window the ordinary way and end a recording with a playable clip instead of dying in it.
/// One per process.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    bool isActive() const { return m_notifier != nullptr; }

signals:
    void requested(int signalNumber);

private:
    void readPending();

    QSocketNotifier* m_notifier = nullptr;
};
