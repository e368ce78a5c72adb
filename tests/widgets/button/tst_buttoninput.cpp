// The button's input driven through its window as the platform delivers it: the order of
// the mouse and key events, dragging, the double click, the hover timer, the arrow keys,
// the access key, show and hide, and the container's colour changes.
#include "ButtonTestSupport.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A window with three buttons side by side (67 x 25 each at y 20) and a line edit; every
// event of the buttons is written down as text.
struct Window {
    Window() {
        top.resize(320, 120);
        edit = new QLineEdit(&top);
        edit->setGeometry(10, 70, 100, 22);
        for (int i = 0; i < 3; ++i) {
            auto* b = new chameleonButton(&top);
            b->ReadProperties(standardButtonProperties(QStringLiteral("Button %1").arg(i + 1)));
            b->setObjectName(QStringLiteral("b%1").arg(i + 1));
            b->setGeometry(10 + 80 * i, 20, 67, 25);
            record(b);
            buttons << b;
        }
        top.show();
        top.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&top));
    }
    void record(chameleonButton* b) {
        const QString n = b->objectName();
        for (auto [signal, what] : {std::pair{&chameleonButton::Click, "Click"},
                                    {&chameleonButton::MouseOver, "MouseOver"},
                                    {&chameleonButton::MouseOut, "MouseOut"}})
            QObject::connect(b, signal, b, [=, this] { log << n + ' ' + what; });
        for (auto [signal, what] :
             {std::pair{&chameleonButton::MouseDown, "MouseDown"}, {&chameleonButton::MouseUp, "MouseUp"}})
            QObject::connect(b, signal, b, [=, this](short& button, short& shift, float& x, float& y) {
                log << QStringLiteral("%1 %2 %3 %4,%5 %6").arg(n, what).arg(button).arg(x).arg(y).arg(shift);
            });
        for (auto [signal, what] :
             {std::pair{&chameleonButton::KeyDown, "KeyDown"}, {&chameleonButton::KeyUp, "KeyUp"}})
            QObject::connect(b, signal, b, [=, this](short& code, short& shift) {
                log << QStringLiteral("%1 %2 %3 %4").arg(n, what).arg(code).arg(shift);
            });
        QObject::connect(b, &chameleonButton::KeyPress, b, [this, n](short& ascii) {
            log << QStringLiteral("%1 KeyPress %2").arg(n).arg(ascii);
        });
    }
    QWindow* handle() { return top.windowHandle(); }
    // Window coordinates of a point of button i.
    QPoint on(int i, QPoint local = QPoint(10, 5)) const { return buttons.at(i)->mapTo(&top, local); }
    static QPoint outside() { return QPoint(300, 100); }
    // The pointer moves to window point p: the cursor goes there, and the window gets the move.
    void moveTo(QPoint p) {
        QCursor::setPos(top.mapToGlobal(p));
        QTest::mouseMove(handle(), p);
    }
    void press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(handle(), b, {}, p); }
    void release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(handle(), b, {}, p); }
    void click(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        press(p, b);
        release(p, b);
    }
    QStringList take() { return std::exchange(log, {}); }
    QStringList clicks() { return take().filter("Click"); }

    QWidget top;
    QLineEdit* edit = nullptr;
    QList<chameleonButton*> buttons;
    QStringList log;
};

} // namespace

class TestButtonInput : public QObject {
    Q_OBJECT

private slots:
    void init() { QCursor::setPos(QPoint(0, 0)); }

