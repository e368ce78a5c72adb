#pragma once

// Builds small folder trees for search tests, names given as raw bytes.
#include <QByteArray>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

class TreeBuilder {
public:
    TreeBuilder() { QVERIFY(dir_.isValid()); }
    QString root() const { return dir_.path(); }
    QByteArray rootBytes() const { return QFile::encodeName(dir_.path()); }
    QByteArray path(const QByteArray& relative) const { return rootBytes() + '/' + relative; }

    void folder(const QByteArray& relative) const { ::mkdir(path(relative).constData(), 0755); }
    void file(const QByteArray& relative) const {
        const int fd = ::open(path(relative).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0) ::close(fd);
    }
    void link(const QByteArray& target, const QByteArray& relative) const {
        [[maybe_unused]] int rc = ::symlink(target.constData(), path(relative).constData());
    }
    void fifo(const QByteArray& relative) const { ::mkfifo(path(relative).constData(), 0644); }

private:
    QTemporaryDir dir_;
};

} // namespace testsupport
