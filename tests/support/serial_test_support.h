#pragma once

// Helpers shared by the serial and simulated-module tests.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <functional>

#include <sys/resource.h>

namespace radioset::testing {

// Runs the event loop until cond holds or timeoutMs passes; returns cond().
inline bool WaitFor(const std::function<bool()>& cond, int timeoutMs = 2000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

// Runs the event loop for ms milliseconds.
inline void Spin(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
}

// CPU time (user + system) this process has used, in ms.
inline double CpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0) +
           (static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0);
}

inline QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

} // namespace radioset::testing
