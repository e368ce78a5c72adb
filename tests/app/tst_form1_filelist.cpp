// The main window's viewer buttons, its list menu and its file list document, driven through the real
// window with scripted message boxes and file dialogs; the viewer pane records where it was sent.
#include "platform/DesktopFiles.h"
#include "platform/PathCodec.h"
#include "search/ResultList.h"
#include "support/TreeBuilder.h"
#include "support/Window.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <sys/stat.h>

using namespace testsupport;

namespace {
const QString kSelect = " File Selection Error |  Please select file from the file list!",
              kExe = " Orvik Searcher Message |  Due to security reasons , an EXE file cannot be opened !";
}

class TestForm1FileList : public QObject {
    Q_OBJECT
private slots:
    void showNextPreviousAndBack() {
        Window w;
        QWidget *show = w->chameleonButton2, *next = w->chameleonButton3, *previous = w->chameleonButton4, *back = w->chameleonButton5;
        w.loadEntries(3);
        QCOMPARE(w.labels(), "|3|0 list"); // nothing chosen since the list was filled: each refuses, nothing moves
        QCOMPARE(w.steps({{show, "|3|0 list", {kSelect}}, {next, "|3|0 list", {kSelect}}, {previous, "|3|0 list", {kSelect}},
                          {back, "|3|0 list", {" File Selection Error |  File List is already opened !"}}}), QString());
        w->List1->setListIndex(2);
        QCOMPARE(w.steps({{next, "/files/f3.txt|3|3 list", {" File Selection Error |  This is the last file in the Filelist!"}},
                          {previous, "/files/f2.txt|3|2 viewer"}, {previous, "/files/f1.txt|3|1 viewer"},
                          {previous, "/files/f1.txt|3|1 viewer", {" File Selection Error |  This is the first file in the Filelist!"}},
                          {next, "/files/f2.txt|3|2 viewer"}, {show, "/files/f2.txt|3|2 viewer"}, {back, "/files/f2.txt|3|2 list"}}),
                 QString());
        QVERIFY(w.fake.messageBoxes->shown.isEmpty());
        QCOMPARE(w.viewer()->navigated, (QStringList{"/files/f2.txt", "/files/f1.txt", "/files/f2.txt", "/files/f2.txt"}));
        QCOMPARE(w->Label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(w->List1->height(), 413); // 6200 twips
        click(w->chameleonButton8); // after Clear
        QCOMPARE(w.steps({{show, "||", {" File Selection Error |  There is no file in the file list!"}},
                          {back, "||", {" File Selection Error |  There is no file in the file list!"}}}), QString());
        w.loadEntries(1);
        w->List1->setListIndex(0);
        const QString one = " File Selection Error |  There is only one file in the Filelist!";
        QCOMPARE(w.steps({{next, "/files/f1.txt|1|1 list", {one}}, {previous, "/files/f1.txt|1|1 list", {one}}}), QString());

        // A blocked entry is refused: from the list nothing shows; from the file view the previous file stays.
        w.open("/d/a.txt\r\n/d/b.exe\r\n/d/c.txt\r\n/d/e.RAR\r\n");
        w->List1->setListIndex(0);
        QCOMPARE(w.steps({{next, "|4|1", {kExe}}, {back, "/d/a.txt|4|1 list"}}), QString());
        w->List1->setListIndex(2);
        QCOMPARE(w.steps({{show, "/d/c.txt|4|3 viewer"}, {previous, "/d/c.txt|4|3 viewer", {kExe}}}), QString());
        w.open("/d/setup.ini\r\n/d/notes.txt\r\n"); // a double click shows the entry; Show has its own title
        w.clickRow(0, true);
        QVERIFY(w->List1->ListIndex() == 0 && w->List1->isHidden());
        QCOMPARE(w.steps({{show, "/d/setup.ini|2|1", {" Orvik Searcher Message |  Due to security reasons , an INI file cannot be opened !",
                                         " Orvik File Searcher Message |  Due to security reasons , an INI file cannot be opened !"}},
                          {back, "/d/setup.ini|2|1 list"}}), QString());
        w.clickRow(1, true);
        QCOMPARE(w.labels(), "/d/notes.txt|2|2 viewer");
        QCOMPARE(w.viewer()->navigated.last(), "/d/notes.txt");
    }

    void saveWritesTheExactBytesAndOpenReplacesTheList() {
        TreeBuilder tree;
        tree.file("caf\xe9.txt");
        Window w(tree.root());
        for (const char* name : {"C:\\a.txt", "C:\\b c\\d.doc"}) w.openFile(name); // a name that is not a document is added
        w.saveAs(w.path("two.f4u"));
        QCOMPARE(readBytes(w.path("two.f4u")), "C:\\a.txt\r\nC:\\b c\\d.doc\r\n");
        QCOMPARE(w.fake.fileDialogs->filters, (QStringList{"Filelist (*.f4u)|*.f4u|All Files (*.*)|*.*",
                                                           "Filelist (*.f4u)|*.f4u|All Files (*.*)|*.*", "File List (*.f4u)|*.f4u"}));
        const QStringList found = w.search("*.txt"); // a document replaces the results, whatever its extension's case
        w->List1->setListIndex(0);
        click(w->chameleonButton2);
        w.open("C:\\caf\xe9 \x80.txt\r\n/b\r/d  \r\n", "notes.F4U"); // leniently read
        QCOMPARE(w.entries() << w.labels().section('|', 1), (QStringList{u"C:\\caf\u00e9 \u20ac.txt"_qs, "/b", "/d", "3|0 list"}));
        w->List1->setListIndex(1); // any other file adds its path and keeps the entries and the selection
        w.openFile(w.path("picture.jpg"));
        QCOMPARE(w.entries().last() + w->Label3->text() + w->Label7->text(), w.path("picture.jpg") + "42");
        click(w->chameleonButton8); // a name that is not UTF-8 goes out and comes back as its bytes
        w.open(tree.path("caf\xe9.txt") + "\r\n", "odd.f4u");
        QCOMPARE(w.entries(), found);
        w.saveAs(w.path("again.f4u"));
        QCOMPARE(readBytes(w.path("again.f4u")), tree.path("caf\xe9.txt") + "\r\n");
        w->List1->setListIndex(0);
        click(w->chameleonButton2);
        QCOMPARE(platform::encodePath(w.viewer()->navigated.last()), tree.path("caf\xe9.txt"));
        QVERIFY(w.takeBoxes().isEmpty());
        ::unlink(tree.path("caf\xe9.txt").constData()); // QTemporaryDir cannot remove such names
    }

    void cancelledEmptyAndFailedSavesAndReads() {
        Window w;
        click(w->chameleonButton7); // nothing to save: no dialog
        QCOMPARE(w.takeBoxes(), QStringList{" Save Filelist Error |    Filelist is Empty! Please add files to Filelist and Save again !"});
        QVERIFY(w.fake.fileDialogs->filters.isEmpty());
        w.open("/the/old/list.txt\r\n", "old.f4u");
        w->List1->setListIndex(0);
        click(w->chameleonButton2);
        for (const QString& answer : {QString(), QStringLiteral(" ")}) w.openFile(answer), w.saveAs(answer); // cancelled, blank
        QCOMPARE(w.labels(), "/the/old/list.txt|1|1 viewer");
        QCOMPARE(QDir(w.dir.path()).entryList(QDir::Files), QStringList{"old.f4u"});
        QVERIFY(w.takeBoxes().isEmpty());
        w.saveAs(w.dir.path()); // a folder as the name
        QStringList boxes = w.takeBoxes();
        QVERIFY(boxes.size() == 1 && boxes[0].startsWith(" Save Filelist Error |  The file list was not saved: "));
        w.openFile("/odd\rname"); // a name holding a CR is saved; the user hears of it
        w.saveAs(w.path("cr.f4u"));
        QVERIFY(readBytes(w.path("cr.f4u")).endsWith("/odd\rname\r\n"));
        boxes = w.takeBoxes();
        QVERIFY(boxes.size() == 1 && boxes[0].contains("line break (CR) in the file name: 1."));
        w.openFile(w.path("missing.f4u")); // unreadable: the emptied list stays empty
        QCOMPARE(w.labels().section('|', 1), "0|0 list");
        boxes = w.takeBoxes();
        QVERIFY(boxes.size() == 1 && boxes[0].startsWith(" Open Filelist Error |  The file list could not be read: "));
    }

    void theListMenuActsOnTheSelectedEntry() {
        TreeBuilder tree;
        for (const char* f : {"notes.txt", "run.sh", "app.desktop", "setup.exe", "gone.txt", "caf\xe9.txt"}) tree.file(f);
        ::chmod(tree.path("run.sh").constData(), 0755);
        Window w(tree.root());
        QCOMPARE(w.search("*.*").size(), 6);
        const auto select = [&](const QByteArray& name) { w.select(platform::decodePath(tree.path(name))); };
        auto* menu = w->findChild<QMenu*>("List1Menu");
        const QRect row = w->List1->visualRect(w->List1->model()->index(2, 0)); // a right click selects and opens
        QTest::mouseClick(w->windowHandle(), Qt::RightButton, {}, w->List1->viewport()->mapTo(w.form.get(), row.center()));
        QTRY_VERIFY(menu->isVisible() && w->List1->ListIndex() == 2);
        QStringList items; // as seen, and as heard
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(menu);
        for (int i = 0; i < iface->childCount(); ++i) items << menu->actions()[i]->text() + '=' + iface->child(i)->text(QAccessible::Name);
        QCOMPARE(items, (QStringList{"&Open=Open", "Open Containing &Folder=Open Containing Folder", "Copy &Path=Copy Path", "=",
                                     "&Show=Show", "&Copy=Copy", "&Delete=Delete", "File &Info=File Info"}));
        menu->close(), select("notes.txt");
        QTest::keyClick(w->List1, Qt::Key_F10, Qt::ShiftModifier); // Shift+F10 opens it too
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        const auto choose = [&](int item) {
            menu->actions()[item]->trigger();
            QCoreApplication::processEvents(); // the action runs once the menu has gone
        };
        const QString notes = tree.root() + "/notes.txt";
        for (int item : {0, 1, 2, 4, 7}) choose(item); // Open, Folder, Path, Show, File Info
        QCOMPARE(w.fake.desktopFiles->asked + w.viewer()->navigated + w.fake.fileProperties->shown,
                 (QStringList{"open " + notes, "folder " + notes, "copy " + notes, notes, notes}));
        QVERIFY(w.takeBoxes().isEmpty());
        w.fake.desktopFiles->asked.clear(); // Open never runs a file: blocked types, programs, what is gone
        QVERIFY(QFile::remove(tree.root() + "/gone.txt"));
        for (const char* name : {"setup.exe", "run.sh", "app.desktop", "gone.txt"}) select(name), choose(0);
        const QString program = " Orvik File Searcher Message |  Due to security reasons , a file that runs as a program cannot be opened !";
        QCOMPARE(w.takeBoxes(), (QStringList{" Orvik File Searcher Message |  Due to security reasons , an EXE file cannot be opened !",
                                             program, program,
                                             " Orvik File Searcher Message |  The file cannot be opened: No such file or directory."}));
        QVERIFY(w.fake.desktopFiles->asked.isEmpty());
        select("notes.txt"), choose(6); // Delete, after Yes
        QVERIFY(!QFile::exists(notes) && w.takeBoxes().size() == 2);
        select("caf\xe9.txt"), choose(5); // Copy
        QVERIFY(w->isHidden());
        ::unlink(tree.path("caf\xe9.txt").constData());

        search::ResultList list; // Copy Path and a dragged entry: the path as text, and a file reference keeping the bytes
        list.setFolder("/m\xc3\xbcsic"), list.appendName("caf\xe9 #1.mp3"), list.flush();
        platform::SystemDesktopFiles(QDBusConnection("none")).copyPath(list.entry(0));
        std::unique_ptr<QMimeData> dragged(list.mimeData({list.index(0)}));
        for (const QMimeData* data : {QGuiApplication::clipboard()->mimeData(), static_cast<const QMimeData*>(dragged.get())}) {
            QCOMPARE(data->text(), list.entry(0));
            QCOMPARE(data->data("text/uri-list"), "file:///m%C3%BCsic/caf%E9%20%231.mp3\r\n");
        }
        QVERIFY(list.flags(list.index(0)) & Qt::ItemIsDragEnabled);
    }
};

QTEST_MAIN(TestForm1FileList)
#include "tst_form1_filelist.moc"
