#include "media/timelapse.h"

#include "platform/clock.h"

#include <QDateTime>
#include <QMetaObject>

#include <system_error>

namespace {
// How often the wall clock is read while waiting for the start time.
constexpr std::chrono::milliseconds kStartTimePoll{5};
}  // namespace

LapseTime LapseTime::fromDateTime(const QDateTime& local)
{
    const QDate date = local.date();
    const QTime time = local.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

TimeLapse::TimeLapse(const Clock& clock, std::function<void()> requestStill, QObject* parent)
    : QObject(parent), m_clock(clock), m_requestStill(std::move(requestStill))
{
}

TimeLapse::~TimeLapse()
{
    stop();
}

bool TimeLapse::start(const LapseTime& startTime, std::chrono::milliseconds interval, int count)
{
    stop();
    m_running.store(true);
    // Reset here rather than in the worker: a stop() that came before the new thread ran
    // would otherwise find the event still set and return while the worker starts.
    {
        std::lock_guard lock(m_mutex);
        m_quitSet = false;
    }
    const int run = ++m_run;
    try {
        m_worker = std::thread(&TimeLapse::work, this, startTime, interval, count, run);
    } catch (const std::system_error&) {
        // Without a worker nothing would ever set the event or clear the flag.
        m_running.store(false);
        std::lock_guard lock(m_mutex);
        m_quitSet = true;
        return false;
    }
    return true;
}

void TimeLapse::stop()
{
    Q_ASSERT(std::this_thread::get_id() != m_worker.get_id());
    m_running.store(false);
    {
        std::unique_lock lock(m_mutex);
        m_wake.notify_all();
        m_quit.wait(lock, [this] { return m_quitSet; });
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
    // Whatever the ended worker posted and is still queued belongs to a run that is over.
    ++m_run;
}

void TimeLapse::postToOwner(int run, std::function<void()> deliver)
{
    QMetaObject::invokeMethod(
        this,
        [this, run, deliver = std::move(deliver)] {
            if (run == m_run) {
                deliver();
            }
        },
        Qt::QueuedConnection);
}

void TimeLapse::work(LapseTime startTime, std::chrono::milliseconds interval, int count, int run)
{
    const auto stopped = [this] { return !m_running.load(); };
    std::unique_lock lock(m_mutex);
    // The wall clock is read again and again rather than slept against: the user may set
    // the system time while we wait, and the start is a wall-clock time.
    while (m_running.load() && LapseTime::fromDateTime(m_clock.localNow()) < startTime) {
        m_wake.wait_for(lock, kStartTimePoll, stopped);
    }
    // The intervals run on the steady clock from the first picture, so they neither drift
    // nor stretch when the wall clock is set.
    auto due = std::chrono::steady_clock::now();
    for (int number = 1;; ++number) {
        if (number > count) {
            if (m_running.load()) {
                postToOwner(run, [this] { emit closeRequested(); });
            }
            break;
        }
        if (!m_running.load()) {
            break;
        }
        lock.unlock();
        m_requestStill();
        lock.lock();
        postToOwner(run, [this, number] { emit completed(number); });
        due += interval;
        m_wake.wait_until(lock, due, stopped);
    }
    m_quitSet = true;
    m_quit.notify_all();
}
