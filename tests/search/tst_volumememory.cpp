// Searches answered from memory against a fresh walk of the same tree, event by event and in order,
// after changes of every kind: files and folders made, removed and renamed, a folder replaced by a file,
// links to folders, many changes in one folder, changes during a search, a mount, permissions.
#include "search/VolumeMemory.h"
#include "support/TreeBuilder.h"
#include "support/WalkEvents.h"

#include <QtTest>
#include <sched.h>
#include <sys/mount.h>

using namespace testsupport;
using search::VolumeMemory;

namespace {
// What memory answers, or "<walked>" first where it walked.
QStringList remembered(VolumeMemory& memory, const QByteArray& root, const char* pattern,
                       std::function<void()> atYield = nullptr) {
    search::FolderWalk walk;
    walk.setYieldInterval(0);
    Recorder r;
    r.atYield = std::move(atYield);
    memory.search(root.toStdString(), search::WildcardPattern(pattern), r, walk);
    if (memory.lastAnswer() == VolumeMemory::Answer::Walked) r.events.prepend("<walked>");
    return r.events;
}
// Lets the file system's clock move on: a folder changed just before it is listed is listed again at
// every search for a while, which would hide a change the memory failed to notice.
void settle() {
    QThread::msleep(30);
}
void tree(TreeBuilder& t) {
    for (const char* f : {"a", "a/b", "a/b/c", "d", "e"})
        t.folder(f);
    for (const char* f : {"x.txt", "a/y.txt", "a/b/z.txt", "a/b/c/w.txt", "d/v.doc", "e/u.txt", "e/t.txt"})
        t.file(f);
    settle();
}
} // namespace

class TestVolumeMemory : public QObject {
    Q_OBJECT
private slots:
    void answersAsAFreshWalkAfterEveryKindOfChange() {
        TreeBuilder t;
        tree(t);
        // Told of changes; looking at every folder's times; and the tree through a link to its folder.
        VolumeMemory memory, byTimes(false), linked;
        const QByteArray root = t.rootBytes(), via = root + "-via/" + QFileInfo(t.root()).fileName().toUtf8();
        QVERIFY(::symlink(QFileInfo(t.root()).path().toUtf8().constData(), (root + "-via").constData()) == 0);
        const auto unlink = qScopeGuard([&] { ::unlink((root + "-via").constData()); });
        remembered(linked, via, "*");
        QCOMPARE(remembered(memory, root, "*"), QStringList{"<walked>"} + walked(root, "*", 0));
        QCOMPARE(remembered(byTimes, root, "*"), QStringList{"<walked>"} + walked(root, "*", 0));
        QVERIFY(memory.keptBytes(root.toStdString()) > 0);
        const auto sh = [&](const QString& command) {
            QCOMPARE(QProcess::execute("sh", {"-c", "cd '" + t.root() + "' && " + command}), 0);
        };
        const QStringList changes = {
            "",
            "touch new.txt a/b/new.txt && rm e/t.txt",
            "mv a/y.txt a/y2.txt && mv e/u.txt d/ && mv a/b/c e/",
            "rm -r d && touch d",
            "mkdir -p f/g && touch f/g/h.txt && ln -s f fl && ln -s x.txt xl && ln -s ../f/g/h.txt e/hl",
            "rm x.txt f/g/h.txt && mkdir x.txt f/g/h.txt", // links' targets turn into folders, one far away
            "for i in $(seq 300); do touch e/n$i.txt; done && rm e/n1*.txt",
            "mv f f2 && mkdir f && touch f/again.txt",
            "rm -r a && mkdir a && touch a/other.txt",
        };
        for (const QString& change : changes) {
            sh(change.isEmpty() ? "true" : change), settle();
            for (const char* pattern : {"*", "*.txt"})
                QVERIFY2(remembered(memory, root, pattern) == walked(root, pattern, 0) &&
                             remembered(byTimes, root, pattern) == walked(root, pattern, 0) &&
                             remembered(linked, via, pattern) == walked(via, pattern, 0),
                         qPrintable(change));
        }
        // Changes while it answers: the answer after it is the walk's again.
        remembered(memory, root, "*", [&] { sh("touch a/during.txt && rm -r e && mkdir -p e/x"); });
        QCOMPARE(remembered(memory, root, "*"), walked(root, "*", 0));
        // Changes are taken in once they pause: the search after that lists nothing again itself.
        const size_t taken = memory.takenIn();
        sh("touch a/kept.txt && mkdir g && touch g/in.txt");
        for (int wait = 0; wait < 250 && memory.takenIn() < taken + 2; ++wait)
            QThread::msleep(20);
        QCOMPARE(remembered(memory, root, "*"), walked(root, "*", 0));
        QCOMPARE(memory.lastRelisted(), 0u);
        // A mount anywhere: the search walks, in a mount namespace of its own; a tree holding a folder
        // twice (bound into it) is walked every time.
        const int code = inChild([&](QStringList&) {
            if (::unshare(CLONE_NEWNS) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                return 77;
            VolumeMemory mounted, twice;
            remembered(mounted, root, "*");
            if (::mount("orvik-test", t.path("a").constData(), "tmpfs", 0, nullptr) != 0 ||
                ::mount(t.path("f2").constData(), t.path("e/x").constData(), nullptr, MS_BIND, nullptr) != 0)
                return 77;
            const QStringList got = remembered(mounted, root, "*");
            remembered(twice, root, "*");
            return got.value(0) == "<walked>" && got.mid(1) == walked(root, "*", 0) &&
                           remembered(twice, root, "*").value(0) == "<walked>"
                       ? 0
                       : 1;
        });
        QVERIFY(code == 0 || code == 77);
    }

    void permissionsRemovedAndGivenBack() {
        // Permissions do not stop root: the searches run in a child process as nobody, on its tree.
        TreeBuilder t;
        tree(t);
        QProcess::execute("chown", {"-R", "65534:65534", t.root()});
        ::chmod(t.rootBytes().constData(), 0755);
        QCOMPARE(inChild([&](QStringList&) {
                     if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
                     VolumeMemory memory, byTimes(false);
                     const QByteArray root = t.rootBytes();
                     bool same = remembered(memory, root, "*").mid(1) == walked(root, "*", 0) &&
                                 remembered(byTimes, root, "*").mid(1) == walked(root, "*", 0);
                     for (const mode_t mode : {0000, 0500, 0300, 0755}) {
                         ::chmod(t.path("a/b").constData(), mode), settle();
                         same = same && remembered(memory, root, "*") == walked(root, "*", 0) &&
                                remembered(byTimes, root, "*") == walked(root, "*", 0);
                     }
                     return same ? 0 : 1;
                 }),
                 0);
    }

    void keepsOnlyWhatItCanAnswerExactly() {
        QVERIFY(!VolumeMemory::keepsTreesOf("/proc") &&
                VolumeMemory::keepsTreesOf(QDir::tempPath().toStdString()));
        TreeBuilder t;
        tree(t);
        VolumeMemory memory; // a stopped walk keeps nothing
        Recorder stop;
        stop.stopAfterYields = 1;
        search::FolderWalk walk;
        walk.setYieldInterval(0);
        QVERIFY(!memory.search(t.rootBytes().toStdString(), search::WildcardPattern("*"), stop, walk));
        QCOMPARE(remembered(memory, t.rootBytes(), "*").value(0), "<walked>");
        QCOMPARE(remembered(memory, t.rootBytes(), "*").value(0), walked(t.rootBytes(), "*", 0).value(0));
    }
};

QTEST_MAIN(TestVolumeMemory)
#include "tst_volumememory.moc"
