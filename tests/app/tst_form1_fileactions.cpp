// The main window's Delete, Copy, File Info and About buttons, driven through the
// real window with scripted message boxes, file dialogs and desktop.
#include "about/Form2.h"
#include "app/Form1.h"
#include "copydialog/Form3.h"
#include "search/ResultListView.h"
#include "support/FakeServices.h"
#include "support/TreeBuilder.h"
#include "widgets/button/chameleonButton.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTest>

using testsupport::FakeServices;

namespace {

void click(chameleonButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

template <typename W> W* openWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
    return nullptr;
}

// The window is back in file-type mode, as every activation leaves it.
void verifyFileTypeMode(Form1& form) {
    QVERIFY(form.isVisible());
    QVERIFY(form.Option2->isChecked());
    QVERIFY(form.Combo1->isVisible());
    QVERIFY(form.Text1->isHidden());
}

// A shown window whose list holds the files of tree, found by a *.* search, in name order.
struct ListedWindow {
    testsupport::TreeBuilder tree;
    FakeServices fake;
    std::unique_ptr<Form1> form;
    QStringList entries;
    explicit ListedWindow(const QList<QByteArray>& names) : fake(QString()) {
        for (const QByteArray& n : names)
            tree.file(n);
        fake.volumes->list.append({tree.root(), QStringLiteral("test")});
        form = std::make_unique<Form1>(fake.services());
        form->show();
        form->Combo1->setEditText(QStringLiteral("*.*"));
        form->StartSearch();
        for (int i = 0; i < form->List1->ListCount(); ++i)
            entries << form->List1->List(i);
    }
    int rowOf(const QString& name) const {
        for (int i = 0; i < entries.size(); ++i)
            if (entries[i].endsWith(QLatin1Char('/') + name)) return i;
        return -1;
    }
};

} // namespace

class TestForm1FileActions : public QObject {
    Q_OBJECT
private slots:
    void deleteRemovesFileAndEntryOnlyAfterYes();
    void deleteRefusesABlockedTypeAndKeepsAFailedEntry();
    void copyNeedsASelectedFile();
    void copyOpensTheDialogOnTheSelectedFile();
    void fileInfoAsksAboutTheSelectedEntry();
    void aboutHidesTheWindowUntilItsCloseBringsItBack();
};

void TestForm1FileActions::deleteRemovesFileAndEntryOnlyAfterYes() {
    ListedWindow w({"a.txt", "b.txt", "c.txt"});
    Form1& form = *w.form;
    QCOMPARE(w.entries.size(), 3);

    // No entry selected: nothing happens.
    click(form.chameleonButton9);
    QVERIFY(w.fake.messageBoxes->shown.isEmpty());

    const int row = w.rowOf(QStringLiteral("b.txt"));
    form.List1->setListIndex(row);
    QCOMPARE(form.Label7->text(), QString::number(row + 1));
    w.fake.messageBoxes->answers = {platform::MessageBoxRequest::Answer::No};
    click(form.chameleonButton9);
    QCOMPARE(w.fake.messageBoxes->shown.size(), 1);
    QVERIFY(QFile::exists(w.entries[row]));
    QCOMPARE(form.List1->ListCount(), 3);
    QCOMPARE(form.List1->ListIndex(), row);

    click(form.chameleonButton9); // Yes
    QCOMPARE(w.fake.messageBoxes->shown.size(), 3);
    QCOMPARE(w.fake.messageBoxes->shown[2].text,
             QStringLiteral("Your selected file has been deleted forever!"));
    QVERIFY(!QFile::exists(w.entries[row]));
    QCOMPARE(form.List1->ListCount(), 2);
    QVERIFY(!form.List1->List(0).endsWith(QStringLiteral("/b.txt")));
    QVERIFY(!form.List1->List(1).endsWith(QStringLiteral("/b.txt")));
    QCOMPARE(form.List1->ListIndex(), -1);
    QVERIFY(form.Label1->text().isEmpty() && form.Label3->text().isEmpty() && form.Label7->text().isEmpty());
    for (const QString& e : w.entries)
        if (!e.endsWith(QStringLiteral("/b.txt"))) QVERIFY(QFile::exists(e));
}

