#pragma once

// Builds small folder trees for search tests, names given as raw bytes.
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

struct TreeBuilder {
    QTemporaryDir dir;
    QString root() const { return dir.path(); }
    QByteArray rootBytes() const { return QFile::encodeName(dir.path()); }
    QByteArray path(const QByteArray& relative) const { return rootBytes() + '/' + relative; }
    void folder(const QByteArray& relative) const { ::mkdir(path(relative).constData(), 0755); }
    void file(const QByteArray& relative) const {
        ::close(::open(path(relative).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }

    void link(const QByteArray& target, const QByteArray& relative) const {
        (void)!::symlink(target.constData(), path(relative).constData());
    }

    void fifo(const QByteArray& relative) const { ::mkfifo(path(relative).constData(), 0644); }
};

} // namespace testsupport
