#pragma once
// What the benchmarks that drive the main window share.

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <algorithm>

namespace bench {

// Kilobytes of a field of /proc/self/status ("VmRSS", "VmHWM"); -1 where it cannot be read.
inline long statusKb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(key.size()).trimmed().split(' ').first().toLong();
    return -1;
}

// The event loop's turns, seen through a timer that wants to run every millisecond: the
// longest time between two turns while it watches.
class EventLoopGaps {
public:
    EventLoopGaps() {
        probe_.setTimerType(Qt::PreciseTimer);
        probe_.setInterval(1);
        QObject::connect(&probe_, &QTimer::timeout, [this] { noteTurn(); });
    }
    void start() {
        worstMs_ = 0;
        sinceTurn_.start();
        probe_.start();
    }
    // Stops watching; the longest gap since start(), the one up to now included.
    double stop() {
        probe_.stop();
        noteTurn();
        return worstMs_;
    }

private:
    void noteTurn() {
        worstMs_ = std::max(worstMs_, sinceTurn_.nsecsElapsed() / 1e6);
        sinceTurn_.start();
    }

    QTimer probe_;
    QElapsedTimer sinceTurn_;
    double worstMs_ = 0;
};

} // namespace bench
