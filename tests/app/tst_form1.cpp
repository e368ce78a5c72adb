// The main window as built: its controls, the three modes, activation, the clock and
// accessibility; and its Delete, Copy, File Info and About buttons.
#include "about/Form2.h"
#include "copydialog/Form3.h"
#include "support/TreeBuilder.h"
#include "support/Window.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QFrame>
#include <QPointer>
#include <QRegularExpression>
#include <QTabWidget>

using namespace testsupport;

namespace {

const QStringList kFileButtons = {"chameleonButton1",  "chameleonButton2",  "chameleonButton3",
                                  "chameleonButton4",  "chameleonButton5",  "chameleonButton6",
                                  "chameleonButton7",  "chameleonButton8",  "chameleonButton9",
                                  "chameleonButton10", "chameleonButton17", "chameleonButton18"};
const QStringList kInternetButtons = {"chameleonButton11", "chameleonButton12", "chameleonButton13",
                                      "chameleonButton14", "chameleonButton15", "chameleonButton16"};
const QStringList kLabels = {"Label1", "Label2", "Label3", "Label6", "Label7"};

// The names of the window's controls that are visible, in object-name order.
QStringList visibleControls(Form1& form) {
    static const QRegularExpression control(
        QStringLiteral("^(Text|Combo|Drive|Label|SSTab|PB|chameleonButton)\\d*$"));
    QStringList out;
    for (QWidget* w : form.findChildren<QWidget*>())
        if (control.match(w->objectName()).hasMatch() && w->isVisible()) out << w->objectName();
    out.removeAll(QStringLiteral("Label4"));
    out.removeAll(QStringLiteral("Label5"));
    out.sort();
    return out;
}

QStringList sorted(QStringList l) {
    l.sort();
    return l;
}

template <typename W> W* openWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
    return nullptr;
}

