#pragma once

#include <QDateTime>

/// The local wall-clock time. File names carry it; tests hand in a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime localNow() const = 0;
};

/// The system's local time.
class SystemClock final : public Clock {
public:
    QDateTime localNow() const override { return QDateTime::currentDateTime(); }
};
