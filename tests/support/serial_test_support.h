#pragma once

// Helpers shared by the serial and simulated-module tests.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <QTemporaryDir>

#include <functional>

#include <sys/resource.h>

namespace radioset::testing {

// Runs the event loop until cond holds or timeoutMs passes; returns cond().
// (processEvents with a time limit never sleeps, so it would measure as CPU
// load; a real loop does.)
inline bool WaitFor(const std::function<bool()>& cond, int timeoutMs = 2000)
{
    if (cond())
        return true;
    QEventLoop loop;
    QDeadlineTimer deadline(timeoutMs);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (cond() || deadline.hasExpired())
            loop.quit();
    });
    poll.start(2);
    loop.exec();
    return cond();
}

// Runs the event loop for ms milliseconds.
inline void Spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
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
