// The main window driven through its controls with scripted services: its modes and controls, the
// viewer buttons, the list's menu, the file list document, Delete, Copy, File Info and About.
#include "about/Form2.h"
#include "copydialog/Form3.h"
#include "platform/DesktopFiles.h"
#include "platform/PathCodec.h"
#include "search/ResultList.h"
#include "support/TreeBuilder.h"
#include "support/Window.h"

#include <QtTest>
#include <QtWidgets>
#include <sys/stat.h>

using namespace testsupport;

namespace {
const QString kSelect = " File Selection Error |  Please select file from the file list!",
              kExe = " Orvik Searcher Message |  Due to security reasons , an EXE file cannot be opened !";
QStringList buttons(std::initializer_list<int> numbers) {
    QStringList out;
    for (int n : numbers)
        out << QStringLiteral("chameleonButton%1").arg(n);
    return out;
}
const QStringList kFileMode = buttons({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 17, 18}) +
                              QStringList{"Drive1", "Label1", "Label2", "Label3", "Label6", "Label7"};
// The names of the window's visible controls (the clock aside), sorted.
QStringList visibleControls(Form1& form) {
    static const QRegularExpression control("^(Text|Combo|Drive|Label[12367]|SSTab|PB|chameleonButton)\\d*$");
    QStringList out;
    for (QWidget* w : form.findChildren<QWidget*>())
        if (control.match(w->objectName()).hasMatch() && w->isVisible()) out << w->objectName();
    return out.sort(), out;
}
QStringList sorted(QStringList l) {
    return l.sort(), l;
}
// The About window's texts exactly, centred, each label fitting its text and heard as it reads; Escape
// does not close it.
void aboutWindowAsSeenAndHeard(Form2* about) {
    const QRect screen = about->screen()->geometry();
    QCOMPARE(about->pos(),
             QPoint((screen.width() - about->width()) / 2, (screen.height() - about->height()) / 2));
    // One text a line, blanks at either end included.
    const QStringList texts = QString(readBytes(QFINDTESTDATA("data/about-texts.txt"))).split('\n');
    QLabel* const labels[] = {about->Label2, about->Label3, about->Label4, about->Label5, about->Label6};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(labels[i]->text(), texts.value(i));
    QVERIFY(about->Label1->text().contains("ORVIK SEARCHER"));
    for (QLabel* l : about->findChildren<QLabel*>()) {
        QVERIFY2(l->heightForWidth(l->width()) <= l->height() && about->rect().contains(l->geometry()),
                 qPrintable(l->objectName()));
        QCOMPARE(QAccessible::queryAccessibleInterface(l)->text(QAccessible::Name), l->text());
    }
    QAccessibleInterface* close = QAccessible::queryAccessibleInterface(about->Command3);
    QCOMPARE(close->text(QAccessible::Name) + '|' + close->text(QAccessible::Description),
             "Close|Close The About Dialog Box");
    QTest::keyClick(about, Qt::Key_Escape);
    QVERIFY(about->isVisible());
}
bool inFileTypeMode(Form1& form) { // as every activation leaves the window
    return form.isVisible() && form.Option2->isChecked() && form.Combo1->isVisible() &&
           (!form.Text1 || form.Text1->isHidden());
}
} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void startsInFileTypeModeWithItsControls() {
        FakeServices fake(QDir::tempPath());
        fake.volumes->list.prepend({"/", QString()});
        fake.volumes->start = 1;
        Form1 form(fake.services()), early(fake.services());
        QCOMPARE(form.windowTitle(), "ORVIK  SEARCHER   V 1.00");
        QCOMPARE(form.windowIcon().pixmap(64).toImage(),
                 QPixmap(":/icons/orvik-searcher.png").toImage()); // the picture shown
        QVERIFY(!form.laterControlsBuilt() && !form.Text1); // not before the window is first painted...
        early.Option1->click(); // ...unless a mode that shows them is chosen first
        QVERIFY(early.laterControlsBuilt() && !early.Text1->isHidden() &&
                early.Option2->nextInFocusChain() == early.Text1);
        early.Option3->click();
        QVERIFY(!early.SSTab1->isHidden() && !early.chameleonButton11->isHidden() && early.Text1->isHidden());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(inFileTypeMode(form));
        QTRY_VERIFY(form.laterControlsBuilt());
        QCOMPARE(form.Combo1->currentText(), "*.TXT");
        QCOMPARE(visibleControls(form), sorted(kFileMode + QStringList{"Combo1"}));
        QCOMPARE(form.size().width(), 752);
        QCOMPARE(form.frameGeometry().height(), 660); // 9900 twips
        QCOMPARE(QList<int>({form.Combo1->count(), form.Combo2->currentIndex(), form.Drive1->currentIndex()}),
                 QList<int>({27, -1, 1}));

        // A volume mounted meanwhile comes into the list, the selected one stays selected while it is
        // there, and the start volume is taken when it goes.
        fake.volumes->list.insert(1, {"/media/stick", "STICK"});
        fake.volumes->changed();
        QCOMPARE(form.Drive1->itemText(1) + '|' + form.Drive1->currentData().toString(),
                 "/media/stick  [STICK]|" + QDir::tempPath());
        fake.volumes->list.removeLast();
        fake.volumes->changed();
        QCOMPARE(form.Drive1->count() * 10 + form.Drive1->currentIndex(), 21);
    }

    void modeSwitchesShowTheirControlsAndKeepTheResults() {
        TreeBuilder tree;
        tree.file("one.txt"), tree.file("two.txt");
        Window w(tree.root());
        Form1& form = *w.form;
        form.Option1->click(), form.Text1->setText("*.txt"), form.StartSearch();
        QTRY_COMPARE(form.List1->ListCount(), 2);
        form.List1->setListIndex(1);
        const QString labels = w.labels();
        form.Option3->click(); // the internet mode's taller window, its tabs over the frame
        QCOMPARE(visibleControls(form), sorted(buttons({11, 12, 13, 14, 15, 16}) +
                                               QStringList{"Combo2", "SSTab1", "Text2", "Text4"}));
        QCOMPARE(form.frameGeometry().height(), 707); // 10600 twips
        QCOMPARE(form.enginePane(3)->height(), 443);  // 6650 twips
        QVERIFY(form.SSTab1->geometry().intersects(form.Frame1->geometry()));
        form.Option1->click();
        QCOMPARE(visibleControls(form), sorted(kFileMode + QStringList{"Text1"}));
        QCOMPARE(form.frameGeometry().height(), 660);
        QCOMPARE(w.labels() + form.Text1->text(), labels + "*.txt");
        form.Option3->click(); // focus coming back from elsewhere is not an activation
        QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
        QApplication::sendEvent(&form, &deactivate), QApplication::sendEvent(&form, &activate);
        form.activateWindow(), QApplication::processEvents();
        QVERIFY(form.Option3->isChecked() && form.SSTab1->isVisible());
        form.Option1->click(), form.hide(), form.show(); // showing the window again is
        QCOMPARE(visibleControls(form), sorted(kFileMode + QStringList{"Combo1"}));
    }

    void everyControlIsAccessible() {
        Window w(QDir::tempPath());
        w->Option3->click();
        QCOMPARE(QAccessible::queryAccessibleInterface(w->Option3)->text(QAccessible::Name),
                 "Search By Topic On Internet");
        static const QRegularExpression control(
            "^(Option|Text|Combo|Drive|Label|Frame|List|WB|SSTab|PB|chameleonButton)\\d+$");
        int checked = 0;
        for (QWidget* c : w->findChildren<QWidget*>()) {
            if (!control.match(c->objectName()).hasMatch()) continue;
            ++checked;
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c);
            QVERIFY2(!(iface->text(QAccessible::Name) + iface->text(QAccessible::Description)).isEmpty(),
                     qPrintable(c->objectName()));
            if (!c->toolTip().isEmpty()) QCOMPARE(iface->text(QAccessible::Description), c->toolTip());
        }
        QCOMPARE(checked, 47);
    }

    void deleteCopyFileInfoAndAbout() {
        TreeBuilder tree;
        for (const char* n : {"a.txt", "b.txt", "gone.txt"})
            tree.file(n);
        Window w(tree.root());
        Form1& form = *w.form;
        w.search("*.*");
        click(form.chameleonButton9); // nothing selected: nothing happens
        QVERIFY(w.takeBoxes().isEmpty());
        w.select(tree.root() + "/b.txt");
        click(form.chameleonButton9); // Yes: the file and its entry go, the selection and labels empty
        w.settle();
        QVERIFY(w.takeBoxes().size() == 2 && !QFile::exists(tree.root() + "/b.txt") &&
                QFile::exists(tree.root() + "/a.txt"));
        QCOMPARE(w.labels() + QString::number(w.entries().size()), "|| list2");
        const QStringList left = w.entries(); // a file that vanished before Yes: reported, its entry kept
        w.select(tree.root() + "/gone.txt");
        QVERIFY(QFile::remove(tree.root() + "/gone.txt"));
        click(form.chameleonButton9);
        w.settle();
        QVERIFY(
            w.takeBoxes().last().startsWith("File Delete Message|The selected file could not be deleted") &&
            w.entries() == left);
        QCOMPARE(form.Label7->text(), QString::number(left.indexOf(tree.root() + "/gone.txt") + 1));

        form.Option1->click();
        form.List1->setListIndex(-1);
        click(form.chameleonButton10); // Copy with nothing selected
        QCOMPARE(w.takeBoxes(),
                 QStringList{"ORVIK SEARCHER|   There is no file to copy. Please select file !   "});
        click(form.chameleonButton17); // File Info asks the desktop about the selected entry, or about none
        // Copy and About hide the window until their Close brings it back, each dialog afresh.
        for (int i = 0; i < 2; ++i) {
            w.select(tree.root() + "/a.txt");
            click(form.chameleonButton10);
            QPointer<Form3> dialog = openWindow<Form3>();
            QVERIFY(dialog && form.isHidden() && !dialog->isModal() && !QApplication::activeModalWidget() &&
                    !(dialog->windowFlags() & Qt::WindowCloseButtonHint)); // closed by its button only
            QCOMPARE(dialog->Text1->text() + dialog->Text2->text(), "Status: Ready");
            dialog->Text1->setText("/elsewhere"), click(dialog->chameleonButton3);
            QVERIFY(inFileTypeMode(form));
            click(form.chameleonButton17), click(form.chameleonButton18);
            QPointer<Form2> about = openWindow<Form2>();
            QVERIFY(about && form.isHidden() && !about->isModal() &&
                    !(about->windowFlags() & Qt::WindowCloseButtonHint));
            if (i == 0) aboutWindowAsSeenAndHeard(about);
            click(about->Command3);
            QVERIFY(inFileTypeMode(form));
            QTRY_VERIFY(about.isNull() && dialog.isNull());
        }
        QCOMPARE(w.fake.fileProperties->shown,
                 (QStringList{QString(), tree.root() + "/a.txt", tree.root() + "/a.txt"}));
        QVERIFY(w.takeBoxes().isEmpty());
    }

    void showNextPreviousAndBack() {
        Window w;
        QWidget *show = w->chameleonButton2, *next = w->chameleonButton3, *previous = w->chameleonButton4,
                *back = w->chameleonButton5;
        w.loadEntries(3);
        QCOMPARE(w.labels(),
                 "|3|0 list"); // nothing chosen since the list was filled: each refuses, nothing moves
        QCOMPARE(w.steps({{show, "|3|0 list", {kSelect}},
                          {next, "|3|0 list", {kSelect}},
                          {previous, "|3|0 list", {kSelect}},
                          {back, "|3|0 list", {" File Selection Error |  File List is already opened !"}}}),
                 QString());
        w->List1->setListIndex(2);
        QCOMPARE(w.steps({{next,
                           "/files/f3.txt|3|3 list",
                           {" File Selection Error |  This is the last file in the Filelist!"}},
                          {previous, "/files/f2.txt|3|2 viewer"},
                          {previous, "/files/f1.txt|3|1 viewer"},
                          {previous,
                           "/files/f1.txt|3|1 viewer",
                           {" File Selection Error |  This is the first file in the Filelist!"}},
                          {next, "/files/f2.txt|3|2 viewer"},
                          {show, "/files/f2.txt|3|2 viewer"},
                          {back, "/files/f2.txt|3|2 list"}}),
                 QString());
        QVERIFY(w.fake.messageBoxes->shown.isEmpty());
        QCOMPARE(w.viewer()->navigated,
                 (QStringList{"/files/f2.txt", "/files/f1.txt", "/files/f2.txt", "/files/f2.txt"}));
        QCOMPARE(w->Label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(w->List1->height(), 413); // 6200 twips
        click(w->chameleonButton8);        // after Clear
        QCOMPARE(w.steps({{show, "||", {" File Selection Error |  There is no file in the file list!"}},
                          {back, "||", {" File Selection Error |  There is no file in the file list!"}}}),
                 QString());
        w.loadEntries(1);
        w->List1->setListIndex(0);
        const QString one = " File Selection Error |  There is only one file in the Filelist!";
        QCOMPARE(
            w.steps({{next, "/files/f1.txt|1|1 list", {one}}, {previous, "/files/f1.txt|1|1 list", {one}}}),
            QString());

        // A blocked entry is refused: from the list nothing shows; from the file view the previous file
        // stays.
        w.open("/d/a.txt\r\n/d/b.exe\r\n/d/c.txt\r\n/d/e.RAR\r\n");
        w->List1->setListIndex(0);
        QCOMPARE(w.steps({{next, "|4|1", {kExe}}, {back, "/d/a.txt|4|1 list"}}), QString());
        w->List1->setListIndex(2);
        QCOMPARE(w.steps({{show, "/d/c.txt|4|3 viewer"}, {previous, "/d/c.txt|4|3 viewer", {kExe}}}),
                 QString());
        w.open("/d/setup.ini\r\n/d/notes.txt\r\n"); // a double click shows the entry; Show has its own title
        w.clickRow(0, true);
        QVERIFY(w->List1->ListIndex() == 0 && w->List1->isHidden());
        QCOMPARE(
            w.steps({{show,
                      "/d/setup.ini|2|1",
                      {" Orvik Searcher Message |  Due to security reasons , an INI file cannot be opened !",
                       " Orvik File Searcher Message |  Due to security reasons , an INI file cannot be "
                       "opened !"}},
                     {back, "/d/setup.ini|2|1 list"}}),
            QString());
        w.clickRow(1, true);
        QCOMPARE(w.labels(), "/d/notes.txt|2|2 viewer");
        QCOMPARE(w.viewer()->navigated.last(), "/d/notes.txt");
    }

    void saveAndOpenThroughTheirDialogs() {
        Window w;
        click(w->chameleonButton7); // nothing to save: no dialog
        QCOMPARE(w.takeBoxes(), QStringList{" Save Filelist Error |    Filelist is Empty! Please add files "
                                            "to Filelist and Save again !"});
        for (const char* name : {"C:\\a.txt", "/odd\rname"})
            w.openFile(name);        // a name that is not a document is added
        w.saveAs(w.path("two.f4u")); // a name holding a CR is saved; the user hears of it
        QCOMPARE(readBytes(w.path("two.f4u")), "C:\\a.txt\r\n/odd\rname\r\n");
        QStringList boxes = w.takeBoxes();
        QVERIFY(boxes.size() == 1 && boxes[0].contains("line break (CR) in the file name: 1."));
        QCOMPARE(w.fake.fileDialogs->filters,
                 (QStringList{"Filelist (*.f4u)|*.f4u|All Files (*.*)|*.*",
                              "Filelist (*.f4u)|*.f4u|All Files (*.*)|*.*", "File List (*.f4u)|*.f4u"}));
        // A document replaces the list, whatever its extension's case; any other file adds its path and
        // keeps the entries and the selection; cancelled and blank names change nothing.
        w.open("C:\\caf\xe9 \x80.txt\r\n/b\r\n", "notes.F4U");
        QCOMPARE(w.entries() << w.labels().section('|', 1),
                 (QStringList{u"C:\\caf\u00e9 \u20ac.txt"_qs, "/b", "2|0 list"}));
        w->List1->setListIndex(1);
        click(w->chameleonButton2);
        for (const QString& answer : {QString(), QStringLiteral(" ")})
            w.openFile(answer), w.saveAs(answer);
        QCOMPARE(w.labels(), "/b|2|2 viewer");
        w.openFile(w.path("picture.jpg"));
        QCOMPARE(w.entries().last() + w->Label3->text() + w->Label7->text(), w.path("picture.jpg") + "32");
        QCOMPARE(QDir(w.dir.path()).entryList(QDir::Files), (QStringList{"notes.F4U", "two.f4u"}));
        QVERIFY(w.takeBoxes().isEmpty());
        w.saveAs(w.dir.path()); // a folder as the name
        boxes = w.takeBoxes();
        QVERIFY(boxes.size() == 1 &&
                boxes[0].startsWith(" Save Filelist Error |  The file list was not saved: "));
        w.openFile(w.path("missing.f4u")); // unreadable: the emptied list stays empty
        QCOMPARE(w.labels().section('|', 1), "0|0 list");
        boxes = w.takeBoxes();
        QVERIFY(boxes.size() == 1 &&
                boxes[0].startsWith(" Open Filelist Error |  The file list could not be read: "));
    }

    void theListMenuActsOnTheSelectedEntry() {
        TreeBuilder tree;
        for (const char* f : {"notes.txt", "run.sh", "app.desktop", "setup.exe", "gone.txt", "caf\xe9.txt"})
            tree.file(f);
        ::chmod(tree.path("run.sh").constData(), 0755);
        Window w(tree.root());
        QCOMPARE(w.search("*.*").size(), 6);
        const auto select = [&](const QByteArray& name) { w.select(platform::decodePath(tree.path(name))); };
        auto* menu = w->findChild<QMenu*>("List1Menu");
        const QRect row =
            w->List1->visualRect(w->List1->model()->index(2, 0)); // a right click selects and opens
        QTest::mouseClick(w->windowHandle(), Qt::RightButton, {},
                          w->List1->viewport()->mapTo(w.form.get(), row.center()));
        QTRY_VERIFY(menu->isVisible() && w->List1->ListIndex() == 2);
        QStringList items; // as seen, and as heard
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(menu);
        for (int i = 0; i < iface->childCount(); ++i)
            items << menu->actions()[i]->text() + '=' + iface->child(i)->text(QAccessible::Name);
        QCOMPARE(items, (QStringList{"&Open=Open", "Open Containing &Folder=Open Containing Folder",
                                     "Copy &Path=Copy Path", "=", "&Show=Show", "&Copy=Copy",
                                     "&Delete=Delete", "File &Info=File Info"}));
        menu->close(), select("notes.txt");
        QTest::keyClick(w->List1, Qt::Key_F10, Qt::ShiftModifier); // Shift+F10 opens it too
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        const auto choose = [&](int item) {
            menu->actions()[item]->trigger();
            QCoreApplication::processEvents(); // the action runs once the menu has gone
            w.settle();
        };
        const QString notes = tree.root() + "/notes.txt";
        for (int item : {0, 1, 2, 4, 7})
            choose(item); // Open, Folder, Path, Show, File Info
        QCOMPARE(w.fake.desktopFiles->asked + w.viewer()->navigated + w.fake.fileProperties->shown,
                 (QStringList{"open " + notes, "folder " + notes, "copy " + notes, notes, notes}));
        w.fake.desktopFiles->asked.clear(); // Open never runs a file: blocked types, programs, what is gone
        QVERIFY(QFile::remove(tree.root() + "/gone.txt"));
        for (const char* name : {"setup.exe", "run.sh", "app.desktop", "gone.txt"})
            select(name), choose(0);
        const QString program = " Orvik File Searcher Message |  Due to security reasons , a file that runs "
                                "as a program cannot be opened !";
        QCOMPARE(
            w.takeBoxes(),
            (QStringList{
                " Orvik File Searcher Message |  Due to security reasons , an EXE file cannot be opened !",
                program, program,
                " Orvik File Searcher Message |  The file cannot be opened: No such file or directory."}));
        QVERIFY(w.fake.desktopFiles->asked.isEmpty());
        select("notes.txt"), choose(6); // Delete, after Yes
        QVERIFY(!QFile::exists(notes) && w.takeBoxes().size() == 2);
        select("caf\xe9.txt"), choose(5); // Copy
        QVERIFY(w->isHidden());
        ::unlink(tree.path("caf\xe9.txt").constData());

        search::ResultList
            list; // Copy Path and a dragged entry: the path's very bytes as text, and as a file reference
        list.setFolder("/m\xc3\xbcsic"), list.appendName("caf\xe9 #1.mp3"), list.flush();
        platform::SystemDesktopFiles(QDBusConnection("none")).copyPath(list.entry(0));
        std::unique_ptr<QMimeData> dragged(list.mimeData({list.index(0)}));
        for (const QMimeData* data :
             {QGuiApplication::clipboard()->mimeData(), static_cast<const QMimeData*>(dragged.get())}) {
            QCOMPARE(data->data("text/plain"), "/m\xc3\xbcsic/caf\xe9 #1.mp3");
            QCOMPARE(data->data("text/uri-list"), "file:///m%C3%BCsic/caf%E9%20%231.mp3\r\n");
        }
        QVERIFY(list.flags(list.index(0)) & Qt::ItemIsDragEnabled);
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
