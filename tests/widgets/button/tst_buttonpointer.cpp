// Hover with the real pointer of an X server: the pointer is moved by the server, the
// button learns of it from the server's motion events, and the hover timer asks the server
// where the pointer is. A window over the button takes the hover from it.
#include "ButtonTestSupport.h"

#include <QSignalSpy>
#include <QtTest>

class TestButtonPointer : public QObject {
    Q_OBJECT

private slots:
    void hoverFollowsTheServersPointer() {
        QWidget top;
        top.setGeometry(100, 100, 200, 100);
        auto* b = new chameleonButton(&top);
        b->ReadProperties(standardButtonProperties(QStringLiteral("Search")));
        b->setGeometry(20, 20, 67, 25);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        QSignalSpy over(b, &chameleonButton::MouseOver);
        QSignalSpy out(b, &chameleonButton::MouseOut);

        QCursor::setPos(top.mapToGlobal(QPoint(150, 80))); // beside the button
        QTest::qWait(50);
        QVERIFY(!b->isHovered() && !b->hoverTimerActive());

        QCursor::setPos(b->mapToGlobal(QPoint(30, 12)));
        QTRY_COMPARE_WITH_TIMEOUT(over.size(), 1, 2000);
        QVERIFY(b->hoverTimerActive());
        QCOMPARE(b->surface().pixel(10, 1), qRgb(0xFF, 0xF3, 0xCE)); // the orange rim's top line
        QTest::qWait(30);
        QCOMPARE(out.size(), 0);

        QCursor::setPos(top.mapToGlobal(QPoint(150, 80)));
        QTRY_COMPARE_WITH_TIMEOUT(out.size(), 1, 2000);
        QVERIFY(!b->hoverTimerActive());
        QCOMPARE(over.size(), 1);

        // Another window over the button: the pointer there is not over the button.
        QCursor::setPos(b->mapToGlobal(QPoint(30, 12)));
        QTRY_COMPARE_WITH_TIMEOUT(over.size(), 2, 2000);
        QWidget cover;
        cover.setWindowFlag(Qt::X11BypassWindowManagerHint);
        cover.setGeometry(QRect(b->mapToGlobal(QPoint(0, 0)), QSize(80, 40)));
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
        QTRY_COMPARE_WITH_TIMEOUT(out.size(), 2, 2000);
        QVERIFY(!b->isHovered());
    }
};

QTEST_MAIN(TestButtonPointer)
#include "tst_buttonpointer.moc"