    void leftClickInOrderOtherButtonsAndHandlers() {
        Window w;
        chameleonButton* b = w.buttons[0];
        w.moveTo(w.on(0));
        QCOMPARE(w.take(), QStringList({"b1 MouseOver"}));
        QVERIFY(b->isHovered() && b->hoverTimerActive());
        w.moveTo(w.on(0, QPoint(12, 6))); // further moves inside raise no second MouseOver
        QVERIFY(w.take().isEmpty());
        w.press(w.on(0, QPoint(12, 6)));
        QCOMPARE(b->lastState() * 10 + b->lastButton(), 21);
        const quint64 draws = b->drawCount();
        w.moveTo(w.on(0, QPoint(13, 6))); // a move while held draws nothing new
        QCOMPARE(b->drawCount(), draws);
        w.release(w.on(0, QPoint(13, 6)));
        QCOMPARE(b->lastState(), 0);
        // Positions in twips (15 per pixel) from the button's corner; shift 0.
        QCOMPARE(w.take(), QStringList({"b1 MouseDown 1 180,90 0", "b1 MouseUp 1 195,90 0", "b1 Click"}));

        b->setFocus();
        w.moveTo(w.on(0));
        w.take();
        const quint64 before = b->drawCount(); // the right button changes nothing on screen
        w.click(w.on(0), Qt::RightButton);
        QCOMPARE(b->lastButton(), 2);
        QCOMPARE(b->drawCount(), before);
        QCOMPARE(w.take(), QStringList({"b1 MouseDown 2 150,75 0", "b1 MouseUp 2 150,75 0"}));
        w.press(w.on(0), Qt::MiddleButton); // drawn down, but only the left button clicks
        QCOMPARE(b->lastState(), 2);
        w.release(w.on(0), Qt::MiddleButton);
        QCOMPARE(b->lastState(), 0);
        QCOMPARE(w.take(), QStringList({"b1 MouseDown 4 150,75 0", "b1 MouseUp 4 150,75 0"}));

        // A handler that makes the press a right one: not drawn down, no Click.
        auto toRight = QObject::connect(b, &chameleonButton::MouseDown, b,
                                        [](short& button, short&, float&, float&) { button = 2; });
        w.press(w.on(0));
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
    }

    void dragOutAndBackInAndTheDoubleClick() {
        Window w;
        chameleonButton* b = w.buttons[1];
        w.moveTo(w.on(1));
        w.press(w.on(1));
        QCOMPARE(b->lastState(), 2);
        w.moveTo(Window::outside()); // drawn up while outside
        QCOMPARE(b->lastState(), 0);
        w.moveTo(w.on(1, QPoint(30, 10))); // and down again when back in
        QCOMPARE(b->lastState(), 2);
        w.release(w.on(1, QPoint(30, 10)));
        QCOMPARE(w.clicks(), QStringList({"b2 Click"}));
        w.moveTo(w.on(1));
        w.press(w.on(1));
        w.moveTo(Window::outside());
        w.release(Window::outside()); // released outside: up, and no Click
        QCOMPARE(b->lastState(), 0);
        const QStringList events = w.take();
        QVERIFY(events.filter("Click").isEmpty());
        QVERIFY(events.contains("b2 MouseUp 1 3150,1200 0")); // the release still reaches it

        // The second press comes as a double click: it is handled as a left press at (0, 0).
        b = w.buttons[2];
        w.moveTo(w.on(2));
        w.take();
        QTest::mouseDClick(w.handle(), Qt::LeftButton, {}, w.on(2));
        QCOMPARE(w.take(), QStringList({"b3 MouseDown 1 150,75 0", "b3 MouseUp 1 150,75 0", "b3 Click",
                                        "b3 MouseDown 1 0,0 0", "b3 MouseUp 1 150,75 0"}));
        QCOMPARE(b->lastState(), 0);
        b->setCheckBoxBehaviour(true);
        QTest::mouseDClick(w.handle(), Qt::LeftButton, {}, w.on(2));
        QVERIFY(b->Value()); // toggled once, by the first click
        QCOMPARE(w.clicks().size(), 1);
        b->setCheckBoxBehaviour(false);
        b->setValue(false);
        // After the double click the button holds the mouse: a release outside reaches it.
        const int t = QTest::lastMouseTimestamp += 1000;
        const QPoint in = w.on(2), out = Window::outside();
        auto send = [&](QPoint p, Qt::MouseButtons state, QEvent::Type type) {
            qt_handleMouseEvent(w.handle(), p, w.top.mapToGlobal(p), state, Qt::LeftButton, type, {}, t);
            QCoreApplication::processEvents();
        };
        send(in, Qt::LeftButton, QEvent::MouseButtonPress);
        send(in, Qt::NoButton, QEvent::MouseButtonRelease);
        send(in, Qt::LeftButton, QEvent::MouseButtonPress);
        QCOMPARE(b->lastState(), 2);
        send(out, Qt::LeftButton, QEvent::MouseMove);
        QCOMPARE(b->lastState(), 0);
        send(out, Qt::NoButton, QEvent::MouseButtonRelease);
        QTest::lastMouseTimestamp += 1000;
        QCOMPARE(w.take().filter("MouseUp"),
                 QStringList({"b3 MouseUp 1 150,75 0", "b3 MouseUp 1 1950,1200 0"}));
    }

