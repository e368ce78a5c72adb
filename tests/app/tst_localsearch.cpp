// The local search through the main window: matching, the odd entries a Linux volume holds, the status
// texts, Clear, the keys, what other buttons do meanwhile, and volumes that never answer.
#include "copydialog/Form3.h"
#include "search/SearchJob.h"
#include "support/HungVolume.h"
#include "support/TreeBuilder.h"
#include "support/Window.h"

#include <QtTest>
#include <QtWidgets>

using namespace testsupport;

namespace {
const QString kOver = "\r\nSEARCH OVER";
QStringList relative(const QString& root, const QStringList& entries) {
    QStringList out;
    for (const QString& e : entries)
        out << (e.startsWith(root + '/') ? e.mid(root.size() + 1) : e);
    return out;
}
QSet<QString> asSet(const QStringList& l) {
    return QSet<QString>(l.begin(), l.end());
}
// Three folders of n files each.
void threeFolders(TreeBuilder& tree, int n) {
    for (const char* f : {"a", "b", "c"}) {
        tree.folder(f);
        for (int i = 0; i < n; ++i)
            tree.file(QByteArray(f) + "/n" + QByteArray::number(i) + ".txt");
    }
}
} // namespace

class TestLocalSearch : public QObject {
    Q_OBJECT
private slots:
    // Patterns as typed, over links (one to a folder, also a loop, neither entered nor listed), a broken
    // link, a pipe (listed, never opened) and names that are not UTF-8.
    void matchesNamesLikeTheUserExpects_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("expected");
        const QString odd = QStringLiteral("bad") + QChar(0xDCFF) + QChar(0xDCFE) + ".dat";
        QTest::newRow("any case") << "*.TXT"
                                  << QStringList{"notes.txt", "NOTES.TXT", ".hidden.txt", "xreadme.txt",
                                                 "d/readme.txt"};
        QTest::newRow("a name without wildcards is that name only")
            << "readme.txt" << QStringList{"d/readme.txt"};
        QTest::newRow("question mark is one character") << "a?.doc" << QStringList{"a1.doc", "ab.doc"};
        QTest::newRow("star dot star is everything") << "*.*" << QStringList{"notes.txt",
                                                                             "NOTES.TXT",
                                                                             ".hidden.txt",
                                                                             "a1.doc",
                                                                             "ab.doc",
                                                                             "abc.doc",
                                                                             "noext",
                                                                             "notes.txt.gz",
                                                                             "xreadme.txt",
                                                                             "readme.txt.bak",
                                                                             "Übung.PDF",
                                                                             "d/readme.txt",
                                                                             "d/inside.dat",
                                                                             "alias.dat",
                                                                             "broken.dat",
                                                                             "pipe.dat",
                                                                             odd};
        QTest::newRow("blanks around and trailing dots ignored")
            << "   *.doc .  " << QStringList{"a1.doc", "ab.doc", "abc.doc"};
        QTest::newRow("only blanks find nothing") << "    " << QStringList{};
        QTest::newRow("non-ASCII letters fold") << "übung.pdf" << QStringList{"Übung.PDF"};
        QTest::newRow("no folder names, no links to folders") << "d*" << QStringList{};
        QTest::newRow("links, pipes, odd names")
            << "*.dat" << QStringList{"d/inside.dat", "alias.dat", "broken.dat", "pipe.dat", odd};
    }

    void matchesNamesLikeTheUserExpects() {
        QFETCH(QString, pattern);
        QFETCH(QStringList, expected);
        TreeBuilder tree;
        for (const char* f : {"notes.txt", "NOTES.TXT", ".hidden.txt", "a1.doc", "ab.doc", "abc.doc", "noext",
                              "notes.txt.gz", "xreadme.txt", "readme.txt.bak",
                              "\xc3\x9c"
                              "bung.PDF",
                              "d/", "d/readme.txt", "d/inside.dat", "bad\xff\xfe.dat"})
            QByteArray(f).endsWith('/') ? tree.folder(f) : tree.file(f);
        tree.link("..", "d/loop.dat"), tree.link("d", "dlink"), tree.link("d/inside.dat", "alias.dat"),
            tree.link("/nonexistent/x", "broken.dat");
        tree.fifo("pipe.dat");
        Window w(tree.root());
        QCOMPARE(asSet(relative(tree.root(), w.search(pattern))), asSet(expected));
        QCOMPARE(w->Label3->text(), QString::number(expected.size()));
    }

    void statusAtTheEndSelectionAndClear() {
        TreeBuilder tree;
        for (int i = 0; i < 10; ++i)
            tree.file("f" + QByteArray::number(i) + ".txt");
        Window w(tree.root());
        w->Option1->click(), w->Text1->setText("*.txt"), click(w->chameleonButton1);
        QTRY_COMPARE(w.labels(), kOver + "|10|0 list");
        QCOMPARE(w->List1->height(), 420);                      // 6300 twips
        w.clickRow(2), QTest::keyClick(w->List1, Qt::Key_Down); // the keyboard moves the selection too
        QCOMPARE(w.labels(), w->List1->List(3) + "|10|4 list");
        const QString pattern = w->Combo1->currentText();
        w->WB1->show(), click(w->chameleonButton8); // Clear
        QCOMPARE(w.labels() + w->Text1->text() + w->Combo1->currentText(), "||" + pattern);
        QVERIFY(w->Option1->isChecked() && w->List1->ListCount() == 0);
        QCOMPARE(w.search("*.nothing") << w.labels(),
                 QStringList{kOver + "|0|0 list"});     // no match: the count 0, the end text
        QVERIFY(QDir(tree.root()).removeRecursively()); // a root that cannot be opened: the same
        QCOMPARE(w.search("*") << w.labels(), QStringList{kOver + "|0|0 list"});
    }

    // While a search runs: Search and Save are refused, Clear and Open stop it (Open's document alone is
    // listed), closing the window stops the walk; a folder that vanishes before its turn is survived.
    void whatHappensDuringASearch() {
        TreeBuilder tree;
        threeFolders(tree, 20);
        Window w(tree.root());
        w->searchJob().setPause(std::chrono::milliseconds(1));
        writeBytes(w.path("doc.f4u"), "/doc/a.txt\r\n/doc/b.txt\r\n");
        const auto during =
            [&](const QList<std::function<void()>>& actions) { // each at a yield, once 5 entries are listed
                int next = 0;
                QTimer timer;
                QObject::connect(&timer, &QTimer::timeout, [&] {
                    if (w->isSearching() && w.entries().size() >= 5 && next < actions.size())
                        actions[next++]();
                });
                timer.start(0);
                const QStringList got = w.search("*.txt");
                return next == actions.size() ? got : QStringList{"<not all done>"};
            };
        QString gone;
        QCOMPARE(during({[&] {
                     for (const char* f : {"a", "b", "c"}) // the first one the walk has not reached
                         if (const QString d = tree.root() + '/' + f;
                             gone.isEmpty() && w.entries().filter(d + '/').isEmpty())
                             QDir(gone = d).removeRecursively();
                 }}).size(),
                 40);
        QVERIFY(!gone.isEmpty() && w.entries().filter(gone + '/').isEmpty() && w->Label1->text() == kOver);
        threeFolders(tree,
                     20); // (the first search of a tree walks it; the next ones are answered from memory)
        const auto search = [&] { click(w->chameleonButton1); };
        QCOMPARE(asSet(during({search, search, search})).size(), 60); // no entry twice: one search
        QCOMPARE(w.labels(), kOver + "|60|0 list");
        QCOMPARE(during({[&] { w.saveAs(w.path("partial.f4u")); }, [&] { click(w->chameleonButton8); }}),
                 QStringList());
        QCOMPARE(w.takeBoxes() << w.labels(),
                 (QStringList{" Save Filelist Error |  A search is running: the file list is not "
                              "complete yet. Save it when the search is over, or Clear to stop the search.",
                              "||"}));
        QVERIFY(!QFile::exists(w.path("partial.f4u")));
        QCOMPARE(during({[&] { w.openFile(w.path("doc.f4u")); }}) << w.labels(),
                 (QStringList{"/doc/a.txt", "/doc/b.txt", "\r\nSEARCH STOPPED|2|0 list"}));
        QCOMPARE(during({[&] { w.openFile(w.path("plain.txt")); }})
                     << w.labels(), // a plain file: that file alone
                 (QStringList{w.path("plain.txt"), "\r\nSEARCH STOPPED|1|0 list"}));
        w.saveAs(w.path("saved.f4u"));
        QCOMPARE(readBytes(w.path("saved.f4u")), w.path("plain.txt").toUtf8() + "\r\n");
        QTimer::singleShot(0, w.form.get(), [&] { w->close(); }),
            w.search("*.txt"); // closing the window stops the search
        QVERIFY(!w->isSearching() && w.entries().size() < 60 && w->Label1->text() != kOver);
    }

    // A volume that never answers: a search shows what it found and names the folder it is stuck on, Clear
    // abandons it; each action on a file there returns at once and its button does nothing more meanwhile;
    // the window closes at once.
    void aHungVolumeNeverHoldsTheWindow() {
        HungVolume volume;
        if (!volume.mounted())
            QSKIP("a hung volume cannot be made here: it needs /dev/fuse, fuse3 and python3-fusepy");
        TreeBuilder other;
        other.file("b.txt");
        const auto closesAtOnce = [](std::unique_ptr<Window> w) {
            QElapsedTimer closing;
            closing.start();
            w.reset();
            return closing.elapsed() < 1000;
        };
        // (First: the listings stuck below in the root hold every later look-up there.)
        auto w = std::make_unique<Window>(volume.path("deep"));
        QCOMPARE(w->search("*.txt", 2600), QStringList{"<still searching>"});
        QCOMPARE(w->entries() << (*w)->Label1->text(),
                 (QStringList{volume.path("deep/a.txt"), "                              SEARCHING \r\n" +
                                                             volume.path("deep/hang") + "..."}));
        QVERIFY(closesAtOnce(std::move(w)));
        w = std::make_unique<Window>(volume.mount.path());
        (*w)->Drive1->addItem(other.root(), other.root());
        QCOMPARE(w->search("*.txt", 1000), QStringList{"<still searching>"}); // the window went on meanwhile
        QCOMPARE(w->entries() << w->labels(),
                 (QStringList{volume.path("a.txt"), "                              SEARCHING \r\n" +
                                                        volume.mount.path() + "...||"}));
        click((*w)->chameleonButton8);
        QVERIFY(!(*w)->isSearching());
        (*w)->Drive1->setCurrentIndex(1);
        QCOMPARE(w->search("*.txt"), QStringList{other.root() + "/b.txt"});
        (*w)->Drive1->setCurrentIndex(0), click((*w)->chameleonButton1);
        QVERIFY(closesAtOnce(std::move(w)));

        const QString stuck = volume.path("stuck.txt"), stuckList = volume.path("stuck.f4u");
        const QList<std::pair<const char*, std::function<bool(Window&)>>> actions = {
            // each returns whether it runs
            {"Open",
             [&](Window& w) {
                 w.fake.fileDialogs->openAnswers = {stuckList};
                 return click(w->chameleonButton6), w->fileActionRunning();
             }},
            {"Save",
             [&](Window& w) {
                 w.fake.fileDialogs->saveAnswers = {stuckList};
                 return click(w->chameleonButton7), w->fileActionRunning();
             }},
            {"Delete", [&](Window& w) { return click(w->chameleonButton9), w->fileActionRunning(); }},
            {"Copy",
             [&](Window& w) {
                 if (!openWindow<Form3>()) click(w->chameleonButton10);
                 Form3* copy = openWindow<Form3>();
                 if (!copy) return false;
                 copy->Text1->setText(w.path("copy.txt"));
                 return click(copy->chameleonButton1), copy->pasting();
             }},
        };
        for (const auto& [name, run] : actions) {
            auto w = std::make_unique<Window>(other.root());
            w->open(stuck.toUtf8() + "\r\n");
            w->clickRow(0);
            QElapsedTimer clock;
            clock.start();
            QVERIFY2(run(*w) && clock.elapsed() < 1000, name);
            w->takeBoxes(); // the question before a delete
            const qsizetype asked = w->fake.fileDialogs->titles.size();
            QVERIFY2(run(*w) && w->takeBoxes().isEmpty() && w->fake.fileDialogs->titles.size() == asked,
                     name); // nothing more
            QTest::qWait(50);
            QVERIFY2(!QFile::exists(w->path("copy.txt")) &&
                         (*w)->List1->ListCount() == (QByteArray(name) == "Open" ? 0 : 1),
                     name);
            if (Form3* copy = openWindow<Form3>())
                click(copy->chameleonButton3); // Cancel: back to the main window
            QVERIFY2(closesAtOnce(std::move(w)), name);
        }
    }

    void enterSearchesFromTheFileNameBoxOnly() {
        TreeBuilder tree;
        tree.file("hello.txt");
        Window w(tree.root());
        // The type box keeps what was typed through Enter (which starts nothing), Tab and a click elsewhere.
        QLineEdit* type = w->Combo1->lineEdit();
        w->Combo1->setFocus();
        type->clear();
        QTest::keyClicks(type, "*.doc");
        QTest::keyClick(type, Qt::Key_Return);
        QTest::keyClick(type, Qt::Key_Tab);
        QTest::mouseClick(w->Label2, Qt::LeftButton);
        QCOMPARE(w->Combo1->currentText() + w.labels(), "*.doc||");
        w->Option1->click();
        QTest::keyClicks(w->Text1, "hello.txt");
        QCOMPARE(w->Label1->text(), QString()); // other keys only type
        QTest::keyClick(w->Text1, Qt::Key_Return);
        QTRY_COMPARE(w.entries(), QStringList{tree.root() + "/hello.txt"});
        w->Text1->clear(); // the empty pattern finds nothing but still ends the search
        QTest::keyClick(w->Text1, Qt::Key_Return);
        QTRY_VERIFY(!w->isSearching());
        QCOMPARE(w.entries() << w->Label1->text(), QStringList{kOver});
    }
};

QTEST_MAIN(TestLocalSearch)
#include "tst_localsearch.moc"
