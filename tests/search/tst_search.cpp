// The search on its own: the walk's order, rules and read-ahead; the wildcards; the result list keeping
// every entry byte for byte, and its control: rows, selection by key, click and typing, as heard.
#include "search/FolderWalk.h"
#include "search/ResultList.h"
#include "search/ResultListView.h"
#include "support/TreeBuilder.h"
#include "support/WalkEvents.h"

#include <QtTest>
#include <QtWidgets>
#include <sys/mount.h>

using namespace testsupport;

namespace {
// Unmounts the volume at at (lazily, as `umount -l` does) at its first yield.
struct Unmounting : testsupport::Recorder {
    QByteArray at;
    bool yield() override {
        return ::umount2(std::exchange(at, {}).constData(), MNT_DETACH), Recorder::yield();
    }
};
QStringList files(const QStringList& events) {
    return events.filter(QRegularExpression("^file"));
}
struct Fixture {
    search::ResultList list;
    search::ResultListView view{&list};
    explicit Fixture(int entries) {
        list.setFolder("/data/photos");
        for (int i = 0; i < entries; ++i)
            list.appendName("picture-" + std::to_string(i) + ".jpg");
        list.flush();
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    QRect rect(int row) const { return view.visualRect(list.index(row)); }
    int rowHeight() const { return rect(0).height(); }
};
} // namespace

class TestSearch : public QObject {
    Q_OBJECT
private slots:
    void reportsFilesThenFolderThenSubFoldersAndStops() {
        TreeBuilder tree;
        tree.folder("s"), tree.file("s/b.txt"), tree.file("a.txt"), tree.file("a.doc");
        const QString R = tree.root();
        // A yield after every file listed and before every sub-folder entered.
        QCOMPARE(walked(tree.rootBytes(), "*.txt", 0),
                 (QStringList{"file* " + R + "|a.txt", "yield", "listed " + R, "yield",
                              "file* " + R + "/s|b.txt", "yield", "listed " + R + "/s"}));
        const QStringList slash =
            walked(tree.rootBytes() + '/', "*.txt"); // a trailing separator is kept, not doubled
        QCOMPARE(slash.first(), "file* " + R + "/|a.txt");
        QVERIFY(slash.contains("file* " + R + "/s|b.txt"));
        QVERIFY(!walked(tree.rootBytes(), "*").contains("yield")); // only when the slice has run out
        for (int i = 0; i < 5; ++i)
            tree.file(QByteArray::number(i) + ".txt");
        search::FolderWalk stopped;
        stopped.setYieldInterval(0);
        Recorder r;
        r.stopAfterYields = 2;
        QVERIFY(!stopped.run(tree.rootBytes().toStdString(), search::WildcardPattern("*.txt"), r));
        QVERIFY(files(r.events).size() == 2 && r.events.last() == "yield");

        // More entries than one read of a folder brings: each file once, sub-folders after all of them.
        TreeBuilder crowd;
        QSet<QString> want, got;
        for (int i = 0; i < 3000; ++i) {
            const QByteArray name = "a-rather-long-file-name-to-fill-the-listing-" + QByteArray::number(i);
            if (i % 500 == 0)
                crowd.folder(name), crowd.file(name + "/inner.txt"), want << name + "|inner.txt";
            else
                crowd.file(name + ".txt"), want << "|" + name + ".txt";
        }
        const QStringList events = walked(crowd.rootBytes(), "*.txt");
        for (const QString& f : files(events))
            got << f.mid(f.indexOf(' ') + 1 + crowd.root().size()).remove(QRegularExpression("^/"));
        QVERIFY(files(events).size() == 3000 && got == want);
        QCOMPARE(events.filter(QRegularExpression("^file\\* ")).size(), 7); // the root and its 6 sub-folders
        QCOMPARE(events.indexOf("listed " + crowd.root()), 2994);
        // Read ahead, several folders at a time and a crowded one in part, the walk reports the same.
        const QByteArray sub = "a-rather-long-file-name-to-fill-the-listing-0/";
        for (int i = 0; i < 40; ++i)
            crowd.folder(sub + QByteArray::number(i)), crowd.file(sub + QByteArray::number(i) + "/x.txt");
        for (int i = 0; i < 3000; ++i)
            crowd.file(sub + QByteArray(90, 'n') + QByteArray::number(i) + ".txt"); // over 256 KB
        // (Waiting for a folder read ahead, the walk yields as often as it looks.)
        const auto withoutYields = [](QStringList events) {
            return events.filter(QRegularExpression("^(?!yield)"));
        };
        QCOMPARE(withoutYields(walked(crowd.rootBytes(), "*.txt", 0, true)),
                 withoutYields(walked(crowd.rootBytes(), "*.txt", 0)));

        // What is read ahead and not taken yet is bounded: once 256 folders wait, no more is asked for.
        TreeBuilder many;
        for (int i = 0; i < 300; ++i)
            many.folder("f" + QByteArray::number(i));
        struct stat st {};
        const int fd = ::open(many.rootBytes().constData(), O_RDONLY | O_DIRECTORY);
        ::fstat(fd, &st);
        search::ReadAhead ahead(st.st_dev);
        std::vector<search::ReadAhead::Ticket> asked;
        while (asked.size() < 300) {
            if (ahead.canAsk()) {
                asked.push_back(ahead.request(fd, "f" + std::to_string(asked.size())));
                continue;
            }
            if (!std::all_of(asked.begin(), asked.end(), [&](const auto& t) { return ahead.peek(t); }))
                ahead.waitFor(asked.back(), std::chrono::milliseconds(100));
            else if (!ahead.canAsk()) // all read, and still no more
                break;
        }
        QCOMPARE(asked.size(), search::ReadAhead::kMaxHeld);
        for (const auto& ticket : asked)
            ahead.abandon(ticket);
        ::close(fd);
    }

