// The main window as built: its controls, the three modes, activation, the clock and accessibility;
// its Delete, Copy, File Info and About buttons, and the About window.
#include "about/Form2.h"
#include "copydialog/Form3.h"
#include "support/TreeBuilder.h"
#include "support/Window.h"

#include <QAccessible>
#include <QApplication>
#include <QFrame>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QTabWidget>

using namespace testsupport;

namespace {
QStringList buttons(std::initializer_list<int> numbers) {
    QStringList out;
    for (int n : numbers) out << QStringLiteral("chameleonButton%1").arg(n);
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
QStringList sorted(QStringList l) { return l.sort(), l; }
template <typename W> W* openWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
    return nullptr;
}
// The About window's texts exactly, centred, each label fitting its text and heard as it reads; Escape
// does not close it.
void aboutWindowAsSeenAndHeard(Form2* about) {
    QCOMPARE(about->windowTitle(), "About  ORVIK SEARCHER  v 1.0");
    const QRect screen = about->screen()->geometry();
    QCOMPARE(about->pos(), QPoint((screen.width() - about->width()) / 2, (screen.height() - about->height()) / 2));
    // One text a line, blanks at either end included.
    const QStringList texts = QString(readBytes(QFINDTESTDATA("data/about-texts.txt"))).split('\n');
    QLabel* const labels[] = {about->Label2, about->Label3, about->Label4, about->Label5, about->Label6};
    for (int i = 0; i < 5; ++i) QCOMPARE(labels[i]->text(), texts.value(i));
    QVERIFY(about->Label1->text().contains("ORVIK SEARCHER"));
    for (QLabel* l : about->findChildren<QLabel*>()) {
        QVERIFY2(l->heightForWidth(l->width()) <= l->height() && about->rect().contains(l->geometry()), qPrintable(l->objectName()));
        QCOMPARE(QAccessible::queryAccessibleInterface(l)->text(QAccessible::Name), l->text());
    }
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(about), *close = QAccessible::queryAccessibleInterface(about->Command3);
    QCOMPARE(window->role(), QAccessible::Dialog);
    QCOMPARE(window->text(QAccessible::Name), about->windowTitle());
    QCOMPARE(close->text(QAccessible::Name) + '|' + close->text(QAccessible::Description), "Close|Close The About Dialog Box");
    QTest::keyClick(about, Qt::Key_Escape);
    QVERIFY(about->isVisible());
}
bool inFileTypeMode(Form1& form) { // as every activation leaves the window
    return form.isVisible() && form.Option2->isChecked() && form.Combo1->isVisible() && form.Text1->isHidden();
}
} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void startsInFileTypeModeWithItsControls() {
        FakeServices fake(QDir::tempPath());
        fake.volumes->list.prepend({"/", QString()});
        fake.volumes->start = 1;
        Form1 form(fake.services());
        QCOMPARE(form.windowTitle(), "ORVIK  SEARCHER   V 1.00");
        QVERIFY(!form.SSTab1->isHidden() && !form.Text4->isHidden()); // design visibility until activated
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(inFileTypeMode(form));
        QCOMPARE(form.Combo1->currentText(), "*.TXT");
        QCOMPARE(visibleControls(form), sorted(kFileMode + QStringList{"Combo1"}));
        QCOMPARE(form.Label1->text() + form.Label3->text() + form.Label7->text(), QString());
        QCOMPARE(form.size().width(), 752);
        QCOMPARE(form.frameGeometry().height(), 660); // 9900 twips
        QCOMPARE(QList<int>({form.Combo1->count(), form.Combo2->currentIndex(), form.Drive1->currentIndex()}), QList<int>({27, -1, 1}));
        QCOMPARE(form.Combo1->itemText(14) + form.Combo2->currentText(), "*.PDFSelect Search Engine");
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
        QCOMPARE(visibleControls(form), sorted(buttons({11, 12, 13, 14, 15, 16}) + QStringList{"Combo2", "SSTab1", "Text2", "Text4"}));
        QCOMPARE(form.frameGeometry().height(), 707); // 10600 twips
        QCOMPARE(form.enginePane(3)->height(), 443);  // 6650 twips
        QVERIFY(form.SSTab1->geometry().intersects(form.Frame1->geometry()));
        form.Option1->click();
        QCOMPARE(visibleControls(form), sorted(kFileMode + QStringList{"Text1"}));
        QCOMPARE(form.frameGeometry().height(), 660);
        QCOMPARE(w.labels() + form.Text1->text(), labels + "*.txt");
        form.Option2->click();
        QCOMPARE(visibleControls(form), sorted(kFileMode + QStringList{"Combo1"}));
        QVERIFY(form.Text3->isHidden() && form.Label4->isVisible() && form.Label5->isVisible());
        form.Option3->click(); // focus coming back from elsewhere is not an activation
        QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
        QApplication::sendEvent(&form, &deactivate), QApplication::sendEvent(&form, &activate);
        form.activateWindow(), QApplication::processEvents();
        QVERIFY(form.Option3->isChecked() && form.SSTab1->isVisible());
        form.Option1->click(), form.hide(), form.show(); // showing the window again is
        QVERIFY(inFileTypeMode(form));
        QCOMPARE(visibleControls(form), sorted(kFileMode + QStringList{"Combo1"}));
    }

    void everyControlIsAccessible() {
        Window w(QDir::tempPath());
        w->Option3->click();
        QCOMPARE(QAccessible::queryAccessibleInterface(w->Option3)->text(QAccessible::Name), "Search By Topic On Internet");
        QCOMPARE(QAccessible::queryAccessibleInterface(w->chameleonButton11)->text(QAccessible::Name), "Search All");
        static const QRegularExpression control("^(Option|Text|Combo|Drive|Label|Frame|List|WB|SSTab|PB|chameleonButton)\\d+$");
        int checked = 0;
        for (QWidget* c : w->findChildren<QWidget*>()) {
            if (!control.match(c->objectName()).hasMatch()) continue;
            ++checked;
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c);
            QVERIFY2(!(iface->text(QAccessible::Name) + iface->text(QAccessible::Description)).isEmpty(), qPrintable(c->objectName()));
            if (!c->toolTip().isEmpty()) QCOMPARE(iface->text(QAccessible::Description), c->toolTip());
        }
        QCOMPARE(checked, 47);
    }

    void deleteCopyFileInfoAndAbout() {
        TreeBuilder tree;
        for (const char* n : {"a.txt", "b.txt", "gone.txt"}) tree.file(n);
        Window w(tree.root());
        Form1& form = *w.form;
        w.search("*.*");
        click(form.chameleonButton9); // nothing selected: nothing happens
        QVERIFY(w.takeBoxes().isEmpty());
        w.select(tree.root() + "/b.txt");
        click(form.chameleonButton9); // Yes: the file and its entry go, the selection and labels empty
        QVERIFY(w.takeBoxes().size() == 2 && !QFile::exists(tree.root() + "/b.txt") && QFile::exists(tree.root() + "/a.txt"));
        QCOMPARE(w.labels() + QString::number(w.entries().size()), "|| list2");
        const QStringList left = w.entries(); // a file that vanished before Yes: reported, its entry kept
        w.select(tree.root() + "/gone.txt");
        QVERIFY(QFile::remove(tree.root() + "/gone.txt"));
        click(form.chameleonButton9);
        QVERIFY(w.takeBoxes().last().startsWith("File Delete Message|The selected file could not be deleted") && w.entries() == left);
        QCOMPARE(form.Label7->text(), QString::number(left.indexOf(tree.root() + "/gone.txt") + 1));

        form.Option1->click();
        form.List1->setListIndex(-1);
        click(form.chameleonButton10); // Copy with nothing selected
        QCOMPARE(w.takeBoxes(), QStringList{"ORVIK SEARCHER|   There is no file to copy. Please select file !   "});
        click(form.chameleonButton17); // File Info asks the desktop about the selected entry, or about none
        for (int i = 0; i < 2; ++i) { // Copy hides the window until Close brings it back; each dialog afresh
            w.select(tree.root() + "/a.txt");
            click(form.chameleonButton10);
            QPointer<Form3> dialog = openWindow<Form3>();
            QVERIFY(dialog && form.isHidden() && !dialog->isModal() && !QApplication::activeModalWidget());
            QCOMPARE(dialog->Text1->text() + dialog->Text2->text(), "Status: Ready");
            dialog->Text1->setText("/elsewhere"), click(dialog->chameleonButton3);
            QVERIFY(inFileTypeMode(form));
            QTRY_VERIFY(dialog.isNull());
            click(form.chameleonButton17);
        }
        QCOMPARE(w.fake.fileProperties->shown, (QStringList{QString(), tree.root() + "/a.txt", tree.root() + "/a.txt"}));
        for (int i = 0; i < 2; ++i) { // About hides the window until its close brings it back, afresh each time
            click(form.chameleonButton18);
            QPointer<Form2> about = openWindow<Form2>();
            QVERIFY(about && form.isHidden() && !about->isModal() && !QApplication::activeModalWidget());
            if (i == 0) aboutWindowAsSeenAndHeard(about);
            click(about->Command3);
            QVERIFY(inFileTypeMode(form));
            QTRY_VERIFY(about.isNull());
        }
        QVERIFY(w.takeBoxes().isEmpty());
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
