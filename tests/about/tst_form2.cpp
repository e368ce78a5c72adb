// The About window: its texts, what assistive technology reads, and that Escape does not
// close it (its Close button and the refused close box are tested under X).
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
        Form2 dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About  ORVIK SEARCHER  v 1.0"));
        const QRect screen = dialog.screen()->geometry();
        QCOMPARE(dialog.pos(), QPoint((screen.width() - dialog.frameGeometry().width()) / 2,
                                      (screen.height() - dialog.frameGeometry().height()) / 2));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));

        // The texts keep their irregular blanks.
        QVERIFY(dialog.Label2->text().contains(QStringLiteral("in seconds.You can")));
        QVERIFY(dialog.Label2->text().contains(QStringLiteral("extension and  it will")));
        QVERIFY(dialog.Label3->text().endsWith(QStringLiteral("engines. ")));
        QVERIFY(dialog.Label4->text().endsWith(QStringLiteral("SEARCHER.  ")));
        QCOMPARE(dialog.Label5->text(), QStringLiteral("Dated  :  December  2 ,  2005"));
        QCOMPARE(dialog.Label6->text(), QStringLiteral("  About The Author"));
        for (QLabel* l : dialog.findChildren<QLabel*>()) {
            // Every label fits its text inside the window: nothing is cut off at the bottom.
            QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(l->objectName()));
            QVERIFY(dialog.rect().contains(l->geometry()));
        }
        QCOMPARE(dialog.Command3->Caption(), QStringLiteral("Close"));
    }

    void everyControlIsAccessible() {
        Form2 dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
        QCOMPARE(window->role(), QAccessible::Dialog);
        QCOMPARE(window->text(QAccessible::Name), dialog.windowTitle());
        QCOMPARE(window->childCount(), 9);
        for (QLabel* l : dialog.findChildren<QLabel*>()) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(l);
            QCOMPARE(iface->role(), QAccessible::StaticText);
            QCOMPARE(iface->text(QAccessible::Name), l->text());
        }
        QAccessibleInterface* close = QAccessible::queryAccessibleInterface(dialog.Command3);
        QCOMPARE(close->role(), QAccessible::Button);
        QCOMPARE(close->text(QAccessible::Name), QStringLiteral("Close"));
        QVERIFY(!close->text(QAccessible::Description).isEmpty());
    }

    void escapeDoesNotCloseIt() {
        QWidget mainWindow;
        auto* dialog = new Form2(&mainWindow);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QVERIFY(!dialog->isModal());
        QVERIFY(mainWindow.isHidden());
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
        delete dialog;
    }
};

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
