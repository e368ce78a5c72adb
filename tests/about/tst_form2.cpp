// The About window: its texts exactly, what assistive technology reads, and that Escape does not close
// it (its Close button and the refused close box are tested under X).
#include "about/Form2.h"
#include "widgets/button/chameleonButton.h"

#include <QAccessible>
#include <QLabel>
#include <QScreen>
#include <QTest>

class TestForm2 : public QObject {
    Q_OBJECT
private slots:
    void opensCentredWithItsTexts() {
        QWidget mainWindow;
        auto* dialog = new Form2(&mainWindow);
        QCOMPARE(dialog->windowTitle(), "About  ORVIK SEARCHER  v 1.0");
        const QRect screen = dialog->screen()->geometry();
        QCOMPARE(dialog->pos(), QPoint((screen.width() - dialog->frameGeometry().width()) / 2,
                                       (screen.height() - dialog->frameGeometry().height()) / 2));
        QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));
        const QString texts[] = {
            "This software can search any type of file within your hard disk or cd rom or floppy disc . Also , type the "
            "name of file along with it's file extension and  it will search and find the desired file in seconds.You "
            "can also search for all systems files like  dll , exe , ocx , dat , ini and so on. It shows hidden files "
            "which are hidden by using folder options of windows.",
            "It has its own web browser for viewing web sites. You can search any word with six search engines at a time "
            "or search only one search engine. These are GOOGLE , YAHOO , MSN , ALTAVISTA , LYCOS , ASK JEEVES search engines. ",
            "You can save the displayed files list as f4u filelist. You can copy any file to your selected path or can "
            "delete the selected file from the system forever.You can view the file properties of selected file. After "
            "installation , open the software and then restart the computer. This will associate the f4u file type with "
            "ORVIK SEARCHER.  ",
            "Dated  :  December  2 ,  2005", "  About The Author"};
        QLabel* const labels[] = {dialog->Label2, dialog->Label3, dialog->Label4, dialog->Label5, dialog->Label6};
        for (int i = 0; i < 5; ++i) QCOMPARE(labels[i]->text(), texts[i]);
        QVERIFY(dialog->Label1->text().contains("ORVIK SEARCHER"));
        QCOMPARE(dialog->Command3->Caption(), "Close");

        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QVERIFY(!dialog->isModal() && mainWindow.isHidden());
        for (QLabel* l : dialog->findChildren<QLabel*>()) {
            // Every label fits its text inside the window, and is heard as what it says.
            QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(l->objectName()));
            QVERIFY(dialog->rect().contains(l->geometry()));
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(l);
            QCOMPARE(iface->role(), QAccessible::StaticText);
            QCOMPARE(iface->text(QAccessible::Name), l->text());
        }
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(dialog);
        QCOMPARE(window->role(), QAccessible::Dialog);
        QCOMPARE(window->text(QAccessible::Name), dialog->windowTitle());
        QCOMPARE(window->childCount(), 9);
        QAccessibleInterface* close = QAccessible::queryAccessibleInterface(dialog->Command3);
        QCOMPARE(close->role(), QAccessible::Button);
        QCOMPARE(close->text(QAccessible::Name) + '|' + close->text(QAccessible::Description), "Close|Close The About Dialog Box");
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
        delete dialog;
    }
};

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
