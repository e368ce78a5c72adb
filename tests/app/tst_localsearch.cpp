// The local search through the real main window: order, matching, the odd kinds of
// entries a Linux volume holds, the status texts, selection, Clear and the keys.
#include "app/Form1.h"
#include "platform/PathCodec.h"
#include "search/FolderWalk.h"
#include "search/ResultList.h"
#include "search/ResultListView.h"
#include "support/FakeServices.h"
#include "support/TreeBuilder.h"
#include "widgets/button/chameleonButton.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QTimer>

using testsupport::FakeServices;
using testsupport::TreeBuilder;

namespace {

const QString kSearching = QStringLiteral("                              SEARCHING ");

struct Window {
    explicit Window(const QString& root) : fake(root), form(fake.services()) {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    QStringList entries() const {
        QStringList out;
        for (int i = 0; i < form.List1->ListCount(); ++i)
            out << form.List1->List(i);
        return out;
    }
    // Runs a file-type search for pattern as a user would: type it, click Search.
    QStringList searchType(const QString& pattern) {
        form.Option2->click();
        form.Combo1->setEditText(pattern);
        QTest::mouseClick(form.chameleonButton1, Qt::LeftButton);
        return entries();
    }
    FakeServices fake;
    Form1 form;
};

// The entries relative to root, for readable comparisons.
QStringList relative(const QString& root, const QStringList& entries) {
    QStringList out;
    for (const QString& e : entries)
        out << (e.startsWith(root + '/') ? e.mid(root.size() + 1) : e);
    return out;
}

QSet<QString> asSet(const QStringList& l) {
    return QSet<QString>(l.begin(), l.end());
}

} // namespace

class TestLocalSearch : public QObject {
    Q_OBJECT

private slots:
    void walksDepthFirstPreOrder();
    void keepsEverySubtreeTogether();
    void matchesNamesLikeTheUserExpects_data();
    void matchesNamesLikeTheUserExpects();
    void listsLinksSpecialFilesAndOddNamesWithoutFollowing();
    void showsStatusWhileSearchingAndTheEndText();
    void selectionUpdatesTheCountersAndClearEmptiesAll();
    void refusesASecondSearchWhileOneRuns();
    void survivesFoldersThatVanishOrCannotBeOpened();
    void enterSearchesFromTheFileNameBoxOnly();
    void closingTheWindowStopsTheWalk();
};

void TestLocalSearch::walksDepthFirstPreOrder() {
    TreeBuilder tree;
    tree.folder("sub");
    tree.folder("sub/deep");
    tree.file("sub/deep/d.txt");
    tree.file("sub/c.txt");
    tree.file("a.txt");
    Window w(tree.root());
    QCOMPARE(relative(tree.root(), w.searchType("*.txt")),
             (QStringList{"a.txt", "sub/c.txt", "sub/deep/d.txt"}));
}

void TestLocalSearch::keepsEverySubtreeTogether() {
    TreeBuilder tree;
    const QList<QByteArray> folders = {"a", "a/x", "a/y", "a/y/z", "b", "b/x", "c"};
    for (const QByteArray& f : folders) {
        tree.folder(f);
        tree.file(f + "/one.txt");
        tree.file(f + "/two.txt");
    }
    tree.file("root.txt");
    Window w(tree.root());
    const QStringList got = relative(tree.root(), w.searchType("*.txt"));
    QCOMPARE(got.size(), 15);
    QCOMPARE(got.first(), QStringLiteral("root.txt"));
    // Pre-order: a folder's own files come right after each other, and everything
    // below a folder comes in one run, after the folder's own files.
    for (const QByteArray& f : folders) {
        const QString prefix = QString::fromLatin1(f) + '/';
        QList<int> own, below;
        for (int i = 0; i < got.size(); ++i) {
            if (!got[i].startsWith(prefix)) continue;
            (got[i].indexOf('/', prefix.size()) < 0 ? own : below) << i;
        }
        QCOMPARE(own.size(), 2);
        QCOMPARE(own[1], own[0] + 1);
        const QList<int> all = own + below;
        QCOMPARE(*std::max_element(all.begin(), all.end()) - own[0] + 1, all.size());
    }
}

void TestLocalSearch::matchesNamesLikeTheUserExpects_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("any case") << "*.TXT"
                              << QStringList{"notes.txt", "NOTES.TXT", ".hidden.txt", "d/readme.txt"};
    QTest::newRow("exact name anywhere") << "readme.txt" << QStringList{"d/readme.txt"};
    QTest::newRow("question mark is one character") << "a?.doc" << QStringList{"a1.doc", "ab.doc"};
    QTest::newRow("star dot star is everything")
        << "*.*" << QStringList{"notes.txt", "NOTES.TXT", ".hidden.txt",  "a1.doc",    "ab.doc",
                                "abc.doc",   "noext",     "notes.txt.gz", "Übung.PDF", "d/readme.txt"};
    QTest::newRow("leading blanks ignored") << "   *.doc" << QStringList{"a1.doc", "ab.doc", "abc.doc"};
    QTest::newRow("trailing blanks and dots ignored")
        << "*.doc .  " << QStringList{"a1.doc", "ab.doc", "abc.doc"};
    QTest::newRow("only blanks find nothing") << "    " << QStringList{};
    QTest::newRow("non-ASCII letters fold") << "übung.pdf" << QStringList{"Übung.PDF"};
    QTest::newRow("no folder names") << "d" << QStringList{};
}