    void skipsAFolderItMayNotReadAndWalksItsSiblings() {
        // Permissions do not stop root: the walk runs in a child process as nobody. The folder that cannot
        // be listed is the one the file system lists in the middle.
        TreeBuilder tree;
        for (const QByteArray f : {"a", "b", "c", "d", "e"})
            tree.folder(f), tree.file(f + "/in.txt"), tree.folder(f + "/below"),
                tree.file(f + "/below/deep.txt");
        tree.file("z.txt");
        QStringList order;
        for (const QString& e : files(walked(tree.rootBytes(), "in.txt")))
            order << e.section('/', -1).section('|', 0, 0);
        QCOMPARE(order.size(), 5);
        const QString shut = order[2];
        const QByteArray shutPath = tree.path(shut.toLatin1());
        ::chmod(tree.rootBytes().constData(), 0755);
        ::chmod(shutPath.constData(), 0300); // may enter, may not list
        QStringList events;
        const int code = inChild(
            [&](QStringList& out) {
                if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
                out = files(walked(tree.rootBytes(), "*.txt"));
                return files(walked(tree.rootBytes(), "*.txt", 60000, true)) == out
                           ? 0
                           : 5; // read ahead: the same
            },
            &events);
        ::chmod(shutPath.constData(), 0755);
        QVERIFY(code == 0 && events.size() == 1 + 4 * 2 &&
                events.contains("file* " + tree.root() + "|z.txt"));
        for (const QString& f : order)
            QVERIFY2(f == shut || events.contains("file* " + tree.root() + '/' + f + "/below|deep.txt"),
                     qPrintable(f));
        for (const QString& e : events)
            QVERIFY2(!e.contains('/' + shut), qPrintable(e)); // its sub-tree too
    }

    void staysOnItsVolumeAndNeverEntersAFolderOnItsPath() {
        TreeBuilder tree;
        tree.folder("mnt"), tree.file("mnt/under.txt"),
            tree.file("top.txt"); // under.txt: hidden by the mount
        tree.folder("a"), tree.file("a/x.txt"), tree.folder("a/b"), tree.file("a/b/y.txt"),
            tree.folder("a/b/c"), tree.folder("twin");
        const QByteArray mnt = tree.path("mnt"), a = tree.path("a"), c = tree.path("a/b/c"),
                         twin = tree.path("twin");
        // The mounts live in a child process with a mount namespace of its own. A folder bound onto one of
        // its descendants lies on the same file system: only the folders' identities show the loop. The
        // same folder bound beside it, not on its path, is walked.
        QStringList found;
        const int code = inChild(
            [&](QStringList& out) {
                if (::unshare(CLONE_NEWNS) != 0 ||
                    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                    ::mount("orvik-test", mnt.constData(), "tmpfs", 0, nullptr) != 0 ||
                    ::mount(a.constData(), c.constData(), nullptr, MS_BIND, nullptr) != 0 ||
                    ::mount(a.constData(), twin.constData(), nullptr, MS_BIND, nullptr) != 0)
                    return 77;
                ::close(::open(mnt + "/other-volume.txt", O_CREAT | O_WRONLY, 0644));
                out = files(walked(tree.rootBytes(), "*.txt"));
                if (files(walked(tree.rootBytes(), "*.txt", 60000, true)) != out)
                    return 5; // read ahead: the same
                // A volume unmounted while it is walked: the walk ends, as for folders that vanish.
                Unmounting r;
                r.at = mnt;
                search::FolderWalk gone;
                gone.setYieldInterval(0);
                const bool ended = gone.run(mnt.toStdString(), search::WildcardPattern("*.txt"), r);
                return ended && QFile::exists(mnt + "/under.txt") ? 0 : 6; // the folder below shows again
            },
            &found);
        if (code == 77) QSKIP("mounting needs root and a mount namespace of one's own");
        QCOMPARE(code, 0);
        found.sort();
        const QString R = tree.root();
        QCOMPARE(found, (QStringList{"file* " + R + "/a/b|y.txt", "file* " + R + "/a|x.txt",
                                     "file* " + R + "/twin/b|y.txt", "file* " + R + "/twin|x.txt",
                                     "file* " + R + "|top.txt"}));
    }

