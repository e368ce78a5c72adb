// The button as the windows use it: the clicks that mouse and keys make, the arrow keys, the hover look
// and its timer, what assistive technology sees, and the windows' style drawn up and down with its
// rounded shape. Colours are 0x00BBGGRR, worked out by hand from the drawing rules.
#include "widgets/button/ButtonColor.h"
#include "widgets/button/StandardButton.h"
#include "widgets/button/chameleonButton.h"

#include <QtTest>
#include <QtWidgets>
#include <memory>

struct Px { // one expected pixel, its colour as 0x00BBGGRR
    int x, y;
    quint32 c;
};

namespace {
// Three buttons of the windows' stored settings side by side (67 x 25 at y 20) and a line edit; their
// clicks are logged.
struct Window {
    Window() {
        top.resize(320, 120);
        edit->setGeometry(10, 70, 100, 22);
        for (int i = 0; i < 3; ++i) {
            auto* b = new chameleonButton(&top);
            b->ReadProperties(standardButtonProperties(QStringLiteral("Button %1").arg(i + 1)));
            b->setGeometry(10 + 80 * i, 20, 67, 25);
            QObject::connect(b, &chameleonButton::Click, b, [=, this] { clicks << i + 1; });
            buttons << b;
        }
        top.show(), top.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&top));
    }
    QWindow* handle() { return top.windowHandle(); }
    QPoint on(int i, QPoint local = QPoint(10, 5)) const { return buttons.at(i)->mapTo(&top, local); }
    void moveTo(QPoint p) { QCursor::setPos(top.mapToGlobal(p)), QTest::mouseMove(handle(), p); }
    void press(QPoint p) { QTest::mousePress(handle(), Qt::LeftButton, {}, p); }
    void release(QPoint p) { QTest::mouseRelease(handle(), Qt::LeftButton, {}, p); }
    QList<int> take() { return std::exchange(clicks, {}); }
    QWidget top;
    QLineEdit* edit = new QLineEdit(&top);
    QList<chameleonButton*> buttons;
    QList<int> clicks;
};
constexpr quint32 kWhite = 0xFFFFFF, kBlue = 0xFF0000, kOutline = 0x733C00, kCorner = 0x7B4D10;
constexpr int W = 67, H = 25;
} // namespace

class TestButton : public QObject {
    Q_OBJECT
private slots:
    void init() { QCursor::setPos(QPoint(0, 0)); }

    void mouseClicksDraggingAndTheDoubleClick() {
        Window w;
        const QPoint outside(300, 100);
        w.moveTo(w.on(0)), w.press(w.on(0)), w.moveTo(w.on(0, QPoint(13, 6))), w.release(w.on(0, {13, 6}));
        QTest::mouseClick(w.handle(), Qt::RightButton, {}, w.on(0)); // the right button clicks nothing
        w.buttons[0]->setEnabled(false), QTest::mouseClick(w.handle(), Qt::LeftButton, {}, w.on(0));
        QCOMPARE(w.take(), QList<int>{1});
        // Dragged out and back in before the release: a click; released outside: none.
        w.moveTo(w.on(1)), w.press(w.on(1)), w.moveTo(outside), w.moveTo(w.on(1, {30, 10}));
        w.release(w.on(1, {30, 10}));
        w.moveTo(w.on(1)), w.press(w.on(1)), w.moveTo(outside), w.release(outside);
        QCOMPARE(w.take(), QList<int>{2});
        QCOMPARE(w.buttons[1]->lastState(), 0); // drawn up again
        w.moveTo(w.on(2)), QTest::mouseDClick(w.handle(), Qt::LeftButton, {}, w.on(2));
        QCOMPARE(w.take(), QList<int>{3}); // a double click is one click
    }