void TestLocalSearch::matchesNamesLikeTheUserExpects() {
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);
    TreeBuilder tree;
    for (const char* f :
         {"notes.txt", "NOTES.TXT", ".hidden.txt", "a1.doc", "ab.doc", "abc.doc", "noext", "notes.txt.gz",
          "\xc3\x9c"
          "bung.PDF"})
        tree.file(f);
    tree.folder("d");
    tree.file("d/readme.txt");
    Window w(tree.root());
    const QStringList got = relative(tree.root(), w.searchType(pattern));
    QCOMPARE(asSet(got), asSet(expected));
    QCOMPARE(got.size(), expected.size());
    QCOMPARE(w.form.Label3->text(), QString::number(expected.size()));
}

void TestLocalSearch::listsLinksSpecialFilesAndOddNamesWithoutFollowing() {
    TreeBuilder tree;
    tree.folder("sub");
    tree.file("sub/inside.dat");
    tree.link("..", "sub/loop.dat");           // a link to a folder: not entered, not listed
    tree.link("sub", "tosub");                 // the same from the root
    tree.link("sub/inside.dat", "alias.dat");  // a link to a file: listed
    tree.link("/nonexistent/x", "broken.dat"); // a broken link: listed
    tree.fifo("pipe.dat");                     // listed, never opened (opening would block)
    tree.file("bad\xff\xfe.dat");              // not UTF-8
    tree.file(".secret.dat");
    Window w(tree.root());
    const QStringList got = w.searchType("*.dat");
    QCOMPARE(
        asSet(relative(tree.root(), got)),
        asSet(QStringList{"sub/inside.dat", "alias.dat", "broken.dat", "pipe.dat",
                          QString::fromUtf8("bad") + QChar(0xDCFF) + QChar(0xDCFE) + ".dat", ".secret.dat"}));
    // The odd name keeps its bytes: the entry leads back to the very file.
    for (const QString& e : got)
        if (e.contains(QChar(0xDCFF))) {
            QCOMPARE(platform::encodePath(e), tree.path("bad\xff\xfe.dat"));
            QVERIFY(QFileInfo::exists(QFile::decodeName(platform::encodePath(e))) ||
                    ::access(platform::encodePath(e).constData(), F_OK) == 0);
        }
}

