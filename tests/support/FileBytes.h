#pragma once

// A file's whole content, read or written in one go; a QByteArray names the file by its raw bytes.
#include <QFile>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

namespace testsupport {

inline QByteArray readBytes(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
inline QByteArray readBytes(const QByteArray& raw) {
    QFile f;
    const int fd = ::open(raw.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !f.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) return "<unreadable>";
    return f.readAll();
}
inline void writeBytes(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}
inline void writeBytes(const QByteArray& raw, const QByteArray& bytes) {
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
}

} // namespace testsupport