void TestForm1FileActions::deleteRefusesABlockedTypeAndKeepsAFailedEntry() {
    ListedWindow w({"a.dll", "gone.txt"});
    Form1& form = *w.form;
    form.List1->setListIndex(w.rowOf(QStringLiteral("a.dll")));
    click(form.chameleonButton9);
    QCOMPARE(w.fake.messageBoxes->shown.size(), 1);
    QCOMPARE(w.fake.messageBoxes->shown[0].text,
             QStringLiteral("  Due to security reasons , DLL file cannot be deleted !"));
    QCOMPARE(form.List1->ListCount(), 2);

    // The file vanished before the user said Yes: they are told, and the entry stays.
    const int row = w.rowOf(QStringLiteral("gone.txt"));
    form.List1->setListIndex(row);
    QVERIFY(QFile::remove(w.entries[row]));
    click(form.chameleonButton9);
    QCOMPARE(w.fake.messageBoxes->shown.size(), 3);
    QVERIFY(w.fake.messageBoxes->shown[2].text.startsWith(
        QStringLiteral("The selected file could not be deleted")));
    QCOMPARE(form.List1->ListCount(), 2);
    QCOMPARE(form.List1->ListIndex(), row);
    QCOMPARE(form.Label7->text(), QString::number(row + 1));
}

void TestForm1FileActions::copyNeedsASelectedFile() {
    ListedWindow w({"a.txt"});
    click(w.form->chameleonButton10);
    QCOMPARE(w.fake.messageBoxes->shown.size(), 1);
    QCOMPARE(w.fake.messageBoxes->shown[0].text,
             QStringLiteral("   There is no file to copy. Please select file !   "));
    QCOMPARE(w.fake.messageBoxes->shown[0].title, QStringLiteral("ORVIK SEARCHER"));
    QCOMPARE(w.fake.messageBoxes->shown[0].icon, platform::MessageBoxRequest::Icon::None);
    QVERIFY(w.form->isVisible());
    QVERIFY(!openWindow<Form3>());
}

void TestForm1FileActions::copyOpensTheDialogOnTheSelectedFile() {
    ListedWindow w({"a.txt", "b.wma"});
    Form1& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Option1->click(); // file-name mode
    const int row = w.rowOf(QStringLiteral("b.wma"));
    form.List1->setListIndex(row);

    click(form.chameleonButton10);
    QPointer<Form3> dialog = openWindow<Form3>();
    QVERIFY(dialog);
    QVERIFY(form.isHidden());
    QVERIFY(!dialog->isModal() && !QApplication::activeModalWidget());

    // The dialog works on the selected entry: its filter, then the copy.
    const QString target = w.tree.root() + QStringLiteral("/copy.wma");
    w.fake.fileDialogs->saveAnswers = {target};
    click(dialog->chameleonButton2);
    QCOMPARE(w.fake.fileDialogs->filters.last(), QStringLiteral("AUDIO File  ( .WMA )|*.WMA"));
    click(dialog->chameleonButton1);
    QVERIFY(QFile::exists(target));
    QCOMPARE(dialog->Text2->text(), QStringLiteral("Status: File Copied to ") + target);

    click(dialog->chameleonButton3);
    verifyFileTypeMode(form);
    QTRY_VERIFY(dialog.isNull());

    // A new dialog starts afresh.
    click(form.chameleonButton10);
    QVERIFY(openWindow<Form3>());
    QVERIFY(openWindow<Form3>()->Text1->text().isEmpty());
    QCOMPARE(openWindow<Form3>()->Text2->text(), QStringLiteral("Status: Ready"));
    click(openWindow<Form3>()->chameleonButton3);
}

void TestForm1FileActions::fileInfoAsksAboutTheSelectedEntry() {
    ListedWindow w({"a.txt", "b.txt"});
    click(w.form->chameleonButton17); // nothing selected: the desktop is asked about no path
    w.form->List1->setListIndex(1);
    click(w.form->chameleonButton17);
    QCOMPARE(w.fake.fileProperties->shown, (QStringList{QString(), w.entries[1]}));
    QVERIFY(w.fake.messageBoxes->shown.isEmpty());
}

void TestForm1FileActions::aboutHidesTheWindowUntilItsCloseBringsItBack() {
    FakeServices fake(QDir::tempPath());
    Form1 form(fake.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Option1->click(); // file-name mode

    click(form.chameleonButton18);
    QPointer<Form2> about = openWindow<Form2>();
    QVERIFY(about);
    QVERIFY(form.isHidden());
    QVERIFY(!about->isModal());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(fake.messageBoxes->shown.isEmpty());

    click(about->Command3);
    verifyFileTypeMode(form);
    QTRY_VERIFY(about.isNull());

    // Each click opens a fresh window.
    click(form.chameleonButton18);
    QVERIFY(openWindow<Form2>());
    click(openWindow<Form2>()->Command3);
    QVERIFY(form.isVisible());
}

QTEST_MAIN(TestForm1FileActions)
#include "tst_form1_fileactions.moc"
