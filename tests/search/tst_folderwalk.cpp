// The walk and the wildcard matcher on their own: what the walk reports and in which
// order, deep trees, folders it may not read, loops made by mounts, the yields it offers;
// what counts as one character for '?', and patterns built to make a matcher backtrack.
#include "search/FolderWalk.h"
#include "support/TreeBuilder.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <climits>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>

using testsupport::TreeBuilder;

namespace {

struct Recorder : search::WalkSink {
    QStringList events; // "file[*] <folder>|<name>" (* first in its folder), "listed <folder>", "yield"
    int yields = 0;
    int stopAfterYields = -1;
    void fileFound(std::string_view folder, std::string_view name, bool first) override {
        events << QStringLiteral("file%1 %2|%3")
                      .arg(first ? "*" : "", QString::fromUtf8(folder.data(), qsizetype(folder.size())),
                           QString::fromUtf8(name.data(), qsizetype(name.size())));
    }
    void folderListed(std::string_view folder) override {
        events << "listed " + QString::fromUtf8(folder.data(), qsizetype(folder.size()));
    }
    bool yield() override {
        events << QStringLiteral("yield");
        return stopAfterYields < 0 || ++yields < stopAfterYields;
    }
    QStringList files() const { return events.filter(QRegularExpression("^file")); }
};

QStringList walk(const QByteArray& root, const char* pattern, int yieldInterval = 60000) {
    search::FolderWalk walk;
    walk.setYieldInterval(yieldInterval);
    Recorder r;
    walk.run(root.toStdString(), search::WildcardPattern(QString::fromUtf8(pattern)), r);
    return r.events;
}

// Runs body in a forked child and returns what it printed of its walk, or nothing with
// *exitCode set to the child's exit status.
QStringList inChild(const std::function<int(QStringList& out)>& body, int* exitCode) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        QStringList out;
        const int code = body(out);
        const QByteArray data = out.join('\n').toUtf8();
        for (qsizetype done = 0; done < data.size();) {
            const ssize_t n = ::write(fds[1], data.constData() + done, size_t(data.size() - done));
            if (n <= 0) break;
            done += n;
        }
        ::_exit(code);
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
    return QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
}

// A chain of folders "d" inside each other, longer than any path may be: built and
// removed through open folders. Every sideEvery levels a folder "e" with a file
// side<level>.txt sits beside the next "d", made first, so that file systems that list
// newest first come back to it after the whole chain below.
class FolderChain {
public:
    FolderChain(const QByteArray& base, int depth, int sideEvery) : base_(base) {
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
    // GNU rm walks a tree of any depth through open folders, as the walk does.
    ~FolderChain() {
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), QFile::decodeName(base_ + "/d")});
    }
    bool built() const { return built_; }

private:
    static void touch(int dirFd, const QByteArray& name) {
        const int f = ::openat(dirFd, name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (f >= 0) ::close(f);
    }
    QByteArray base_;
    bool built_ = false;
};

} // namespace

class TestFolderWalk : public QObject {
    Q_OBJECT
private slots:
    void reportsFilesThenFolderThenSubFoldersAndStops() {
        TreeBuilder tree;
        tree.folder("s");
        tree.file("s/b.txt");
        tree.file("a.txt");
        tree.file("a.doc");
        const QString R = tree.root();
        // A yield after every file listed and before every sub-folder entered.
        QCOMPARE(walk(tree.rootBytes(), "*.txt", 0),
                 (QStringList{"file* " + R + "|a.txt", "yield", "listed " + R, "yield",
                              "file* " + R + "/s|b.txt", "yield", "listed " + R + "/s"}));
        // The root given with its trailing separator keeps it; entries do not double it.
        const QStringList slash = walk(tree.rootBytes() + '/', "*.txt");
        QCOMPARE(slash.first(), "file* " + R + "/|a.txt");
        QVERIFY(slash.contains("file* " + R + "/s|b.txt"));
        QVERIFY(!walk(tree.rootBytes(), "*").contains("yield")); // only when the slice has run out
        QVERIFY(walk(tree.rootBytes() + "/missing", "*").isEmpty());

        for (int i = 0; i < 5; ++i)
            tree.file(QByteArray::number(i) + ".txt");
        search::FolderWalk stopped;
        stopped.setYieldInterval(0);
        Recorder r;
        r.stopAfterYields = 2;
        QVERIFY(!stopped.run(tree.rootBytes().toStdString(), search::WildcardPattern("*.txt"), r));
        QCOMPARE(r.files().size(), 2);
        QCOMPARE(r.events.last(), QStringLiteral("yield"));
    }