    void keysSpaceEnterAndArrows() {
        Window w;
        chameleonButton* b = w.buttons[0];
        b->setFocus(), QTest::keyPress(b, Qt::Key_Space);
        QCOMPARE(b->lastState(), 2); // down while the key is
        QTest::keyRelease(b, Qt::Key_Space);
        QTest::keyPress(b, Qt::Key_A), QTest::keyRelease(b, Qt::Key_Space); // last key down not space
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(b, &enter);
        QVERIFY(!enter.isAccepted() && b->lastState() == 0); // Enter is passed on to the window
        QCOMPARE(w.take(), QList<int>{1});
        // The arrows move the focus as Tab does; past the last button, the line edit.
        for (const auto& [key, focused] : {std::pair{Qt::Key_Right, 1},
                                           {Qt::Key_Left, 0},
                                           {Qt::Key_Down, 1},
                                           {Qt::Key_Down, 2},
                                           {Qt::Key_Up, 1},
                                           {Qt::Key_Right, 2}}) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(QApplication::focusWidget(), w.buttons[focused]);
        }
        QTest::keyClick(w.buttons[2], Qt::Key_Down);
        QVERIFY(QApplication::focusWidget() == w.edit && w.take().isEmpty());
    }

    void theHoverLookEndsWhenThePointerLeaves() {
        Window w;
        chameleonButton* b = w.buttons[0];
        const QImage plain = b->surface();
        w.moveTo(w.on(0));
        QVERIFY(b->surface() != plain && b->hoverTimerActive());
        QCursor::setPos(w.top.mapToGlobal(QPoint(300, 100))); // no event reaches the button
        QTRY_COMPARE_WITH_TIMEOUT(b->surface(), plain, 1000);
        QVERIFY(!b->hoverTimerActive());
        w.moveTo(w.on(0)), w.moveTo(w.on(1)); // straight to the next button: the first one's timer ends it
        QTRY_VERIFY_WITH_TIMEOUT(!b->isHovered() && w.buttons[1]->isHovered(), 1000);
    }

    void accessibleAsAPushButton() {
        QWidget top;
        auto* b = new chameleonButton(&top);
        b->ReadProperties(standardButtonProperties("&Open"));
        b->setToolTip("Opens a file list");
        top.show();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(b);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name) + '|' + iface->text(QAccessible::Description),
                 "Open|Opens a file list");
        QAccessibleActionInterface* actions = iface->actionInterface();
        QCOMPARE(actions->actionNames(), QStringList({QAccessibleActionInterface::pressAction()}));
        QSignalSpy clicks(b, &chameleonButton::Click);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 0); // the action answers first; the click runs right after
        QTRY_COMPARE(clicks.size(), 1);
        actions->doAction(QAccessibleActionInterface::pressAction()), b->setEnabled(false), QTest::qWait(10);
        QCOMPARE(clicks.size(), 1); // disabled before its turn came: no click
    }

    void looks_data() {
        QTest::addColumn<int>("state"); // 0 up, 3 down
        QTest::addColumn<QList<Px>>("pixels");
        // Row i of the face is shifted by -i: red and green 255 - i, blue 255 - (255 i) \ 192.
        QTest::newRow("up") << 0 << QList<Px>{{3, 3, 0xFCFCFC},      {3, 20, 0xE5EBEB},
                                              {W / 2, 0, kOutline},  {W - 1, 5, kOutline},
                                              {1, 1, kCorner},       {W - 2, H - 2, kCorner},
                                              {10, H - 2, 0xC0CFCF}, {W - 2, 10, 0xD0DBDB},
                                              {10, 1, kWhite}};
        QTest::newRow("down, darkest at the top")
            << 3 << QList<Px>{{3, 3, 0xBDC9C9}, {3, 20, 0xD0DADA}, {1, 10, 0xB2BFBF}, {W - 3, 10, kWhite}};
    }

    void looks() {
        QFETCH(int, state);
        QFETCH(QList<Px>, pixels);
        QWidget top;
        top.resize(W + 40, H + 40);
        auto* b = new chameleonButton(&top);
        b->ReadProperties(standardButtonProperties("Search"));
        b->setGeometry(20, 20, W, H);
        top.show();
        if (state == 3) {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), b->mapToGlobal(QPointF(10, 10)),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(b, &press);
        }
        const auto px = [b](int x, int y) { return buttoncolor::fromQRgb(b->surface().pixel(x, y)); };
        QStringList wrong;
        for (const Px& e : pixels)
            if (px(e.x, e.y) != e.c)
                wrong << QStringLiteral("%1,%2=%3").arg(e.x).arg(e.y).arg(px(e.x, e.y), 0, 16);
        QCOMPARE(wrong.join(' '), QString());
        // The rounded shape: the corners' pixels are cut, from the window and from the image it shows.
        const QRegion shape = b->mask();
        for (QPoint p :
             {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(W - 1, H - 1), QPoint(W - 2, H - 1)})
            QVERIFY(!shape.contains(p) && qAlpha(b->shapedImage().pixel(p)) == 0);
        QVERIFY(shape.contains(QPoint(2, 0)) && shape.contains(QPoint(1, 1)) &&
                qAlpha(b->shapedImage().pixel(2, 0)) == 255);
        const QRect text = state == 3 ? b->textRectDown() : b->textRect();
        bool shown = false;
        for (int y = text.top(); y <= text.bottom(); ++y)
            for (int x = text.left(); x <= text.right(); ++x)
                shown = shown || px(x, y) == kBlue; // the caption's colour
        QVERIFY(shown);
    }
};

QTEST_MAIN(TestButton)
#include "tst_button.moc"