    void wildcardsMatchCharactersNotCodeUnits() {
        const QByteArray grin("\xf0\x9f\x98\x80"); // U+1F600, outside the 16-bit range
        // DESERET CAPITAL LONG I and its small letter fold beyond 16 bits; a stray byte is one character.
        for (const auto& [pattern, name, matches] : {std::tuple{QString("?.png"), grin + ".png", true},
                                                     {"??.png", grin + ".png", false},
                                                     {"caf?.txt", "caf\xe9.txt", true},
                                                     {u"\U00010400.txt"_qs, "\xf0\x90\x90\xa8.TXT", true},
                                                     {"abc", "abcd", false}})
            QVERIFY2(search::WildcardPattern(pattern).matches(name.toStdString()) == matches,
                     name.constData());
    }

    void keepsEveryEntryAsTextAndBytes() {
        search::ResultList list;
        for (int folder = 0; folder < 100; ++folder) {
            list.setFolder("/data/f" + std::to_string(folder));
            for (int i = 0; i < 1000; ++i)
                list.appendName("file" + std::to_string(i) + ".txt");
        }
        list.flush();
        QCOMPARE(list.count() + list.rowCount(), 200000);
        QCOMPARE(list.entry(0) + list.entry(32767) + list.data(list.index(70001)).toString() +
                     list.entry(99999) + list.entry(100000) + list.entry(-1),
                 "/data/f0/file0.txt/data/f32/file767.txt/data/f70/file1.txt/data/f99/file999.txt");

        list.clear();
        list.setFolder("/"), list.appendName("root.txt"); // the root is not doubled
        list.setFolder("/m\xc3\xbcsic"), list.appendName("bad\xff.mp3");
        list.append("C:\\Docs\\old.txt"); // an entry from a Windows list document
        list.append("relative.txt"), list.appendBytes(""), list.flush();
        QCOMPARE(list.entry(0) + '|' + list.entry(1) + '|' + list.entry(2) + '|' + list.entry(3) + '|' +
                     list.entry(4) + '|' + QString::number(list.count()),
                 u"/root.txt|/m\u00fcsic/bad"_qs + QChar(0xDCFF) + ".mp3|C:\\Docs\\old.txt|relative.txt||5");
        list.append(list.entry(1)); // text given back as an entry leads to the same bytes
        QCOMPARE(list.entryBytes(1) + '|' + list.entryBytes(5),
                 "/m\xc3\xbcsic/bad\xff.mp3|/m\xc3\xbcsic/bad\xff.mp3");

        list.clear(); // empty entries, also first, and one longer than a block or a row's length field
        list.appendBytes(""), list.appendBytes(QByteArray(17 << 20, 'x')), list.appendBytes(""), list.flush();
        QCOMPARE(list.entryBytes(0) + '|' + QByteArray::number(list.entryBytes(1).size()) + '|' +
                     list.entryBytes(2),
                 "|17825792|");
        list.removeEntry(1), list.removeEntry(7); // out of range: nothing
        QVERIFY(list.count() == 2 && list.entryBytes(1).isEmpty());
    }