void TestLocalSearch::showsStatusWhileSearchingAndTheEndText() {
    TreeBuilder tree;
    tree.folder("sub");
    tree.file("sub/x.txt");
    tree.folder("sub/deeper");
    tree.file("sub/deeper/y.txt");
    tree.file("top.txt");
    Window w(tree.root());
    w.form.folderWalk().setYieldInterval(0);
    QStringList seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (seen.isEmpty() || seen.last() != w.form.Label1->text()) seen << w.form.Label1->text();
        QCOMPARE(w.form.Label3->text(), QString()); // no count while the walk runs
    });
    watch.start(0);
    w.searchType("*.txt");
    watch.stop();
    QVERIFY2(seen.contains(kSearching + "\r\n" + tree.root() + "..."), qPrintable(seen.join(" | ")));
    QVERIFY2(seen.contains(kSearching + "\r\n" + tree.root() + "/sub..."), qPrintable(seen.join(" | ")));

    QCOMPARE(w.form.Label1->text(), QStringLiteral("\r\nSEARCH OVER"));
    QCOMPARE(w.form.Label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(w.form.Label1->font().pointSize(), 8);
    QVERIFY(w.form.Label1->font().bold());
    QCOMPARE(w.form.Label3->text(), QStringLiteral("3"));
    QCOMPARE(w.form.Label7->text(), QStringLiteral("0"));
    QVERIFY(w.form.List1->isVisible());
    QCOMPARE(w.form.List1->height(), 420); // 6300 twips

    // No match: an empty list, the count 0 and the end text all the same.
    QCOMPARE(w.searchType("*.nothing"), QStringList());
    QCOMPARE(w.form.Label3->text(), QStringLiteral("0"));
    QCOMPARE(w.form.Label1->text(), QStringLiteral("\r\nSEARCH OVER"));
    QVERIFY(w.form.List1->isVisible());
}

