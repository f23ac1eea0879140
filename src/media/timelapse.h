#pragma once

#include <QObject>

#include <atomic>
#include <chrono>
#include <compare>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class Clock;
class QDateTime;

/// A local wall-clock time as the user enters it, field by field. Times compare field by
/// field, year first, so a field the calendar does not have (hour 24, day 31 in April) still
/// orders the way its digits read.
struct LapseTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    static LapseTime fromDateTime(const QDateTime& local);
    auto operator<=>(const LapseTime&) const = default;
};

/// The time-lapse schedule: from a start time on, asks for a still picture once per
/// interval, a given number of times, and one interval after the last one asks to be closed.
/// One worker thread per start; stop() ends it at once, from any of its waits, and returns
/// only when it has ended. completed() and closeRequested() arrive on this object's thread.
class TimeLapse : public QObject {
    Q_OBJECT
public:
    /// REQUESTSTILL runs on the worker thread at each due time: it must only raise a flag.
    TimeLapse(const Clock& clock, std::function<void()> requestStill, QObject* parent = nullptr);
    /// Stops a running schedule.
    ~TimeLapse() override;

    /// Starts a worker for COUNT pictures, the first at START (on the clock, to the second),
    /// then one every INTERVAL. A running schedule is stopped first. False when no thread
    /// could be made; nothing runs then.
    bool start(const LapseTime& start, std::chrono::milliseconds interval, int count);
    /// Clears the running flag, wakes the worker and waits until it has ended. Never call it
    /// from requestStill.
    void stop();
    /// Between a start and the next stop, also after the worker asked to be closed.
    bool isRunning() const { return m_running.load(); }

signals:
    /// The worker has asked for picture NUMBER (counting from 1).
    void completed(int number);
    /// The last picture's interval is over.
    void closeRequested();

private:
    void work(LapseTime startTime, std::chrono::milliseconds interval, int count, int run);
    void postToOwner(int run, std::function<void()> deliver);

    const Clock& m_clock;
    std::function<void()> m_requestStill;
    std::atomic<bool> m_running{false};
    // The worker waits on m_wake for a stop; stop() waits on m_quitSet, which is set while
    // no worker runs (the manual-reset quit event).
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_quit;
    bool m_quitSet = true;
    std::thread m_worker;
    // Counts starts on the owner's thread, so news a stopped worker posted late is dropped.
    int m_run = 0;
};
