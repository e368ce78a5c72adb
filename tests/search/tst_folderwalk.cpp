// The walk on its own: what it reports and in which order, deep trees, folders it may
// not read, loops made by mounts, and the yields it offers.
#include "search/FolderWalk.h"
#include "support/TreeBuilder.h"

#include <QCoreApplication>
#include <QSet>
#include <QTest>
#include <climits>
#include <dirent.h>
#include <functional>
#include <sched.h>
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

// Runs body in a forked child and returns what it wrote to the pipe it is given, or
// nothing with *exitCode set to the child's exit status.
QByteArray inChild(const std::function<int(int out)>& body, int* exitCode) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        ::_exit(body(fds[1]));
    }
    ::close(fds[1]);
    QByteArray out;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        out.append(buf, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return out;
}

void writeAll(int fd, const QByteArray& data) {
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n <= 0) return;
        done += n;
    }
}

// A chain of folders "d" inside each other, built and removed through open folders, as
// its paths are longer than the system allows.
class FolderChain {
public:
    // Every sideEvery levels a folder "e" with a file side<level>.txt sits beside the
    // next "d"; it is made first, so that file systems that list newest first come back
    // to it after the whole chain below.
    FolderChain(const QByteArray& base, int depth, int sideEvery) : base_(base), depth_(depth) {
        int fd = ::open(base.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int level = 1; fd >= 0 && level <= depth; ++level) {
            if (level % sideEvery == 0 && ::mkdirat(fd, "e", 0755) == 0) {
                const int e = ::openat(fd, "e", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                touch(e, "side" + QByteArray::number(level) + ".txt");
                ::close(e);
            }
            ::mkdirat(fd, "d", 0755);
            const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = next;
        }
        built_ = fd >= 0;
        touch(fd, "bottom.txt");
        ::close(fd);
    }
    // Removes the chain from the top: the rest of it moves up one level each time.
    ~FolderChain() {
        const int top = ::open(base_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int guard = 0; top >= 0 && guard <= depth_ + 1; ++guard) {
            const int d = ::openat(top, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (d < 0) break;
            const bool more = ::renameat(d, "d", top, "rest") == 0;
            if (const int e = ::openat(d, "e", O_RDONLY | O_DIRECTORY | O_CLOEXEC); e >= 0) {
                clear(e);
                ::close(e);
                ::unlinkat(d, "e", AT_REMOVEDIR);
            }
            clear(d);
            ::close(d);
            ::unlinkat(top, "d", AT_REMOVEDIR);
            if (!more || ::renameat(top, "rest", top, "d") != 0) break;
        }
        if (top >= 0) ::close(top);
    }
    bool built() const { return built_; }

private:
    static void touch(int dirFd, const QByteArray& name) {
        const int f = ::openat(dirFd, name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (f >= 0) ::close(f);
    }
    static void clear(int dirFd) { // removes the files of a folder
        const int dup = ::dup(dirFd);
        DIR* dir = dup >= 0 ? ::fdopendir(dup) : nullptr;
        if (!dir) return;
        QList<QByteArray> names;
        while (dirent* e = ::readdir(dir))
            if (e->d_type != DT_DIR) names << e->d_name;
        ::closedir(dir);
        for (const QByteArray& n : names)
            ::unlinkat(dirFd, n.constData(), 0);
    }
    QByteArray base_;
    int depth_;
    bool built_ = false;
};

} // namespace

class TestFolderWalk : public QObject {
    Q_OBJECT
private slots:
    void reportsFilesThenFolderThenSubFolders();
    void listsCrowdedFoldersWhole();
    void walksTreesDeeperThanItKeepsFoldersOpen();
    void skipsFoldersItMayNotRead();
    void stopsWhenTheSinkSaysSo();
    void staysOnTheVolumeOfItsRoot();
    void neverEntersAFolderAlreadyOnItsPath();
    void walksAChainLongerThanAnyPath();
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

void TestFolderWalk::listsCrowdedFoldersWhole() {
    // More entries than one read of a folder brings: each file once, every sub-folder
    // walked after all of them.
    TreeBuilder tree;
    QSet<QString> want;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray name = "a-rather-long-file-name-to-fill-the-listing-" + QByteArray::number(i);
        if (i % 500 == 0) {
            tree.folder(name);
            tree.file(name + "/inner.txt");
            want << QString::fromLatin1(name) + "|inner.txt";
        } else {
            tree.file(name + ".txt");
            want << "|" + QString::fromLatin1(name) + ".txt";
        }
    }
    search::FolderWalk walk;
    walk.setYieldInterval(60000);
    Recorder r;
    QVERIFY(walk.run(tree.rootBytes().toStdString(), search::WildcardPattern(QStringLiteral("*.txt")), r));
    const QStringList files = r.events.filter(QRegularExpression("^file"));
    QSet<QString> got;
    for (const QString& f : files)
        got << f.mid(f.indexOf(' ') + 1 + tree.root().size()).remove(QRegularExpression("^/"));
    QCOMPARE(files.size(), 3000);
    QCOMPARE(got, want);
    QVERIFY(files.first().startsWith("file* "));
    QCOMPARE(files.filter(QRegularExpression("^file\\* ")).size(), 7); // the root and its 6 sub-folders
    QCOMPARE(r.events.indexOf("listed " + tree.root()), 2994);
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
    int code = 0;
    const QByteArray out = inChild(
        [&](int fd) {
            if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
            search::FolderWalk walk;
            Recorder r;
            walk.run(tree.rootBytes().toStdString(), search::WildcardPattern(QStringLiteral("*.txt")), r);
            writeAll(fd, r.events.filter(QRegularExpression("^(file|listed)")).join('\n').toUtf8());
            return 0;
        },
        &code);
    ::chmod(tree.path("shut").constData(), 0755);
    QCOMPARE(code, 0);
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

void TestFolderWalk::neverEntersAFolderAlreadyOnItsPath() {
    // A folder bound onto one of its own descendants lies on the same file system, so
    // only the folders' identities show the loop. The mounts live in a child process
    // with a mount namespace of its own, so nothing outside sees them.
    TreeBuilder tree;
    tree.folder("a");
    tree.file("a/x.txt");
    tree.folder("a/b");
    tree.file("a/b/y.txt");
    tree.folder("a/b/c");
    tree.folder("twin");
    const QByteArray a = tree.path("a"), c = tree.path("a/b/c"), twin = tree.path("twin");
    int code = 0;
    const QByteArray out = inChild(
        [&](int fd) {
            if (::unshare(CLONE_NEWNS) != 0) return 77;
            if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return 77;
            if (::mount(a.constData(), c.constData(), nullptr, MS_BIND, nullptr) != 0) return 77;
            // The same folder again beside it, not on its path: that one is walked.
            if (::mount(a.constData(), twin.constData(), nullptr, MS_BIND, nullptr) != 0) return 77;
            search::FolderWalk walk;
            Recorder r;
            walk.run(tree.rootBytes().toStdString(), search::WildcardPattern(QStringLiteral("*.txt")), r);
            writeAll(fd, r.events.filter(QRegularExpression("^file")).join('\n').toUtf8());
            return 0;
        },
        &code);
    if (code == 77) QSKIP("binding a folder needs a mount namespace of one's own");
    QCOMPARE(code, 0);
    QStringList files = QString::fromUtf8(out).split('\n');
    files.sort();
    const QString R = tree.root();
    QCOMPARE(files, (QStringList{"file* " + R + "/a/b|y.txt", "file* " + R + "/a|x.txt",
                                 "file* " + R + "/twin/b|y.txt", "file* " + R + "/twin|x.txt"}));
}

void TestFolderWalk::walksAChainLongerThanAnyPath() {
    // 5,000 folders inside each other: far more than fit the stack as recursion, far
    // more than the walk keeps open, paths of 10,000 bytes. Beside the chain, every 500
    // levels, one more folder that the walk reaches only after coming back up.
    TreeBuilder tree;
    constexpr int depth = 5000;
    FolderChain chain(tree.rootBytes(), depth, 500);
    QVERIFY(chain.built());
    search::FolderWalk walk;
    Recorder r;
    QVERIFY(walk.run(tree.rootBytes().toStdString(), search::WildcardPattern(QStringLiteral("*.txt")), r));
    QStringList files = r.events.filter(QRegularExpression("^file"));
    QCOMPARE(files.size(), 1 + depth / 500);
    const QString R = tree.root();
    QString bottom = "file* " + R;
    for (int level = 1; level <= depth; ++level) {
        bottom += QLatin1String("/d");
        if (level % 500 == 0)
            QVERIFY2(files.contains(bottom.chopped(2) + "/e|side" + QString::number(level) + ".txt"),
                     qPrintable(QString::number(level)));
    }
    QVERIFY(bottom.size() > PATH_MAX);
    QVERIFY(files.contains(bottom + "|bottom.txt"));
}

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "tst_folderwalk.moc"
