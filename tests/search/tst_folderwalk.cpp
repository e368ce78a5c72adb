// The walk on its own: what it reports and in which order, deep trees, folders it may
// not read, and the yields it offers.
#include "search/FolderWalk.h"
#include "support/TreeBuilder.h"

#include <QCoreApplication>
#include <QTest>
#include <sys/mount.h>
#include <sys/wait.h>

using testsupport::TreeBuilder;

namespace {

struct Recorder : search::WalkSink {
    QStringList events; // "file <path>", "listed <folder>", "yield"
    int yields = 0;
    int stopAfterYields = -1;
    void fileFound(std::string_view folder, std::string_view name, bool first) override {
        events << QStringLiteral("file%1 %2|%3")
                      .arg(first ? "*" : "")
                      .arg(QString::fromStdString(std::string(folder)),
                           QString::fromStdString(std::string(name)));
    }
    void folderListed(std::string_view folder) override {
        events << QStringLiteral("listed ") + QString::fromStdString(std::string(folder));
    }
    bool yield() override {
        ++yields;
        events << QStringLiteral("yield");
        return stopAfterYields < 0 || yields < stopAfterYields;
    }
};

} // namespace

class TestFolderWalk : public QObject {
    Q_OBJECT
private slots:
    void reportsFilesThenFolderThenSubFolders();
    void walksTreesDeeperThanItKeepsFoldersOpen();
    void skipsFoldersItMayNotRead();
    void stopsWhenTheSinkSaysSo();
    void staysOnTheVolumeOfItsRoot();
};

void TestFolderWalk::reportsFilesThenFolderThenSubFolders() {
    TreeBuilder tree;
    tree.folder("s");
    tree.file("s/b.txt");
    tree.file("a.txt");
    tree.file("a.doc");
    search::FolderWalk walk;
    walk.setYieldInterval(0);
    Recorder r;
    const std::string root = tree.rootBytes().toStdString();
    QVERIFY(walk.run(root, search::WildcardPattern(QStringLiteral("*.txt")), r));
    const QString R = tree.root();
    // A yield after every file listed and before every sub-folder entered.
    QCOMPARE(r.events, (QStringList{"file* " + R + "|a.txt", "yield", "listed " + R, "yield",
                                    "file* " + R + "/s|b.txt", "yield", "listed " + R + "/s"}));

    // The root given with its trailing separator keeps it; entries do not double it.
    Recorder r2;
    QVERIFY(walk.run(root + "/", search::WildcardPattern(QStringLiteral("*.txt")), r2));
    QCOMPARE(r2.events.first(), "file* " + R + "/|a.txt");
    QVERIFY(r2.events.contains("file* " + R + "/s|b.txt"));

    // With a time slice the walk yields only when the slice has run out.
    walk.setYieldInterval(60000);
    Recorder r3;
    QVERIFY(walk.run(root, search::WildcardPattern(QStringLiteral("*")), r3));
    QCOMPARE(r3.yields, 0);
}

void TestFolderWalk::walksTreesDeeperThanItKeepsFoldersOpen() {
    TreeBuilder tree;
    QByteArray path;
    for (int depth = 0; depth < 300; ++depth) {
        path += (depth ? "/d" : "d");
        tree.folder(path);
    }
    tree.file(path + "/bottom.txt");
    tree.file("d/top.txt");
    search::FolderWalk walk;
    Recorder r;
    QVERIFY(walk.run(tree.rootBytes().toStdString(), search::WildcardPattern(QStringLiteral("*.txt")), r));
    QStringList files = r.events.filter(QRegularExpression("^file"));
    QCOMPARE(files.size(), 2);
    QVERIFY(files[0].endsWith("/d|top.txt"));
    QCOMPARE(files[1], "file* " + tree.root() + '/' + QString::fromLatin1(path) + "|bottom.txt");
}

void TestFolderWalk::skipsFoldersItMayNotRead() {
    // Permissions do not stop root, so the walk runs in a child process as nobody.
    TreeBuilder tree;
    tree.folder("open");
    tree.file("open/a.txt");
    tree.folder("shut");
    tree.file("shut/hidden.txt");
    tree.folder("shut/below");
    tree.file("shut/below/deep.txt");
    tree.file("z.txt");
    ::chmod(tree.root().toLocal8Bit().constData(), 0755);
    ::chmod(tree.path("shut").constData(), 0300); // may enter, may not list
    int fds[2];
    QVERIFY(::pipe(fds) == 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        search::FolderWalk walk;
        Recorder r;
        walk.run(tree.rootBytes().toStdString(), search::WildcardPattern(QStringLiteral("*.txt")), r);
        const QByteArray out = r.events.filter(QRegularExpression("^(file|listed)")).join('\n').toUtf8();
        [[maybe_unused]] auto n = ::write(fds[1], out.constData(), size_t(out.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray out;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        out.append(buf, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(tree.path("shut").constData(), 0755);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    const QStringList events = QString::fromUtf8(out).split('\n');
    const QString R = tree.root();
    QVERIFY(events.contains("file* " + R + "|z.txt"));
    QVERIFY(events.contains("file* " + R + "/open|a.txt"));
    for (const QString& e : events)
        QVERIFY2(!e.contains(QLatin1String("/shut")), qPrintable(e)); // skipped, sub-tree included
}

void TestFolderWalk::stopsWhenTheSinkSaysSo() {
    TreeBuilder tree;
    for (int i = 0; i < 5; ++i)
        tree.file(QByteArray::number(i) + ".txt");
    tree.folder("s");
    tree.file("s/x.txt");
    search::FolderWalk walk;
    walk.setYieldInterval(0);
    Recorder r;
    r.stopAfterYields = 2;
    QVERIFY(!walk.run(tree.rootBytes().toStdString(), search::WildcardPattern(QStringLiteral("*.txt")), r));
    QCOMPARE(r.events.filter(QRegularExpression("^file")).size(), 2);
    QCOMPARE(r.events.last(), QStringLiteral("yield"));

    // A missing root: nothing reported, the walk still counts as finished.
    Recorder none;
    QVERIFY(walk.run(tree.rootBytes().toStdString() + "/missing",
                     search::WildcardPattern(QStringLiteral("*")), none));
    QVERIFY(none.events.isEmpty());
}

void TestFolderWalk::staysOnTheVolumeOfItsRoot() {
    TreeBuilder tree;
    tree.folder("mnt");
    tree.file("mnt/under.txt"); // hidden by what is mounted over it
    tree.file("top.txt");
    const QByteArray mountPoint = tree.path("mnt");
    if (::mount("orvik-test", mountPoint.constData(), "tmpfs", 0, nullptr) != 0)
        QSKIP("mounting a file system needs root and a mount-capable sandbox");
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
    } unmount{mountPoint};
    tree.file("mnt/other-volume.txt");
    search::FolderWalk walk;
    Recorder r;
    QVERIFY(walk.run(tree.rootBytes().toStdString(), search::WildcardPattern(QStringLiteral("*.txt")), r));
    const QStringList files = r.events.filter(QRegularExpression("^file"));
    QCOMPARE(files, QStringList{"file* " + tree.root() + "|top.txt"});
}

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "tst_folderwalk.moc"
