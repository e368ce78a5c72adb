// The button's input as the platform delivers it to its window: the order of the mouse and key
// events, dragging, the double click, the hover timer, the arrow keys, the access key, show and
// hide, and the container's colour changes.
#include "ButtonTestSupport.h"

#include <QLineEdit>
#include <QtTest>

namespace {
// Three buttons side by side (67 x 25 at y 20) and a line edit; every event of the buttons is logged.
struct Window {
    Window() {
        top.resize(320, 120);
        edit->setGeometry(10, 70, 100, 22);
        for (int i = 0; i < 3; ++i) {
            auto* b = new chameleonButton(&top);
            b->ReadProperties(standardButtonProperties(QStringLiteral("Button %1").arg(i + 1)));
            b->setGeometry(10 + 80 * i, 20, 67, 25);
            const QString n = QStringLiteral("b%1 ").arg(i + 1);
            for (auto [signal, what] : {std::pair{&chameleonButton::Click, "Click"}, {&chameleonButton::MouseOver, "MouseOver"},
                                        {&chameleonButton::MouseOut, "MouseOut"}})
                QObject::connect(b, signal, b, [=, this] { log << n + what; });
            for (auto [signal, what] : {std::pair{&chameleonButton::MouseDown, "MouseDown"}, {&chameleonButton::MouseUp, "MouseUp"}})
                QObject::connect(b, signal, b, [=, this](short& button, short& shift, float& x, float& y) {
                    log << n + QStringLiteral("%1 %2 %3,%4 %5").arg(what).arg(button).arg(x).arg(y).arg(shift);
                });
            for (auto [signal, what] : {std::pair{&chameleonButton::KeyDown, "KeyDown"}, {&chameleonButton::KeyUp, "KeyUp"}})
                QObject::connect(b, signal, b, [=, this](short& code, short& shift) {
                    log << n + QStringLiteral("%1 %2 %3").arg(what).arg(code).arg(shift);
                });
            QObject::connect(b, &chameleonButton::KeyPress, b, [=, this](short& ascii) { log << n + "KeyPress " + QString::number(ascii); });
            buttons << b;
        }
        top.show();
        top.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&top));
    }
    QWindow* handle() { return top.windowHandle(); }
    QPoint on(int i, QPoint local = QPoint(10, 5)) const { return buttons.at(i)->mapTo(&top, local); }
    static QPoint outside() { return QPoint(300, 100); }
    void moveTo(QPoint p) { QCursor::setPos(top.mapToGlobal(p)), QTest::mouseMove(handle(), p); }
    void press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(handle(), b, {}, p); }
    void release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(handle(), b, {}, p); }
    void click(QPoint p, Qt::MouseButton b = Qt::LeftButton) { press(p, b), release(p, b); }
    QStringList take() { return std::exchange(log, {}); }
    QStringList clicks() { return take().filter("Click"); }
    QWidget top;
    QLineEdit* edit = new QLineEdit(&top);
    QList<chameleonButton*> buttons;
    QStringList log;
};
} // namespace

class TestButtonInput : public QObject {
    Q_OBJECT
private slots:
    void init() { QCursor::setPos(QPoint(0, 0)); }

