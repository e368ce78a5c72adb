// Hover with an X server's real pointer: the server moves it and sends the motion, the hover timer
// asks the server where it is, and a window over the button takes the hover from it.
#include "ButtonTestSupport.h"

#include <QSignalSpy>
#include <QtTest>

class TestButtonPointer : public QObject {
    Q_OBJECT
private slots:
    void hoverFollowsTheServersPointer() {
        ButtonHost host(3);
        chameleonButton* b = host.button;
        QVERIFY(QTest::qWaitForWindowExposed(host.container.get()));
        QSignalSpy over(b, &chameleonButton::MouseOver), out(b, &chameleonButton::MouseOut);
        const QPoint beside = host.container->mapToGlobal(QPoint(100, 60)), on = b->mapToGlobal(QPoint(30, 12));
        QCursor::setPos(beside);
        QTest::qWait(50);
        QVERIFY(!b->isHovered() && !b->hoverTimerActive());
        QCursor::setPos(on);
        QTRY_COMPARE_WITH_TIMEOUT(over.size(), 1, 2000);
        QVERIFY(b->hoverTimerActive());
        QCOMPARE(b->surface().pixel(10, 1), qRgb(0xFF, 0xF3, 0xCE)); // the orange rim's top line
        QTest::qWait(30);
        QCOMPARE(out.size(), 0);
        QCursor::setPos(beside);
        QTRY_COMPARE_WITH_TIMEOUT(out.size(), 1, 2000);
        QVERIFY(!b->hoverTimerActive());
        QCursor::setPos(on);
        QTRY_COMPARE_WITH_TIMEOUT(over.size(), 2, 2000);
        QWidget cover; // another window over the button: the pointer there is not over the button
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
