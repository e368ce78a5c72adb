#pragma once

// The FUSE volume of hungfs.py, mounted for as long as the object lives: listing its folder
// "hang", and looking up anything in it or any name that starts with "stuck", never returns.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace testsupport {

struct HungVolume {
    QTemporaryDir mount;
    QProcess volume;
    HungVolume() { volume.start("/usr/bin/python3", {QFINDTESTDATA("../support/hungfs.py"), mount.path()}); }
    ~HungVolume() {
        volume.kill(); // what hangs then fails, and the threads waiting on it end
        volume.waitForFinished();
        QProcess::execute("fusermount", {"-u", "-z", mount.path()});
    }

    // False where FUSE cannot be had here (no /dev/fuse, fuse3 or python3-fusepy).
    bool mounted() {
        return QTest::qWaitFor([&] { return QFile::exists(mount.path() + "/a.txt"); }, 5000);
    }
    QString path(const QString& name) const { return mount.path() + '/' + name; }
};

} // namespace testsupport