    void mouseButtonsHandlersDragAndTheDoubleClick() {
        Window w;
        chameleonButton* b = w.buttons[0];
        w.moveTo(w.on(0));
        w.moveTo(w.on(0, QPoint(12, 6))); // further moves inside raise no second MouseOver
        QCOMPARE(w.take(), QStringList({"b1 MouseOver"}));
        QVERIFY(b->isHovered() && b->hoverTimerActive());
        w.press(w.on(0, QPoint(12, 6)));
        QCOMPARE(b->lastState() * 10 + b->lastButton(), 21);
        w.moveTo(w.on(0, QPoint(13, 6)));
        w.release(w.on(0, QPoint(13, 6)));
        QCOMPARE(b->lastState(), 0);
        // Positions in twips (15 per pixel) from the button's corner; shift 0.
        QCOMPARE(w.take(), QStringList({"b1 MouseDown 1 180,90 0", "b1 MouseUp 1 195,90 0", "b1 Click"}));
        b->setFocus(); // focused and hovered already: the right button changes nothing on screen
        w.moveTo(w.on(0));
        w.take();
        const quint64 before = b->drawCount();
        w.click(w.on(0), Qt::RightButton);
        QCOMPARE(b->lastButton(), 2);
        QCOMPARE(b->drawCount(), before);
        QCOMPARE(w.take(), QStringList({"b1 MouseDown 2 150,75 0", "b1 MouseUp 2 150,75 0"}));
        auto toRight = QObject::connect(b, &chameleonButton::MouseDown, b, [](short& button, short&, float&, float&) { button = 2; });
        w.press(w.on(0)); // a handler made the press a right one: not drawn down, no Click
        QCOMPARE(b->lastState() * 10 + b->lastButton(), 2);
        w.release(w.on(0));
        QVERIFY(w.clicks().isEmpty());
        QObject::disconnect(toRight);
        b->setCheckBoxBehaviour(true); // the value is inverted before Click is raised
        bool valueInClick = false;
        QObject::connect(b, &chameleonButton::Click, b, [&] { valueInClick = b->Value(); });
        w.click(w.on(0));
        QVERIFY(valueInClick);
        QCOMPARE(b->lastState(), 2); // and drawn down while set
        b->setEnabled(false);
        w.click(w.on(0));
        QVERIFY(b->Value());
        QCOMPARE(w.clicks(), QStringList({"b1 Click"}));

        b = w.buttons[1]; // dragged out: drawn up; back in: down again
        w.moveTo(w.on(1));
        w.press(w.on(1));
        w.moveTo(Window::outside());
        QCOMPARE(b->lastState(), 0);
        w.moveTo(w.on(1, QPoint(30, 10)));
        QCOMPARE(b->lastState(), 2);
        w.release(w.on(1, QPoint(30, 10)));
        QCOMPARE(w.clicks(), QStringList({"b2 Click"}));
        w.moveTo(w.on(1));
        w.press(w.on(1));
        w.moveTo(Window::outside());
        w.release(Window::outside()); // released outside: up, and no Click, but the release reaches it
        QCOMPARE(b->lastState(), 0);
        const QStringList events = w.take();
        QVERIFY(events.filter("Click").isEmpty() && events.contains("b2 MouseUp 1 3150,1200 0"));

        b = w.buttons[2]; // the second press of a double click is a left press at (0, 0)
        w.moveTo(w.on(2));
        w.take();
        QTest::mouseDClick(w.handle(), Qt::LeftButton, {}, w.on(2));
        QCOMPARE(w.take(), QStringList({"b3 MouseDown 1 150,75 0", "b3 MouseUp 1 150,75 0", "b3 Click", "b3 MouseDown 1 0,0 0",
                                        "b3 MouseUp 1 150,75 0"}));
        QCOMPARE(b->lastState(), 0);
    }