    void keysSpaceEnterArrowsAndTheAccessKey() {
        Window w;
        chameleonButton* b = w.buttons[0];
        b->setFocus();
        QTest::keyPress(b, Qt::Key_Space);
        QCOMPARE(b->lastState() * 100 + b->lastKey(), 232);
        // Held down, the key repeats: X sends repeated release and press pairs.
        QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QApplication::sendEvent(b, &repeatUp);
        QApplication::sendEvent(b, &repeatDown);
        QCOMPARE(b->lastState(), 2);
        QTest::keyRelease(b, Qt::Key_Space);
        QCOMPARE(b->lastState(), 0);
        QStringList events = w.take();
        QCOMPARE(events.filter("Click"), QStringList({"b1 Click"}));
        QCOMPARE(events.mid(0, 2), QStringList({"b1 KeyDown 32 0", "b1 KeyPress 32"}));
        QCOMPARE(events.last(), QStringLiteral("b1 Click"));
        QTest::keyPress(b, Qt::Key_A, Qt::ShiftModifier); // the last key down was not space
        QTest::keyRelease(b, Qt::Key_Space);
        events = w.take();
        QVERIFY(events.filter("Click").isEmpty());
        QVERIFY(events.contains("b1 KeyDown 65 1") && events.contains("b1 KeyUp 32 0"));

        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(b, &enter);
        QVERIFY(!enter.isAccepted()); // Enter is passed on to the window
        QCOMPARE(b->lastState(), 0);
        QCOMPARE(w.take(), QStringList({"b1 KeyDown 13 0", "b1 KeyPress 13"}));

        // A handler may turn a key into another one: N for next, space swallowed.
        auto toArrow = QObject::connect(b, &chameleonButton::KeyDown, b, [](short& code, short&) {
            if (code == 'N') code = 39;
        });
        QTest::keyClick(b, Qt::Key_N);
        QVERIFY(w.buttons[1]->hasFocus());
        QObject::disconnect(toArrow);
        QObject::connect(w.buttons[1], &chameleonButton::KeyDown, b, [](short& code, short&) {
            if (code == 32) code = 0;
        });
        QTest::keyClick(w.buttons[1], Qt::Key_Space);
        QCOMPARE(w.buttons[1]->lastState(), 0);
        QVERIFY(w.clicks().isEmpty());

        // The arrows move the focus like Tab and Shift+Tab, and click nothing.
        for (chameleonButton* each : w.buttons)
            each->setCheckBoxBehaviour(true);
        const std::pair<Qt::Key, int> steps[] = {
            {Qt::Key_Right, 2}, {Qt::Key_Left, 1}, {Qt::Key_Up, 0}, {Qt::Key_Down, 1}, {Qt::Key_Down, 2}};
        for (const auto& [key, focused] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(QApplication::focusWidget(), w.buttons[focused]);
        }
        QTest::keyClick(w.buttons[2], Qt::Key_Down); // past the last button: the line edit
        QCOMPARE(QApplication::focusWidget(), w.edit);
        for (chameleonButton* each : w.buttons)
            QVERIFY(!each->Value());
        QVERIFY(w.clicks().isEmpty());
        for (chameleonButton* each : w.buttons)
            each->setCheckBoxBehaviour(false);

        // Alt with the caption's underlined letter clicks, from anywhere in the window.
        b = w.buttons[1];
        b->setCaption(QStringLiteral("&Open"));
        QTest::keyClick(&w.top, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(w.take(), QStringList({"b2 Click"}));
        QCOMPARE(b->lastButton(), 1);
        QTest::keyClick(&w.top, Qt::Key_O); // without Alt: nothing
        QVERIFY(w.take().isEmpty());
        b->setCaption(QStringLiteral("Sa&ve && exit"));
        QTest::keyClick(&w.top, Qt::Key_O, Qt::AltModifier);
        QTest::keyClick(&w.top, Qt::Key_V, Qt::AltModifier);
        QCOMPARE(w.take(), QStringList({"b2 Click"}));
        b->setCheckBoxBehaviour(true);
        QTest::keyClick(&w.top, Qt::Key_V, Qt::AltModifier);
        QVERIFY(b->Value());
        b->setEnabled(false);
        QTest::keyClick(&w.top, Qt::Key_V, Qt::AltModifier);
        QVERIFY(b->Value());
        QCOMPARE(w.take(), QStringList({"b2 Click"}));

        // The space bar toggles a check box before Click, and draws it down while set.
        b = w.buttons[0];
        b->setCheckBoxBehaviour(true);
        bool valueInClick = false;
        QObject::connect(b, &chameleonButton::Click, b, [&] { valueInClick = b->Value(); });
        QTest::keyClick(b, Qt::Key_Space);
        QVERIFY(valueInClick);
        QCOMPARE(b->lastState(), 2);
    }

    void hoverEndsWhenTheTimerSeesThePointerGone() {
        Window w;
        chameleonButton* b = w.buttons[0];
        QVERIFY(!b->hoverTimerActive()); // nothing hovered: no timer runs
        w.moveTo(w.on(0));
        QCOMPARE(w.take(), QStringList({"b1 MouseOver"}));
        const QImage hovered = b->surface();
        QTest::qWait(20); // the pointer stays: the ticks change nothing
        QVERIFY(b->isHovered() && w.take().isEmpty());
        QCursor::setPos(w.top.mapToGlobal(Window::outside())); // no event reaches the button
        QTRY_VERIFY_WITH_TIMEOUT(!b->isHovered(), 1000);
        QCOMPARE(w.take(), QStringList({"b1 MouseOut"}));
        QVERIFY(!b->hoverTimerActive());
        QVERIFY(b->surface() != hovered); // the orange rim is gone
        QCOMPARE(buttoncolor::fromQRgb(b->surface().pixel(10, 1)), 0xFFFFFFu);
        w.moveTo(w.on(0)); // straight to the next button: the first one's timer ends it
        w.moveTo(w.on(1));
        QTRY_COMPARE_WITH_TIMEOUT(w.log.size(), 3, 1000);
        QCOMPARE(w.take(), QStringList({"b1 MouseOver", "b2 MouseOver", "b1 MouseOut"}));
        w.buttons[1]->hide(); // a hidden button is no longer under the pointer
        QTRY_VERIFY_WITH_TIMEOUT(!w.buttons[1]->hoverTimerActive(), 1000);

        b->setButtonType(13); // the oval takes only its ellipse
        w.moveTo(w.on(0, QPoint(1, 1)));
        QTRY_VERIFY_WITH_TIMEOUT(!b->isHovered(), 1000);
        w.take();
        w.click(w.on(0, QPoint(1, 1)));
        QVERIFY(w.take().isEmpty());
        w.moveTo(w.on(0, QPoint(33, 12)));
        QVERIFY(b->isHovered());
    }

    void showHideAndContainerColours() {
        Window w;
        chameleonButton* b = w.buttons[0];
        b->hide();
        const quint64 draws = b->drawCount();
        b->setCaption(QStringLiteral("Hidden"));
        QCOMPARE(b->drawCount(), draws); // nothing is drawn while hidden
        b->show();
        QCOMPARE(b->drawCount(), draws + 1);
        b->setButtonType(8);
        b->setColorScheme(4); // the container's colours follow its changes
        QPalette pal = w.top.palette();
        pal.setColor(QPalette::Window, QColor(0x30, 0x60, 0x90));
        w.top.setPalette(pal);
        QCOMPARE(b->colors().cFace, buttoncolor::rgb(0x30, 0x60, 0x90));
        QCOMPARE(buttoncolor::fromQRgb(b->surface().pixel(5, 5)), buttoncolor::rgb(0x30, 0x60, 0x90));
        chameleonButton* custom = w.buttons[1]; // custom colours stay as they are
        const QImage before = custom->surface();
        const quint64 customDraws = custom->drawCount();
        pal.setColor(QPalette::Window, QColor(0x90, 0x60, 0x30));
        w.top.setPalette(pal);
        QCOMPARE(custom->drawCount(), customDraws);
        QCOMPARE(custom->surface(), before);
    }
};

QTEST_MAIN(TestButtonInput)
#include "tst_buttoninput.moc"