    void listsCrowdedFoldersWhole() {
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
        Recorder r;
        r.events = walk(tree.rootBytes(), "*.txt");
        const QStringList files = r.files();
        QSet<QString> got;
        for (const QString& f : files)
            got << f.mid(f.indexOf(' ') + 1 + tree.root().size()).remove(QRegularExpression("^/"));
        QCOMPARE(files.size(), 3000);
        QCOMPARE(got, want);
        QCOMPARE(files.filter(QRegularExpression("^file\\* ")).size(), 7); // the root and its 6 sub-folders
        QCOMPARE(r.events.indexOf("listed " + tree.root()), 2994);
    }

    void walksChainsDeeperThanItKeepsOpenAndLongerThanAnyPath() {
        TreeBuilder tree;
        QByteArray path;
        for (int depth = 0; depth < 300; ++depth) {
            path += (depth ? "/d" : "d");
            tree.folder(path);
        }
        tree.file(path + "/bottom.txt");
        tree.file("d/top.txt");
        Recorder r;
        r.events = walk(tree.rootBytes(), "*.txt");
        QCOMPARE(r.files(),
                 (QStringList{"file* " + tree.root() + "/d|top.txt",
                              "file* " + tree.root() + '/' + QString::fromLatin1(path) + "|bottom.txt"}));

        // 5,000 folders inside each other: paths of 10,000 bytes; beside the chain, every
        // 500 levels, one more folder that the walk reaches only after coming back up.
        TreeBuilder deep;
        constexpr int depth = 5000;
        FolderChain chain(deep.rootBytes(), depth, 500);
        QVERIFY(chain.built());
        r.events = walk(deep.rootBytes(), "*.txt");
        const QStringList files = r.files();
        QCOMPARE(files.size(), 1 + depth / 500);
        QString bottom = "file* " + deep.root();
        for (int level = 1; level <= depth; ++level) {
            bottom += QLatin1String("/d");
            if (level % 500 == 0)
                QVERIFY2(files.contains(bottom.chopped(2) + "/e|side" + QString::number(level) + ".txt"),
                         qPrintable(QString::number(level)));
        }
        QVERIFY(bottom.size() > PATH_MAX);
        QVERIFY(files.contains(bottom + "|bottom.txt"));
    }

    void skipsAFolderItMayNotReadAndWalksItsSiblings() {
        // Permissions do not stop root, so the walk runs in a child process as nobody. The
        // folder that cannot be listed is the one the file system lists in the middle.
        TreeBuilder tree;
        for (const char* f : {"a", "b", "c", "d", "e"}) {
            tree.folder(f);
            tree.file(QByteArray(f) + "/in.txt");
            tree.folder(QByteArray(f) + "/below");
            tree.file(QByteArray(f) + "/below/deep.txt");
        }
        tree.file("z.txt");
        QStringList order;
        for (const QString& e : walk(tree.rootBytes(), "in.txt"))
            if (e.startsWith("file")) order << e.section('/', -1).section('|', 0, 0);
        QCOMPARE(order.size(), 5);
        const QString shut = order[2];
        const QByteArray shutPath = tree.path(shut.toLatin1());
        ::chmod(tree.rootBytes().constData(), 0755);
        ::chmod(shutPath.constData(), 0300); // may enter, may not list
        int code = 0;
        const QStringList events = inChild(
            [&](QStringList& out) {
                if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
                out = walk(tree.rootBytes(), "*.txt").filter(QRegularExpression("^file"));
                return 0;
            },
            &code);
        ::chmod(shutPath.constData(), 0755);
        QCOMPARE(code, 0);
        QCOMPARE(events.size(), 1 + 4 * 2);
        QVERIFY(events.contains("file* " + tree.root() + "|z.txt"));
        for (const QString& f : order)
            if (f != shut)
                QVERIFY2(events.contains("file* " + tree.root() + '/' + f + "/below|deep.txt"),
                         qPrintable(f));
        for (const QString& e : events)
            QVERIFY2(!e.contains('/' + shut), qPrintable(e)); // skipped, sub-tree included
    }

