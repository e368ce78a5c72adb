#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <unistd.h>

// The web engine's helper processes that this test process has started.
inline int webEngineProcessCount() {
    int count = 0;
    const QString self = QString::number(getpid());
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        entry.toInt(&numeric);
        if (!numeric) continue;
        QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QString line = QString::fromLatin1(stat.readAll());
        // pid (comm) state ppid ...
        const qsizetype close = line.lastIndexOf(QLatin1Char(')'));
        const QString comm =
            line.mid(line.indexOf(QLatin1Char('(')) + 1, close - line.indexOf(QLatin1Char('(')) - 1);
        const QStringList rest = line.mid(close + 2).split(QLatin1Char(' '));
        if (rest.size() > 1 && rest[1] == self && comm.startsWith(QLatin1String("QtWebEngine"))) ++count;
    }
    return count;
}