    void keysAndClicksMoveTheSelection() {
        Fixture f(5000);
        QSignalSpy clicked(&f.view, &search::ResultListView::Click);
        QSignalSpy doubleClicked(&f.view, &search::ResultListView::DblClick);
        // A click anywhere in a row selects that row: its top and bottom pixel rows too.
        for (const auto& [row, at] : {std::pair{2, f.rect(2).topLeft() + QPoint(3, 0)},
                                      {4, f.rect(4).bottomRight() - QPoint(3, 0)}}) {
            QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(f.view.ListIndex(), row);
        }
        f.view.setListIndex(-1), clicked.clear();
        QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.rect(2).center());
        const qsizetype clicks = clicked.size();
        QTest::mouseDClick(f.view.viewport(), Qt::LeftButton, {}, f.rect(2).center());
        QVERIFY(clicks == 1 && doubleClicked.size() == 1);

        const int page = f.view.viewport()->height() / f.rowHeight() - 1;
        const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Down, 3},
                                                 {Qt::Key_Up, 2},
                                                 {Qt::Key_End, 4999},
                                                 {Qt::Key_Down, 4999},
                                                 {Qt::Key_PageUp, 4999 - page},
                                                 {Qt::Key_Home, 0},
                                                 {Qt::Key_Up, 0},
                                                 {Qt::Key_PageDown, page}};
        for (const auto& [key, row] : steps) {
            QTest::keyClick(&f.view, key);
            QCOMPARE(f.view.ListIndex(), row);
            QVERIFY(f.view.viewport()->rect().contains(f.rect(row)));
        }
        f.view.setListIndex(4321); // scrolled to
        QVERIFY(f.view.viewport()->rect().contains(f.rect(4321)));

        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&f.view);
        QVERIFY(list->role() == QAccessible::List && list->childCount() == 5000);
        QCOMPARE(list->child(4321)->text(QAccessible::Name), f.list.entry(4321));
        QCOMPARE(list->child(4321)->rect(),
                 QRect(f.view.viewport()->mapToGlobal(f.rect(4321).topLeft()), f.rect(4321).size()));
        f.list.removeEntry(0); // the scroll bar follows a removal and a Clear
        QCOMPARE(f.view.verticalScrollBar()->maximum(), 4999 * f.rowHeight() - f.view.viewport()->height());
        f.list.clear();
        QCOMPARE(f.view.verticalScrollBar()->maximum(), 0);
    }

    void typingFindsTheNextFileNameStartingWithIt() {
        Fixture f(0);
        f.list.setFolder("/data/Bern");
        for (const char* name : {"alpha.txt", "Beta.txt", "gamma.txt", "bravo.txt", "beta-2.txt"})
            f.list.appendName(name);
        f.list.append("/b-folder/zeta.txt"); // a whole path: its folder is no file name
        f.list.append(QString::fromUtf8("/x/\xc3\x84rger.txt"));
        f.list.flush();
        const auto type = [&](const QString& keys) {
            QTest::qWait(QGuiApplication::styleHints()->keyboardInputInterval() + 50); // a new prefix
            for (const QChar c : keys) {
                QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
                QApplication::sendEvent(&f.view, &press);
            }
            return f.view.ListIndex();
        };
        // From the top without regard to case, the next one, a prefix typed together (the selected entry
        // no longer matches), round to the top again, nothing starts so (the selection stays).
        QCOMPARE(QList<int>(
                     {type("b"), type("b"), type("be"), type("b"), type("z"), type("q"), type(u"\u00e4"_qs)}),
                 QList<int>({1, 3, 4, 1, 5, 5, 6}));
        f.view.setListIndex(0);
        QCOMPARE(type("bet"), 1);
    }

    // The rows are painted as Qt's own list paints them, selected, focused, and disabled.
    void rowsLookAsQtsListPaintsThem() {
        Fixture f(40);
        QStringList texts;
        for (int i = 0; i < 40; ++i)
            texts << f.list.entry(i);
        QStringListModel model(texts);
        QListView qt;
        qt.setModel(&model);
        qt.resize(f.view.size());
        qt.show();
        const auto look = [](QAbstractItemView* view) {
            view->activateWindow();
            view->setFocus();
            QTest::qWait(20);
            return view->viewport()->grab().toImage();
        };
        for (const int row : {3, 5, 6}) {
            f.view.setListIndex(row);
            qt.setCurrentIndex(model.index(row));
            f.view.setEnabled(row != 6);
            qt.setEnabled(row != 6);
            QCOMPARE(look(&f.view), look(&qt));
        }
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
