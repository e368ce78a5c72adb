// The local search through the real main window: matching, the odd kinds of entries a Linux volume
// holds, the status texts, selection, Clear, the keys, and what other buttons do meanwhile.
#include "platform/PathCodec.h"
#include "search/SearchJob.h"
#include "support/TreeBuilder.h"
#include "support/Window.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QTimer>

using namespace testsupport;

namespace {
const QString kOver = "\r\nSEARCH OVER";
QStringList relative(const QString& root, const QStringList& entries) {
    QStringList out;
    for (const QString& e : entries) out << (e.startsWith(root + '/') ? e.mid(root.size() + 1) : e);
    return out;
}
QSet<QString> asSet(const QStringList& l) { return QSet<QString>(l.begin(), l.end()); }
// Three folders of n files each.
void threeFolders(TreeBuilder& tree, int n) {
    for (const char* f : {"a", "b", "c"}) {
        tree.folder(f);
        for (int i = 0; i < n; ++i) tree.file(QByteArray(f) + "/n" + QByteArray::number(i) + ".txt");
    }
}
} // namespace

class TestLocalSearch : public QObject {
    Q_OBJECT
private slots:
    void matchesNamesLikeTheUserExpects_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("any case") << "*.TXT" << QStringList{"notes.txt", "NOTES.TXT", ".hidden.txt", "xreadme.txt", "d/readme.txt"};
        QTest::newRow("a name without wildcards is that name only") << "readme.txt" << QStringList{"d/readme.txt"};
        QTest::newRow("nor a longer one") << "notes" << QStringList{};
        QTest::newRow("question mark is one character") << "a?.doc" << QStringList{"a1.doc", "ab.doc"};
        QTest::newRow("star dot star is everything")
            << "*.*" << QStringList{"notes.txt", "NOTES.TXT", ".hidden.txt", "a1.doc", "ab.doc", "abc.doc", "noext",
                                    "notes.txt.gz", "xreadme.txt", "readme.txt.bak", "Übung.PDF", "d/readme.txt"};
        QTest::newRow("leading blanks ignored") << "   *.doc" << QStringList{"a1.doc", "ab.doc", "abc.doc"};
        QTest::newRow("trailing blanks and dots ignored") << "*.doc .  " << QStringList{"a1.doc", "ab.doc", "abc.doc"};
        QTest::newRow("only blanks find nothing") << "    " << QStringList{};
        QTest::newRow("non-ASCII letters fold") << "übung.pdf" << QStringList{"Übung.PDF"};
        QTest::newRow("no folder names") << "d" << QStringList{};
    }
    void matchesNamesLikeTheUserExpects() {
        QFETCH(QString, pattern);
        QFETCH(QStringList, expected);
        TreeBuilder tree;
        for (const char* f : {"notes.txt", "NOTES.TXT", ".hidden.txt", "a1.doc", "ab.doc", "abc.doc", "noext", "notes.txt.gz",
                              "xreadme.txt", "readme.txt.bak", "\xc3\x9c" "bung.PDF", "d", "d/readme.txt"})
            f == std::string_view("d") ? tree.folder(f) : tree.file(f);
        Window w(tree.root());
        const QStringList got = relative(tree.root(), w.search(pattern));
        QCOMPARE(asSet(got), asSet(expected));
        QCOMPARE(w->Label3->text(), QString::number(expected.size()));
    }

    void listsLinksSpecialFilesAndOddNamesWithoutFollowing() {
        TreeBuilder tree;
        tree.folder("sub"), tree.file("sub/inside.dat");
        tree.link("..", "sub/loop.dat");           // a link to a folder: not entered, not listed
        tree.link("sub/inside.dat", "alias.dat");  // a link to a file: listed
        tree.link("/nonexistent/x", "broken.dat"); // a broken link: listed
        tree.fifo("pipe.dat");                     // listed, never opened (opening would block)
        tree.file("bad\xff\xfe.dat");              // not UTF-8
        tree.file(".secret.dat");
        Window w(tree.root());
        const QStringList got = w.search("*.dat");
        const QString odd = QStringLiteral("bad") + QChar(0xDCFF) + QChar(0xDCFE) + ".dat";
        QCOMPARE(asSet(relative(tree.root(), got)), asSet({"sub/inside.dat", "alias.dat", "broken.dat", "pipe.dat", odd, ".secret.dat"}));
        QCOMPARE(platform::encodePath(tree.root() + '/' + odd), tree.path("bad\xff\xfe.dat")); // back to the very file
    }

    void statusAtTheEndSelectionAndClear() {
        TreeBuilder tree;
        for (int i = 0; i < 10; ++i) tree.file("f" + QByteArray::number(i) + ".txt");
        Window w(tree.root());
        w->Option1->click();
        w->Text1->setText("*.txt");
        click(w->chameleonButton1);
        QTRY_COMPARE(w.labels(), kOver + "|10|0 list");
        QVERIFY(w->Label1->palette().color(QPalette::WindowText) == QColor(255, 0, 0) && w->Label1->font().bold());
        QCOMPARE(w->List1->height(), 420); // 6300 twips
        w.clickRow(2);
        QCOMPARE(w.labels(), w->List1->List(2) + "|10|3 list");
        QTest::keyClick(w->List1, Qt::Key_Down); // the keyboard moves the selection too
        QCOMPARE(w.labels(), w->List1->List(3) + "|10|4 list");
        w->WB1->show();
        const QString pattern = w->Combo1->currentText();
        click(w->chameleonButton8); // Clear
        QCOMPARE(w->List1->ListCount() + w->Text1->text().size(), 0);
        QCOMPARE(w.labels(), "||");
        QVERIFY(w->Option1->isChecked() && w->Combo1->currentText() == pattern);
        QCOMPARE(w.search("*.nothing"), QStringList()); // no match: the count 0 and the end text all the same
        QCOMPARE(w.labels(), kOver + "|0|0 list");
        QVERIFY(QDir(tree.root()).removeRecursively()); // a root that cannot be opened: the same
        QCOMPARE(w.search("*"), QStringList());
        QCOMPARE(w.labels(), kOver + "|0|0 list");
    }

    // While a search runs: a second Search is refused, Save is refused, Clear stops it and empties the
    // list, Open stops it and shows the document alone, closing the window stops the walk; a folder
    // that vanishes before the walk reaches it is survived.
    void whatHappensDuringASearch() {
        TreeBuilder tree;
        threeFolders(tree, 20);
        Window w(tree.root());
        w->searchJob().setPause(std::chrono::milliseconds(1));
        writeBytes(w.path("doc.f4u"), "/doc/a.txt\r\n/doc/b.txt\r\n");
        const auto during = [&](const QList<std::function<void()>>& actions) { // each at a yield, once 5 entries are listed
            int next = 0;
            QTimer timer;
            QObject::connect(&timer, &QTimer::timeout, [&] {
                if (w->isSearching() && w.entries().size() >= 5 && next < actions.size()) actions[next++]();
            });
            timer.start(0);
            const QStringList got = w.search("*.txt");
            return next == actions.size() ? got : QStringList{"<not all done>"};
        };
        const auto search = [&] { click(w->chameleonButton1); };
        QCOMPARE(asSet(during({search, search, search})).size(), 60); // no entry twice: one walk
        QCOMPARE(w.labels(), kOver + "|60|0 list");
        QCOMPARE(during({[&] { w.saveAs(w.path("partial.f4u")); }, [&] { click(w->chameleonButton8); }}), QStringList());
        QCOMPARE(w.takeBoxes(), QStringList{" Save Filelist Error |  A search is running: the file list is not complete yet. "
                                            "Save it when the search is over, or Clear to stop the search."});
        QVERIFY(!QFile::exists(w.path("partial.f4u")));
        QCOMPARE(w.labels(), "||");
        QCOMPARE(during({[&] { w.openFile(w.path("doc.f4u")); }}), (QStringList{"/doc/a.txt", "/doc/b.txt"}));
        QCOMPARE(w.labels(), "\r\nSEARCH STOPPED|2|0 list");
        QString gone;
        QCOMPARE(during({[&] {
                     for (const char* f : {"a", "b", "c"}) // the first one the walk has not reached
                         if (const QString d = tree.root() + '/' + f; gone.isEmpty() && w.entries().filter(d + '/').isEmpty())
                             QDir(gone = d).removeRecursively();
                 }}).size(), 40);
        QVERIFY(!gone.isEmpty() && w.entries().filter(gone + '/').isEmpty());
        QCOMPARE(w->Label1->text(), kOver);
        QTimer::singleShot(0, w.form.get(), [&] { w->close(); }); // closing the window stops the walk
        w.search("*.txt");
        QVERIFY(!w->isSearching() && w.entries().size() < 40 && w->Label1->text() != kOver);
    }

    // A volume whose listing hangs: what was found shows, the window goes on, Clear abandons the
    // listing, another volume can be searched, and the window closes at once.
    void aHungVolumeNeverHoldsTheWindow() {
        QTemporaryDir mount;
        QProcess volume;
        volume.start("/usr/bin/python3", {QFINDTESTDATA("../support/hungfs.py"), mount.path()});
        const auto unmount = qScopeGuard([&] {
            volume.kill(); // the stuck listing then fails, and its thread ends
            volume.waitForFinished();
            QProcess::execute("fusermount", {"-u", "-z", mount.path()});
        });
        if (!QTest::qWaitFor([&] { return QFile::exists(mount.path() + "/a.txt"); }, 5000))
            QSKIP("a hung volume cannot be made here: it needs /dev/fuse, fuse and python3-fusepy");
        TreeBuilder other;
        other.file("b.txt");
        auto w = std::make_unique<Window>(mount.path());
        (*w)->Drive1->addItem(other.root(), other.root());
        QCOMPARE(w->search("*.txt", 1000), QStringList{"<still searching>"}); // the window went on meanwhile
        QCOMPARE(w->labels(), "                              SEARCHING \r\n" + mount.path() + "...||");
        QCOMPARE(w->entries(), QStringList{mount.path() + "/a.txt"});
        click((*w)->chameleonButton8);
        QVERIFY(!(*w)->isSearching());
        (*w)->Drive1->setCurrentIndex(1);
        QCOMPARE(w->search("*.txt"), QStringList{other.root() + "/b.txt"});
        (*w)->Drive1->setCurrentIndex(0);
        click((*w)->chameleonButton1);
        QElapsedTimer closing;
        closing.start();
        w.reset();
        QVERIFY(closing.elapsed() < 1000);
    }

    void enterSearchesFromTheFileNameBoxOnly() {
        TreeBuilder tree;
        tree.file("hello.txt");
        Window w(tree.root());
        // The type box keeps exactly what was typed: Enter (which starts nothing), Tab away and a click
        // elsewhere leave it; picking an item sets the item's text.
        QLineEdit* type = w->Combo1->lineEdit();
        w->Combo1->setFocus();
        type->clear();
        QTest::keyClicks(type, "*.doc");
        QTest::keyClick(type, Qt::Key_Return);
        QTest::keyClick(type, Qt::Key_Tab);
        QTest::mouseClick(w->Label2, Qt::LeftButton);
        QCOMPARE(w->Combo1->currentText() + w.labels(), "*.doc||");
        w->Combo1->setFocus();
        QTest::keyClick(w->Combo1, Qt::Key_Down);
        QCOMPARE(w->Combo1->currentText(), w->Combo1->itemText(w->Combo1->currentIndex()));
        QCOMPARE(w->Combo1->count(), 27);
        w->Option1->click();
        QTest::keyClicks(w->Text1, "hello.txt");
        QCOMPARE(w->Label1->text(), QString()); // other keys only type
        QTest::keyClick(w->Text1, Qt::Key_Return);
        QTRY_COMPARE(w.entries(), QStringList{tree.root() + "/hello.txt"});
        w->Text1->clear(); // the empty pattern finds nothing but still ends the search
        QTest::keyClick(w->Text1, Qt::Key_Return);
        QTRY_VERIFY(!w->isSearching());
        QCOMPARE(w.entries(), QStringList());
        QCOMPARE(w->Label1->text(), kOver);
    }
};

QTEST_MAIN(TestLocalSearch)
#include "tst_localsearch.moc"
