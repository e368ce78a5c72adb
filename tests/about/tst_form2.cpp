// The About window: its look, what assistive technology reads, and how it closes.
#include "about/Form2.h"
#include "widgets/button/chameleonButton.h"

#include <QAccessible>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>

namespace {

int px(int twips) {
    return (twips + 7) / 15;
}

} // namespace

class TestForm2 : public QObject {
    Q_OBJECT
private slots:
    void opensCentredWithItsTextsAndButton();
    void everyControlIsAccessible();
    void onlyCloseClosesItAndBringsTheMainWindowBack();
};

void TestForm2::opensCentredWithItsTextsAndButton() {
    Form2 dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About  ORVIK SEARCHER  v 1.0"));
    QCOMPARE(dialog.size(), QSize(px(8940), px(8115)));
    const QRect screen = dialog.screen()->geometry();
    QCOMPARE(dialog.pos(), QPoint((screen.width() - dialog.frameGeometry().width()) / 2,
                                  (screen.height() - dialog.frameGeometry().height()) / 2));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));

    // The texts keep their irregular blanks.
    QVERIFY(dialog.Label2->text().contains(QStringLiteral("in seconds.You can")));
    QVERIFY(dialog.Label2->text().contains(QStringLiteral("extension and  it will")));
    QVERIFY(dialog.Label3->text().endsWith(QStringLiteral("engines. ")));
    QVERIFY(dialog.Label4->text().endsWith(QStringLiteral("SEARCHER.  ")));
    QVERIFY(dialog.Label4->text().contains(QStringLiteral("forever.You")));
    QCOMPARE(dialog.Label5->text(), QStringLiteral("Dated  :  December  2 ,  2005"));
    QCOMPARE(dialog.Label6->text(), QStringLiteral("  About The Author"));
    for (QLabel* l : dialog.findChildren<QLabel*>()) {
        QCOMPARE(l->font().family(), QStringLiteral("Arial"));
        QVERIFY2(!l->text().trimmed().isEmpty(), qPrintable(l->objectName()));
        // Every label fits its text: nothing is cut off at the bottom.
        QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(l->objectName()));
        QVERIFY(dialog.rect().contains(l->geometry()));
    }
    QCOMPARE(dialog.findChildren<QLabel*>().size(), 8);

    QCOMPARE(dialog.Command3->geometry(), QRect(px(3840), px(7440), px(1215), px(345)));
    QCOMPARE(dialog.Command3->Caption(), QStringLiteral("Close"));
    QCOMPARE(dialog.Command3->ButtonType(), int(chameleonButton::GradientRounded));
    QCOMPARE(dialog.Command3->BackColor(), 0xC0C0C0u);
    QCOMPARE(dialog.Command3->BackOver(), 0xC0C0C0u);
    QCOMPARE(dialog.Command3->ForeColor(), 0xFF0000u);
    QVERIFY(dialog.Command3->font().bold());
}

void TestForm2::everyControlIsAccessible() {
    Form2 dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
    QVERIFY(window);
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
    QVERIFY(close->actionInterface());
}

void TestForm2::onlyCloseClosesItAndBringsTheMainWindowBack() {
    QWidget mainWindow;
    QPointer<Form2> dialog = new Form2(&mainWindow);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QVERIFY(!dialog->isModal());
    QVERIFY(mainWindow.isHidden());

    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(dialog->isVisible());

    QTest::mouseClick(dialog->Command3, Qt::LeftButton, {}, dialog->Command3->rect().center());
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QVERIFY(mainWindow.isVisible());
    QTRY_VERIFY(dialog.isNull()); // discarded: the next About opens a new one
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