    void keysSpaceEnterArrowsAndTheAccessKey() {
        Window w;
        chameleonButton* b = w.buttons[0];
        b->setFocus();
        QTest::keyPress(b, Qt::Key_Space);
        QCOMPARE(b->lastState() * 100 + b->lastKey(), 232);
        QTest::keyRelease(b, Qt::Key_Space);
        QCOMPARE(b->lastState(), 0);
        QStringList events = w.take();
        QCOMPARE(events.mid(0, 2) + events.mid(events.size() - 1), QStringList({"b1 KeyDown 32 0", "b1 KeyPress 32", "b1 Click"}));
        QCOMPARE(events.filter("Click").size(), 1);
        QTest::keyPress(b, Qt::Key_A, Qt::ShiftModifier); // the last key down was not space: no Click
        QTest::keyRelease(b, Qt::Key_Space);
        events = w.take();
        QVERIFY(events.filter("Click").isEmpty() && events.contains("b1 KeyDown 65 1") && events.contains("b1 KeyUp 32 0"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(b, &enter);
        QVERIFY(!enter.isAccepted()); // Enter is passed on to the window
        QCOMPARE(b->lastState(), 0);
        QCOMPARE(w.take(), QStringList({"b1 KeyDown 13 0", "b1 KeyPress 13"}));

        // A handler may turn a key into another one: N into the right arrow, space swallowed.
        auto toArrow = QObject::connect(b, &chameleonButton::KeyDown, b, [](short& code, short&) { code = code == 'N' ? 39 : code; });
        QTest::keyClick(b, Qt::Key_N);
        QVERIFY(w.buttons[1]->hasFocus());
        QObject::disconnect(toArrow);
        QVERIFY(w.clicks().isEmpty());

        const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Right, 2}, {Qt::Key_Left, 1}, {Qt::Key_Up, 0}, {Qt::Key_Down, 1},
                                                 {Qt::Key_Down, 2}}; // the arrows move the focus like Tab
        for (const auto& [key, focused] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(QApplication::focusWidget(), w.buttons[focused]);
        }
        QTest::keyClick(w.buttons[2], Qt::Key_Down); // past the last button: the line edit
        QCOMPARE(QApplication::focusWidget(), w.edit);
        QVERIFY(w.clicks().isEmpty());

        b = w.buttons[1]; // Alt with the underlined letter clicks, from anywhere in the window
        b->setCaption("&Open");
        QTest::keyClick(&w.top, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(w.take(), QStringList({"b2 Click"}));
        QCOMPARE(b->lastButton(), 1);
        QTest::keyClick(&w.top, Qt::Key_O); // without Alt: nothing
        QVERIFY(w.take().isEmpty());
        b->setEnabled(false);
        QTest::keyClick(&w.top, Qt::Key_O, Qt::AltModifier);
        QVERIFY(w.take().isEmpty());
    }

    void hoverShowHideAndContainerColours() {
        Window w;
        chameleonButton* b = w.buttons[0];
        QVERIFY(!b->hoverTimerActive()); // nothing hovered: no timer runs
        w.moveTo(w.on(0));
        const QImage hovered = b->surface();
        QTest::qWait(20); // the pointer stays: the ticks change nothing
        QCOMPARE(w.take(), QStringList({"b1 MouseOver"}));
        QCursor::setPos(w.top.mapToGlobal(Window::outside())); // no event reaches the button
        QTRY_VERIFY_WITH_TIMEOUT(!b->isHovered(), 1000);
        QCOMPARE(w.take(), QStringList({"b1 MouseOut"}));
        QVERIFY(!b->hoverTimerActive() && b->surface() != hovered);
        QCOMPARE(buttoncolor::fromQRgb(b->surface().pixel(10, 1)), 0xFFFFFFu); // the orange rim is gone
        w.moveTo(w.on(0)); // straight to the next button: the first one's timer ends it
        w.moveTo(w.on(1));
        QTRY_COMPARE_WITH_TIMEOUT(w.log.size(), 3, 1000);
        QCOMPARE(w.take(), QStringList({"b1 MouseOver", "b2 MouseOver", "b1 MouseOut"}));
        b->setButtonType(13); // the oval takes only its ellipse
        w.moveTo(w.on(0, QPoint(1, 1)));
        QTRY_VERIFY_WITH_TIMEOUT(!b->isHovered(), 1000);
        w.take();
        w.click(w.on(0, QPoint(1, 1)));
        QVERIFY(w.take().isEmpty());
        w.moveTo(w.on(0, QPoint(33, 12)));
        QVERIFY(b->isHovered());

        b->hide();
        const quint64 draws = b->drawCount();
        b->setCaption("Hidden");
        QCOMPARE(b->drawCount(), draws); // nothing is drawn while hidden
        b->show();
        QCOMPARE(b->drawCount(), draws + 1);
        b->setButtonType(8);
        b->setColorScheme(4); // the container's colours follow its changes
        QPalette pal = w.top.palette();
        pal.setColor(QPalette::Window, QColor(0x30, 0x60, 0x90));
        w.top.setPalette(pal);
        QCOMPARE(buttoncolor::fromQRgb(b->surface().pixel(5, 5)), buttoncolor::rgb(0x30, 0x60, 0x90));
        QCOMPARE(w.buttons[2]->colors().cFace, 0xE0E0E0u); // custom colours stay as they are
    }
};

QTEST_MAIN(TestButtonInput)
#include "tst_buttoninput.moc"
