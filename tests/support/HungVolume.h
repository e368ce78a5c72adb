#pragma once

// A FUSE volume that hangs (bench/slowfs.py), mounted for as long as the object lives: it holds a.txt,
// stuck.txt, stuck.f4u and the folders "hang" and "deep" (a.txt and a folder "hang"), and every listing
// takes 10 ms. Listing a folder "hang", and looking up anything in it or any name that starts with
// "stuck", never returns.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace testsupport {

struct HungVolume {
    QTemporaryDir source, mount;
    QProcess volume;
    HungVolume() {
        for (const char* folder : {"/hang", "/deep/hang"})
            QDir().mkpath(source.path() + folder);
        for (const char* file : {"/a.txt", "/stuck.txt", "/stuck.f4u", "/deep/a.txt"})
            QFile(source.path() + file).open(QIODevice::WriteOnly);
        volume.start("/usr/bin/python3", {QFINDTESTDATA("../../bench/slowfs.py"), source.path(), mount.path(),
                                          "0.01", "0", "hang"});
    }
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