    void staysOnTheVolumeOfItsRoot() {
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
        Recorder r;
        r.events = walk(tree.rootBytes(), "*.txt");
        QCOMPARE(r.files(), QStringList{"file* " + tree.root() + "|top.txt"});
    }

    void neverEntersAFolderAlreadyOnItsPath() {
        // A folder bound onto one of its own descendants lies on the same file system, so
        // only the folders' identities show the loop. The mounts live in a child process
        // with a mount namespace of its own.
        TreeBuilder tree;
        tree.folder("a");
        tree.file("a/x.txt");
        tree.folder("a/b");
        tree.file("a/b/y.txt");
        tree.folder("a/b/c");
        tree.folder("twin");
        const QByteArray a = tree.path("a"), c = tree.path("a/b/c"), twin = tree.path("twin");
        int code = 0;
        QStringList files = inChild(
            [&](QStringList& out) {
                if (::unshare(CLONE_NEWNS) != 0 ||
                    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                    ::mount(a.constData(), c.constData(), nullptr, MS_BIND, nullptr) != 0 ||
                    // The same folder again beside it, not on its path: that one is walked.
                    ::mount(a.constData(), twin.constData(), nullptr, MS_BIND, nullptr) != 0)
                    return 77;
                out = walk(tree.rootBytes(), "*.txt").filter(QRegularExpression("^file"));
                return 0;
            },
            &code);
        if (code == 77) QSKIP("binding a folder needs a mount namespace of one's own");
        QCOMPARE(code, 0);
        files.sort();
        const QString R = tree.root();
        QCOMPARE(files, (QStringList{"file* " + R + "/a/b|y.txt", "file* " + R + "/a|x.txt",
                                     "file* " + R + "/twin/b|y.txt", "file* " + R + "/twin|x.txt"}));
    }

    void wildcardsMatchCharactersNotCodeUnits_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("matches");
        const QByteArray grin("\xf0\x9f\x98\x80"); // U+1F600, outside the 16-bit range
        QTest::newRow("? is a character beyond 16 bits") << "?.png" << grin + ".png" << true;
        QTest::newRow("?? is not one such character") << "??.png" << grin + ".png" << false;
        QTest::newRow("that character in the pattern") << QString::fromUtf8(grin + "*") << grin + "x" << true;
        QTest::newRow("? is a stray byte") << "caf?.txt" << QByteArray("caf\xe9.txt") << true;
        QTest::newRow("? is a two-byte letter") << "caf?.txt" << QByteArray("caf\xc3\xa9.txt") << true;
        QTest::newRow("folding beyond 16 bits") // DESERET CAPITAL LONG I and its small letter
            << QString::fromUtf8("\xf0\x90\x90\x80.txt") << QByteArray("\xf0\x90\x90\xa8.TXT") << true;
        QTest::newRow("ascii pattern, name with a stray byte") << "*.TXT" << QByteArray("\xff.txt") << true;
        QTest::newRow("a plain name is no prefix") << "abc" << QByteArray("abcd") << false;
        QTest::newRow("nor a suffix") << "abc" << QByteArray("xabc") << false;
    }
    void wildcardsMatchCharactersNotCodeUnits() {
        QFETCH(QString, pattern);
        QFETCH(QByteArray, name);
        QFETCH(bool, matches);
        QCOMPARE(search::WildcardPattern(pattern).matches(name.toStdString()), matches);
    }

    void manyStarsAgainstLongNames() {
        // Each of these makes a matcher that tries every way to split the name run for ever.
        const std::string as(250, 'a');
        QVERIFY(
            !search::WildcardPattern(QString(40, QLatin1Char('*')).replace(0, 1, "*a") + "b").matches(as));
        const QString stars = QStringLiteral("*?").repeated(100);
        QVERIFY(search::WildcardPattern(stars).matches(std::string(100, 'x')));
        QVERIFY(!search::WildcardPattern(stars).matches(std::string(99, 'x')));
        const QString segments = QStringLiteral("*aaaa").repeated(30);
        QVERIFY(search::WildcardPattern(segments + "*").matches(as));
        QVERIFY(!search::WildcardPattern(segments + "*b").matches(as));
        QVERIFY(search::WildcardPattern(segments + "*b").matches(as + "b"));
    }
};

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "tst_folderwalk.moc"