void TestLocalSearch::selectionUpdatesTheCountersAndClearEmptiesAll() {
    TreeBuilder tree;
    for (int i = 0; i < 10; ++i)
        tree.file(QByteArray("f") + QByteArray::number(i) + ".txt");
    Window w(tree.root());
    w.form.Option1->click();
    w.form.Text1->setText(QStringLiteral("*.txt"));
    QTest::mouseClick(w.form.chameleonButton1, Qt::LeftButton);
    QCOMPARE(w.form.List1->ListCount(), 10);

    const QRect third = w.form.List1->visualRect(w.form.List1->model()->index(2, 0));
    QTest::mouseClick(w.form.List1->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(w.form.List1->ListIndex(), 2);
    QCOMPARE(w.form.Label7->text(), QStringLiteral("3"));
    QCOMPARE(w.form.Label3->text(), QStringLiteral("10"));
    QCOMPARE(w.form.Label1->text(), w.form.List1->List(2));
    QCOMPARE(w.form.Label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(w.form.Label1->font().pointSize(), 8); // the font stays as the search left it

    QTest::keyClick(w.form.List1, Qt::Key_Down); // the keyboard moves the selection too
    QCOMPARE(w.form.Label7->text(), QStringLiteral("4"));
    QCOMPARE(w.form.Label1->text(), w.form.List1->List(3));

    w.form.WB1->show();
    const QString pattern = w.form.Combo1->currentText();
    QTest::mouseClick(w.form.chameleonButton8, Qt::LeftButton); // Clear
    QCOMPARE(w.form.List1->ListCount(), 0);
    QCOMPARE(w.form.Text1->text(), QString());
    QCOMPARE(w.form.Label1->text(), QString());
    QCOMPARE(w.form.Label3->text(), QString());
    QCOMPARE(w.form.Label7->text(), QString());
    QVERIFY(w.form.List1->isHidden());
    QVERIFY(w.form.WB1->isHidden());
    QVERIFY(w.form.Option1->isChecked());
    QCOMPARE(w.form.Combo1->currentText(), pattern);
}

void TestLocalSearch::refusesASecondSearchWhileOneRuns() {
    TreeBuilder tree;
    for (const char* f : {"a", "b", "c"}) {
        tree.folder(f);
        for (int i = 0; i < 5; ++i)
            tree.file(QByteArray(f) + "/n" + QByteArray::number(i) + ".txt");
    }
    Window w(tree.root());
    w.form.Option1->click();
    w.form.Text1->setText(QStringLiteral("*.txt"));
    w.form.folderWalk().setYieldInterval(0);
    int attempts = 0;
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, [&] {
        if (!w.form.isSearching()) return;
        ++attempts;
        QTest::mouseClick(w.form.chameleonButton1, Qt::LeftButton);
        QTest::keyClick(w.form.Text1, Qt::Key_Return);
    });
    again.start(0);
    QTest::mouseClick(w.form.chameleonButton1, Qt::LeftButton);
    again.stop();
    QVERIFY(attempts > 3);
    const QStringList got = w.entries();
    QCOMPARE(got.size(), 15);
    QCOMPARE(asSet(got).size(), 15); // no entry twice: the walks did not interleave
    QCOMPARE(w.form.Label3->text(), QStringLiteral("15"));
    QVERIFY(!w.form.isSearching());
}

void TestLocalSearch::survivesFoldersThatVanishOrCannotBeOpened() {
    TreeBuilder tree;
    for (const char* f : {"a", "b", "c"}) {
        tree.folder(f);
        tree.file(QByteArray(f) + "/x.txt");
    }
    tree.file("top.txt");
    Window w(tree.root());
    w.form.folderWalk().setYieldInterval(0);
    // Whichever sub-folder the walk has not reached at its first yield is taken away.
    bool removed = false;
    QStringList gone;
    QTimer remover;
    QObject::connect(&remover, &QTimer::timeout, [&] {
        if (removed || !w.form.isSearching()) return;
        removed = true;
        const QStringList listed = w.entries();
        for (const char* f : {"a", "b", "c"}) {
            const QString folder = tree.root() + '/' + f;
            if (!listed.contains(folder + "/x.txt") && !w.form.Label1->text().contains(folder)) {
                QDir(folder).removeRecursively();
                gone << folder + "/x.txt";
                break;
            }
        }
    });
    remover.start(0);
    const QStringList got = w.searchType("*.txt");
    remover.stop();
    QCOMPARE(gone.size(), 1);
    QCOMPARE(got.size(), 3);
    QVERIFY(!got.contains(gone.first()));
    QCOMPARE(w.form.Label1->text(), QStringLiteral("\r\nSEARCH OVER"));

    // A volume whose root cannot be opened: an empty list and the end text.
    w.fake.volumes->list = {{tree.root() + "/missing", QString()}};
    Form1 other(w.fake.services());
    other.Combo1->setEditText(QStringLiteral("*"));
    other.StartSearch();
    QCOMPARE(other.List1->ListCount(), 0);
    QCOMPARE(other.Label3->text(), QStringLiteral("0"));
    QCOMPARE(other.Label1->text(), QStringLiteral("\r\nSEARCH OVER"));
}

void TestLocalSearch::enterSearchesFromTheFileNameBoxOnly() {
    TreeBuilder tree;
    tree.file("hello.txt");
    Window w(tree.root());

    QTest::keyClick(w.form.Combo1->lineEdit(), Qt::Key_Return); // Enter in the type box: nothing
    QCOMPARE(w.form.Label1->text(), QString());
    QCOMPARE(w.form.Combo1->count(), 27);
    QVERIFY(w.form.List1->isHidden());

    w.form.Option1->click();
    QTest::keyClicks(w.form.Text1, QStringLiteral("hello.txt"));
    QCOMPARE(w.form.Label1->text(), QString()); // other keys only type
    QTest::keyClick(w.form.Text1, Qt::Key_Return);
    QCOMPARE(w.entries(), QStringList{tree.root() + "/hello.txt"});
    QCOMPARE(w.form.Text1->text(), QStringLiteral("hello.txt"));

    w.form.Text1->clear(); // the empty pattern finds nothing but still ends the search
    QTest::keyClick(w.form.Text1, Qt::Key_Return);
    QCOMPARE(w.entries(), QStringList());
    QCOMPARE(w.form.Label1->text(), QStringLiteral("\r\nSEARCH OVER"));
}

void TestLocalSearch::closingTheWindowStopsTheWalk() {
    TreeBuilder tree;
    for (int i = 0; i < 50; ++i)
        tree.file(QByteArray("f") + QByteArray::number(i) + ".txt");
    Window w(tree.root());
    w.form.folderWalk().setYieldInterval(0);
    QTimer::singleShot(0, &w.form, [&] { w.form.close(); });
    w.searchType("*.txt");
    QVERIFY(!w.form.isSearching());
    QVERIFY(w.entries().size() < 50);
    QVERIFY(w.form.Label1->text() != QStringLiteral("\r\nSEARCH OVER"));
}

QTEST_MAIN(TestLocalSearch)
#include "tst_localsearch.moc"