// Back in file-type mode, as every activation leaves the window.
void verifyFileTypeMode(Form1& form) {
    QVERIFY(form.isVisible() && form.Option2->isChecked() && form.Combo1->isVisible() &&
            form.Text1->isHidden());
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void startsInFileTypeModeWithItsControls() {
        FakeServices fake(QDir::tempPath());
        fake.volumes->list.prepend({QStringLiteral("/"), QString()});
        fake.volumes->start = 1;
        Form1 form(fake.services());
        QCOMPARE(form.windowTitle(), QStringLiteral("ORVIK  SEARCHER   V 1.00"));
        // Before the first activation the tabs and the address box have their design visibility.
        QVERIFY(!form.SSTab1->isHidden() && !form.Text4->isHidden());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.Option2->isChecked());
        QCOMPARE(form.Combo1->currentText(), QStringLiteral("*.TXT"));
        QCOMPARE(visibleControls(form),
                 sorted(kFileButtons +
                        QStringList{"Combo1", "Drive1", "Label1", "Label2", "Label3", "Label6", "Label7"}));
        QVERIFY(form.Label1->text().isEmpty() && form.Label3->text().isEmpty() &&
                form.Label7->text().isEmpty());
        QCOMPARE(form.width(), 752);
        QCOMPARE(form.frameGeometry().height(), 660); // 9900 twips

        QCOMPARE(form.Combo1->count(), 27);
        QCOMPARE(
            QStringList({form.Combo1->itemText(0), form.Combo1->itemText(14), form.Combo1->itemText(26)}),
            QStringList({"*.TXT", "*.PDF", "*.RM"}));
        const QStringList engines = {"Google", "Yahoo", "Msn", "Altavista", "Ask Jeeves", "Lycos"};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(form.Combo2->itemText(i), engines[i]);
            QCOMPARE(form.SSTab1->tabText(i), engines[i].toUpper());
        }
        QCOMPARE(form.Combo2->currentIndex(), -1);
        QCOMPARE(form.Combo2->currentText(), QStringLiteral("Select Search Engine"));
        QCOMPARE(form.Text1->toolTip(),
                 QStringLiteral("Enter File Name alongwith it's extention. i.e : \" filename.ext \""));
        QCOMPARE(form.Drive1->count(), 2);
        QCOMPARE(form.Drive1->currentIndex(), 1);
        QCOMPARE(form.Label2->text() + form.Label6->text(), QStringLiteral("Files Found :Current File :"));
        const char* const buttons[][3] = {
            {"chameleonButton1", "Search", "Start Searching Process"},
            {"chameleonButton7", "Save ", "Save Displayed File List"},
            {"chameleonButton10", "Copy ", "Copy Selected File To Destination"},
            {"chameleonButton12", "Stop ", "Stop Loading All Web Pages !"},
            {"chameleonButton18", "About", "About The Software /  Author"},
            {"chameleonButton13", "Back", "Back To Previous Page"},
        };
        for (const auto& b : buttons) {
            auto* button = form.findChild<chameleonButton*>(QLatin1String(b[0]));
            QCOMPARE(button->Caption() + '|' + button->toolTip(), QString::fromLatin1(b[1]) + '|' + b[2]);
        }
    }

    void modeSwitchesShowTheirControlsAndKeepTheResults() {
        TreeBuilder tree;
        tree.file("one.txt");
        tree.file("two.txt");
        Window w(tree.root());
        Form1& form = *w.form;
        form.Option1->click();
        form.Text1->setText(QStringLiteral("*.txt"));
        form.StartSearch();
        form.List1->setListIndex(1);
        const QString labels = w.labels();
        const QStringList fileMode = kFileButtons + kLabels + QStringList{"Drive1"};

        form.Option3->click(); // the internet mode's taller window, its tabs over the frame
        QCOMPARE(visibleControls(form),
                 sorted(kInternetButtons + QStringList{"Combo2", "SSTab1", "Text2", "Text4"}));
        QCOMPARE(form.frameGeometry().height(), 707); // 10600 twips
        QCOMPARE(form.enginePane(3)->height(), 443);  // 6650 twips
        QVERIFY(form.SSTab1->geometry().intersects(form.Frame1->geometry()));

        form.Option1->click();
        QCOMPARE(visibleControls(form), sorted(fileMode + QStringList{"Text1"}));
        QCOMPARE(form.frameGeometry().height(), 660);
        QCOMPARE(form.List1->height(), 413); // 6200 twips
        QCOMPARE(w.labels(), labels);
        QVERIFY(form.List1->isVisible());
        QCOMPARE(form.List1->ListCount(), 2);
        QCOMPARE(form.Text1->text(), QStringLiteral("*.txt"));
        form.Option2->click();
        QCOMPARE(visibleControls(form), sorted(fileMode + QStringList{"Combo1"}));
        QVERIFY(form.Text3->isHidden() && form.Label4->isVisible() && form.Label5->isVisible());

        // Focus coming back from elsewhere is not an activation; showing the window again is.
        form.Option3->click();
        QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
        QApplication::sendEvent(&form, &deactivate);
        QApplication::sendEvent(&form, &activate);
        form.activateWindow();
        QApplication::processEvents();
        QVERIFY(form.Option3->isChecked() && form.SSTab1->isVisible());
        form.Option1->click();
        form.hide();
        form.show();
        verifyFileTypeMode(form);
        QCOMPARE(visibleControls(form), sorted(fileMode + QStringList{"Combo1"}));
    }

    void clockShowsDateAndLongTime() {
        FakeServices fake(QDir::tempPath());
        Form1 form(fake.services());
        QTRY_COMPARE(form.Label5->text(), QStringLiteral("Friday , 04 December , 2026 "));
        QCOMPARE(form.Label4->text(), QStringLiteral("9:05:07 AM"));
        fake.clock->time = QDateTime(QDate(2027, 1, 31), QTime(23, 59, 58));
        QTRY_COMPARE(form.Label4->text(), QStringLiteral("11:59:58 PM"));
        QCOMPARE(form.Label5->text(), QStringLiteral("Sunday , 31 January , 2027 "));
    }

    void everyControlIsAccessible() {
        Window w(QDir::tempPath());
        w->Option3->click();
        QCOMPARE(QAccessible::queryAccessibleInterface(w->Option3)->text(QAccessible::Name),
                 QStringLiteral("Search By Topic On Internet"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w->chameleonButton11)->text(QAccessible::Name),
                 QStringLiteral("Search All"));
        static const QRegularExpression control(
            QStringLiteral("^(Option|Text|Combo|Drive|Label|Frame|List|WB|SSTab|PB|chameleonButton)\\d+$"));
        int checked = 0;
        for (QWidget* c : w->findChildren<QWidget*>()) {
            if (!control.match(c->objectName()).hasMatch()) continue;
            ++checked;
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c);
            QVERIFY2(iface, qPrintable(c->objectName()));
            QVERIFY2(!(iface->text(QAccessible::Name) + iface->text(QAccessible::Description)).isEmpty(),
                     qPrintable(c->objectName()));
            if (!c->toolTip().isEmpty()) QCOMPARE(iface->text(QAccessible::Description), c->toolTip());
        }
        QCOMPARE(checked, 47);

        // A press through assistive technology answers before the message box it causes is
        // shown; the box comes right after.
        w->Option2->click();
        QAccessibleActionInterface* save =
            QAccessible::queryAccessibleInterface(w->chameleonButton7)->actionInterface();
        save->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(w.fake.messageBoxes->shown.isEmpty());
        QTRY_VERIFY(!w.fake.messageBoxes->shown.isEmpty());
        QCOMPARE(w.takeBoxes(), QStringList{" Save Filelist Error |    Filelist is Empty! Please add files "
                                            "to Filelist and Save again !"});
    }

    void deleteAsksAndRemovesOnlyAfterYes() {
        TreeBuilder tree;
        for (const char* n : {"a.txt", "b.txt", "c.dll", "gone.txt"})
            tree.file(n);
        Window w(tree.root());
        Form1& form = *w.form;
        const QStringList entries = w.search(QStringLiteral("*.*"));
        const auto row = [&](const char* name) { return int(entries.indexOf(tree.root() + '/' + name)); };
        click(form.chameleonButton9); // nothing selected: nothing happens
        QVERIFY(w.takeBoxes().isEmpty());

        form.List1->setListIndex(row("b.txt"));
        w.fake.messageBoxes->answers = {platform::MessageBoxRequest::Answer::No};
        click(form.chameleonButton9);
        QCOMPARE(w.takeBoxes().size(), 1);
        QVERIFY(QFile::exists(tree.root() + "/b.txt"));
        QCOMPARE(form.List1->ListIndex(), row("b.txt"));
        click(form.chameleonButton9); // Yes
        QCOMPARE(w.takeBoxes().last(),
                 QStringLiteral("File Delete Message|Your selected file has been deleted forever!"));
        QVERIFY(!QFile::exists(tree.root() + "/b.txt") && QFile::exists(tree.root() + "/a.txt"));
        QCOMPARE(w.entries().size(), 3);
        QVERIFY(!w.entries().contains(tree.root() + "/b.txt"));
        QCOMPARE(form.List1->ListIndex(), -1);
        QCOMPARE(w.labels(), QStringLiteral("|| list"));

        // A blocked type is refused; a file that vanished before Yes is reported and kept.
        const QStringList left = w.entries();
        form.List1->setListIndex(int(left.indexOf(tree.root() + "/c.dll")));
        click(form.chameleonButton9);
        QCOMPARE(
            w.takeBoxes(),
            QStringList{" Orvik Searcher Message |  Due to security reasons , DLL file cannot be deleted !"});
        const int gone = int(left.indexOf(tree.root() + "/gone.txt"));
        form.List1->setListIndex(gone);
        QVERIFY(QFile::remove(tree.root() + "/gone.txt"));
        click(form.chameleonButton9);
        QVERIFY(w.takeBoxes().last().startsWith(
            QStringLiteral("File Delete Message|The selected file could not be deleted")));
        QCOMPARE(w.entries(), left);
        QCOMPARE(form.List1->ListIndex(), gone);
        QCOMPARE(form.Label7->text(), QString::number(gone + 1));
    }

    void copyOpensItsDialogOnTheSelectedFile() {
        TreeBuilder tree;
        tree.file("a.txt");
        tree.file("b.wma");
        Window w(tree.root());
        Form1& form = *w.form;
        const QStringList entries = w.search(QStringLiteral("*.*"));
        form.Option1->click();
        click(form.chameleonButton10); // nothing selected
        QCOMPARE(w.takeBoxes(),
                 QStringList{"ORVIK SEARCHER|   There is no file to copy. Please select file !   "});
        QVERIFY(form.isVisible() && !openWindow<Form3>());

        form.List1->setListIndex(int(entries.indexOf(tree.root() + "/b.wma")));
        click(form.chameleonButton10);
        QPointer<Form3> dialog = openWindow<Form3>();
        QVERIFY(dialog && form.isHidden() && !dialog->isModal() && !QApplication::activeModalWidget());
        const QString target = tree.root() + QStringLiteral("/copy.wma");
        w.fake.fileDialogs->saveAnswers = {target};
        click(dialog->chameleonButton2);
        QCOMPARE(w.fake.fileDialogs->filters.last(), QStringLiteral("AUDIO File  ( .WMA )|*.WMA"));
        click(dialog->chameleonButton1);
        QVERIFY(QFile::exists(target));
        QCOMPARE(dialog->Text2->text(), QStringLiteral("Status: File Copied to ") + target);
        click(dialog->chameleonButton3);
        verifyFileTypeMode(form);
        QTRY_VERIFY(dialog.isNull());
        click(form.chameleonButton10); // a new dialog starts afresh
        QVERIFY(openWindow<Form3>() && openWindow<Form3>()->Text1->text().isEmpty());
        QCOMPARE(openWindow<Form3>()->Text2->text(), QStringLiteral("Status: Ready"));
        click(openWindow<Form3>()->chameleonButton3);

        // File Info asks the desktop about the selected entry, or about none.
        form.List1->setListIndex(-1);
        click(form.chameleonButton17);
        form.List1->setListIndex(1);
        click(form.chameleonButton17);
        QCOMPARE(w.fake.fileProperties->shown, (QStringList{QString(), w.entries()[1]}));
        QVERIFY(w.takeBoxes().isEmpty());
    }

    void aboutHidesTheWindowUntilItsCloseBringsItBack() {
        Window w(QDir::tempPath());
        w->Option1->click();
        click(w->chameleonButton18);
        QPointer<Form2> about = openWindow<Form2>();
        QVERIFY(about && w->isHidden() && !about->isModal() && !QApplication::activeModalWidget());
        click(about->Command3);
        verifyFileTypeMode(*w.form);
        QTRY_VERIFY(about.isNull());
        click(w->chameleonButton18); // each click opens a fresh window
        QVERIFY(openWindow<Form2>());
        click(openWindow<Form2>()->Command3);
        QVERIFY(w->isVisible() && w.takeBoxes().isEmpty());
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
