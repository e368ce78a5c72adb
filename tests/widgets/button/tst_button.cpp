// The button as the program's windows use it: its input as the platform delivers it to its window (the
// order of the mouse and key events, dragging, the double click, the hover timer, the arrow keys); its
// stored settings read back, the drawing skip rule, faces drawn as installed and what assistive
// technology sees; and the windows' style drawn in every state and its rounded shape, read back pixel
// by pixel. Colours are 0x00BBGGRR, worked out by hand from the drawing rules. The buttons use the
// windows' stored settings: face E0E0E0, shadow A0A0A0, light FFFFFF, dark 202020, blue caption.
#include "widgets/InstalledFace.h"
#include "widgets/button/ButtonColor.h"
#include "widgets/button/StandardButton.h"
#include "widgets/button/chameleonButton.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QtTest>
#include <memory>

using namespace buttoncolor;

struct Px { // one expected pixel, its colour as 0x00BBGGRR
    int x, y;
    quint32 c;
};

// A shown container, in a colour no style uses, holding one button loaded from the windows' stored
// settings with the given style and size.
struct ButtonHost {
    static constexpr QRgb kContainerColour = 0xFF9FC8C8;
    explicit ButtonHost(int style = 3, int width = 67, int height = 25, const QString& caption = "Search") {
        container->resize(width + 40, height + 40);
        QPalette pal = container->palette();
        pal.setColor(QPalette::Window, QColor::fromRgb(kContainerColour));
        container->setPalette(pal);
        container->setAutoFillBackground(true);
        PropertyBag bag = standardButtonProperties(caption);
        bag.setInt("BTYPE", style);
        button->ReadProperties(bag);
        button->setGeometry(20, 20, width, height);
        container->show();
    }
    quint32 px(int x, int y) const { return buttoncolor::fromQRgb(button->surface().pixel(x, y)); }
    // The listed pixels whose colour differs, as "x,y=found".
    QString mismatches(const QList<Px>& expected) const {
        QStringList out;
        for (const Px& e : expected)
            if (px(e.x, e.y) != e.c)
                out << QStringLiteral("%1,%2=%3").arg(e.x).arg(e.y).arg(px(e.x, e.y), 6, 16, QChar(u'0'));
        return out.join(u' ');
    }
    bool hasColourIn(const QRect& r, quint32 c) const {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (px(x, y) == c) return true;
        return false;
    }

    void send(QEvent&& e) { QApplication::sendEvent(button, &e); }
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButton b, Qt::MouseButtons held) {
        send(QMouseEvent(type, at, button->mapToGlobal(at), b, held, Qt::NoModifier));
    }

    void hover() { // the cursor goes to the button's centre and the button gets the move
        QCursor::setPos(button->mapToGlobal(button->rect().center()));
        mouse(QEvent::MouseMove, button->rect().center(), Qt::NoButton, Qt::NoButton);
    }

    void focusIn() { send(QFocusEvent(QEvent::FocusIn, Qt::TabFocusReason)); }
    void press() { mouse(QEvent::MouseButtonPress, QPointF(10, 10), Qt::LeftButton, Qt::LeftButton); }
    void release() { mouse(QEvent::MouseButtonRelease, QPointF(10, 10), Qt::LeftButton, Qt::NoButton); }
    std::unique_ptr<QWidget> container = std::make_unique<QWidget>();
    chameleonButton* button = new chameleonButton(container.get());
};

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
            for (auto [signal, what] : {std::pair{&chameleonButton::Click, "Click"},
                                        {&chameleonButton::MouseOver, "MouseOver"},
                                        {&chameleonButton::MouseOut, "MouseOut"}})
                QObject::connect(b, signal, b, [=, this] { log << n + what; });
            for (auto [signal, what] : {std::pair{&chameleonButton::MouseDown, "MouseDown"},
                                        {&chameleonButton::MouseUp, "MouseUp"}})
                QObject::connect(b, signal, b, [=, this](short& button, short& shift, float& x, float& y) {
                    log << n + QStringLiteral("%1 %2 %3,%4 %5")
                                   .arg(what)
                                   .arg(button)
                                   .arg(x)
                                   .arg(y)
                                   .arg(shift);
                });
            for (auto [signal, what] :
                 {std::pair{&chameleonButton::KeyDown, "KeyDown"}, {&chameleonButton::KeyUp, "KeyUp"}})
                QObject::connect(b, signal, b, [=, this](short& code, short& shift) {
                    log << n + QStringLiteral("%1 %2 %3").arg(what).arg(code).arg(shift);
                });
            QObject::connect(b, &chameleonButton::KeyPress, b,
                             [=, this](short& ascii) { log << n + "KeyPress " + QString::number(ascii); });
            buttons << b;
        }
        top.show(), top.activateWindow();
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
constexpr quint32 kWhite = 0xFFFFFF, kBlue = 0xFF0000, kOutline = 0x733C00, kCorner = 0x7B4D10,
                  kNoCaption = 0xFFFFFFFF;
constexpr int W = 67, H = 25;
enum Action { Focus = 1, Default = 2, Hover = 4, Press = 8, Disable = 16 }; // applied in this order
void look(const char* name, int actions, const QList<Px>& pixels, quint32 caption = kNoCaption) {
    QTest::newRow(name) << actions << pixels << caption;
}
} // namespace

class TestButton : public QObject {
    Q_OBJECT
private slots:
    void init() { QCursor::setPos(QPoint(0, 0)); }

    void mouseButtonsHandlersDragAndTheDoubleClick() {
        Window w;
        chameleonButton* b = w.buttons[0];
        w.moveTo(w.on(0)), w.moveTo(w.on(0, QPoint(12, 6))); // further moves inside raise no second MouseOver
        QVERIFY(w.take() == QStringList({"b1 MouseOver"}) && b->isHovered() && b->hoverTimerActive());
        w.press(w.on(0, QPoint(12, 6)));
        QCOMPARE(b->lastState() * 10 + b->lastButton(), 21);
        w.moveTo(w.on(0, QPoint(13, 6))), w.release(w.on(0, QPoint(13, 6)));
        QCOMPARE(b->lastState(), 0);
        // Positions in twips (15 per pixel) from the button's corner; shift 0.
        QCOMPARE(w.take(), QStringList({"b1 MouseDown 1 180,90 0", "b1 MouseUp 1 195,90 0", "b1 Click"}));
        b->setFocus(), w.moveTo(w.on(0)),
            w.take(); // focused and hovered already: the right button changes nothing on screen
        const quint64 before = b->drawCount();
        w.click(w.on(0), Qt::RightButton);
        QVERIFY(b->lastButton() == 2 && b->drawCount() == before &&
                w.take() == QStringList({"b1 MouseDown 2 150,75 0", "b1 MouseUp 2 150,75 0"}));
        b->setEnabled(false), w.click(w.on(0));
        QVERIFY(w.clicks().isEmpty());

        b = w.buttons[1]; // dragged out: drawn up; back in: down again, drawn in the hover colours
        b->setBackOver(0x00C000);
        w.moveTo(w.on(1)), w.press(w.on(1));
        const QImage hoveredDown = b->surface();
        w.moveTo(Window::outside());
        const int outside = b->lastState();
        w.moveTo(w.on(1, QPoint(30, 10)));
        QCOMPARE(outside * 10 + b->lastState(), 2);
        QVERIFY(!b->isHovered() && b->surface() == hoveredDown);
        w.release(w.on(1, QPoint(30, 10)));
        QCOMPARE(w.clicks(), QStringList({"b2 Click"}));
        w.moveTo(w.on(1)), w.press(w.on(1)), w.moveTo(Window::outside());
        w.release(Window::outside()); // released outside: up, and no Click, but the release reaches it
        const QStringList events = w.take();
        QVERIFY(b->lastState() == 0 && events.filter("Click").isEmpty() &&
                events.contains("b2 MouseUp 1 3150,1200 0"));

        b = w.buttons[2]; // the second press of a double click is a left press at (0, 0)
        w.moveTo(w.on(2)), w.take();
        QTest::mouseDClick(w.handle(), Qt::LeftButton, {},
                           w.on(2)); // (the hover timers' events may come meanwhile)
        QCOMPARE(w.take().filter(QRegularExpression("^b3 (MouseDown|MouseUp|Click)")),
                 QStringList({"b3 MouseDown 1 150,75 0", "b3 MouseUp 1 150,75 0", "b3 Click",
                              "b3 MouseDown 1 0,0 0", "b3 MouseUp 1 150,75 0"}));
        QCOMPARE(b->lastState(), 0);
    }

    void keysSpaceEnterAndArrows() {
        Window w;
        chameleonButton* b = w.buttons[0];
        b->setFocus(), QTest::keyPress(b, Qt::Key_Space);
        QCOMPARE(b->lastState() * 100 + b->lastKey(), 232);
        QTest::keyRelease(b, Qt::Key_Space);
        QStringList events = w.take();
        QCOMPARE(events.mid(0, 2) + events.mid(events.size() - 1),
                 QStringList({"b1 KeyDown 32 0", "b1 KeyPress 32", "b1 Click"}));
        QVERIFY(b->lastState() == 0 && events.filter("Click").size() == 1);
        QTest::keyPress(b, Qt::Key_A, Qt::ShiftModifier),
            QTest::keyRelease(b, Qt::Key_Space); // the last key down was not space: no Click
        events = w.take();
        QVERIFY(events.filter("Click").isEmpty() && events.contains("b1 KeyDown 65 1") &&
                events.contains("b1 KeyUp 32 0"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(b, &enter);
        QVERIFY(!enter.isAccepted() && b->lastState() == 0); // Enter is passed on to the window
        QCOMPARE(w.take(), QStringList({"b1 KeyDown 13 0", "b1 KeyPress 13"}));

        QTest::keyClick(b, Qt::Key_Right);
        QVERIFY(w.buttons[1]->hasFocus() && w.clicks().isEmpty());

        const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Right, 2},
                                                 {Qt::Key_Left, 1},
                                                 {Qt::Key_Up, 0},
                                                 {Qt::Key_Down, 1},
                                                 {Qt::Key_Down, 2}}; // the arrows move the focus like Tab
        for (const auto& [key, focused] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(QApplication::focusWidget(), w.buttons[focused]);
        }
        QTest::keyClick(w.buttons[2], Qt::Key_Down); // past the last button: the line edit
        QVERIFY(QApplication::focusWidget() == w.edit && w.clicks().isEmpty());
    }

    void theHoverTimer() {
        Window w;
        chameleonButton* b = w.buttons[0];
        QVERIFY(!b->hoverTimerActive());     // nothing hovered: no timer runs
        w.moveTo(w.on(0)), QTest::qWait(20); // the pointer stays: the ticks change nothing
        const QImage hovered = b->surface();
        QCOMPARE(w.take(), QStringList({"b1 MouseOver"}));
        QCursor::setPos(w.top.mapToGlobal(Window::outside())); // no event reaches the button
        QTRY_VERIFY_WITH_TIMEOUT(!b->isHovered(), 1000);
        QVERIFY(w.take() == QStringList({"b1 MouseOut"}) && !b->hoverTimerActive() &&
                b->surface() != hovered);
        QCOMPARE(buttoncolor::fromQRgb(b->surface().pixel(10, 1)), 0xFFFFFFu); // the orange rim is gone
        w.moveTo(w.on(0)), w.moveTo(w.on(1)); // straight to the next button: the first one's timer ends it
        QTRY_COMPARE_WITH_TIMEOUT(w.log.size(), 3, 1000);
        QCOMPARE(w.take(), QStringList({"b1 MouseOver", "b2 MouseOver", "b1 MouseOut"}));
    }

    void theWindowsStoredSettings() {
        chameleonButton b;
        PropertyBag about = standardButtonProperties("OK", 0xC0C0C0); // the windows' stored settings
        QVERIFY(b.ReadProperties(about).isEmpty());
        QCOMPARE(b.ButtonType() * 10 + b.ColorScheme(), 32);
        QVERIFY(b.ForeOver() == 0xFF0000u && b.FontName() == "MS Sans Serif" && b.FontBold() &&
                !b.HandPointer());
        about.set("btype", "rounded"),
            about.set("fcol", "blue"); // unusable values are reported and take their defaults
        const QStringList problems = b.ReadProperties(about);
        QVERIFY(problems.size() == 2 && problems.at(0).contains("\"BTYPE\"") &&
                problems.at(1).contains("\"FCOL\""));
        QVERIFY(b.ButtonType() * 10 + b.ColorScheme() == 22 &&
                b.ForeColor() == TranslateColor(systemColor(18)));
    }

    void drawingIsSkippedWhenNothingChanged() {
        ButtonHost host(3);
        chameleonButton* b = host.button;
        const quint64 start = b->drawCount();
        QVERIFY(start > 0);
        const auto drawsAfter = [&](auto step) { return step(), b->drawCount() - start; };
        QCOMPARE(drawsAfter([&] { b->DrawButton(0, false); }), 0u);
        QCOMPARE(drawsAfter([&] { b->DrawButton(2, false), b->DrawButton(2, false); }), 1u);
        QCOMPARE(drawsAfter([&] { b->DrawButton(2, true); }), 2u);
        QCOMPARE(drawsAfter([&] { b->DisableRefresh(), b->setCaption("Other"), b->DrawButton(0, false); }),
                 2u);
        QCOMPARE(drawsAfter([&] { b->Refresh(); }), 3u);
        QCOMPARE(drawsAfter([&] { b->DrawButton(2, false); }), 3u); // Refresh drew state 2, new caption
        QCOMPARE(drawsAfter([&] { host.hover(), host.hover(); }), 4u);
    }

    void aFaceNotInstalledIsDrawnInItsSubstitute() {
        QCOMPARE(installedFace("liberation SANS"),
                 QString("Liberation Sans")); // spelt as the font list has it
        QCOMPARE(installedFace("Orvik Absent Face"), QString("Orvik Absent Face"));
        QFont::insertSubstitution("Orvik Absent Face",
                                  "liberation sans"); // found later: not remembered as absent
        QCOMPARE(installedFace("Orvik Absent Face"), QString("Liberation Sans"));
        ButtonHost named, direct;
        named.button->setFontName("Orvik Absent Face"), direct.button->setFontName("Liberation Sans");
        QCOMPARE(named.button->FontName(), QString("Orvik Absent Face")); // the stored name is kept
        QVERIFY(named.button->FontBold() && named.button->surface() == direct.button->surface());
    }

    void accessibleAsAPushButton() {
        ButtonHost host(3, 67, 25, "&Open");
        host.button->setToolTip("Opens a file list");
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(host.button);
        QVERIFY(iface->role() == QAccessible::Button &&
                iface->text(QAccessible::Name) + '|' + iface->text(QAccessible::Description) ==
                    "Open|Opens a file list");
        QAccessibleActionInterface* actions = iface->actionInterface();
        QCOMPARE(actions->actionNames(), QStringList({QAccessibleActionInterface::pressAction()}));
        QSignalSpy clicks(host.button, &chameleonButton::Click);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 0); // the action answers first; the click runs right after
        QTRY_COMPARE(clicks.size(), 1);
        actions->doAction(QAccessibleActionInterface::pressAction()), host.button->setEnabled(false),
            QTest::qWait(10);
        QCOMPARE(clicks.size(), 1); // disabled before its turn came: no click
    }

    void looks_data() {
        QTest::addColumn<int>("actions");
        QTest::addColumn<QList<Px>>("pixels");
        QTest::addColumn<uint>("caption"); // a colour the caption shows, when given
        // clang-format off
        // GradientRounded: row i is shifted by -i, red and green 255 - i, blue 255 - (255 i) \ 192.
        look("gradient", 0, {{3, 3, 0xFCFCFC}, {3, 10, 0xF2F5F5}, {3, 20, 0xE5EBEB}, {W - 4, 10, 0xF2F5F5},
             {W / 2, 0, kOutline}, {0, 5, kOutline}, {W - 1, 5, kOutline}, {W / 2, H - 1, kOutline}, {2, 0, kOutline},
             {1, 1, kCorner}, {1, H - 2, kCorner}, {W - 2, 1, kCorner}, {W - 2, H - 2, kCorner},
             {10, H - 2, 0xC0CFCF}, {W - 2, 10, 0xD0DBDB}, {10, 1, kWhite}}, kBlue);
        look("gradient hovered wins over focus", Focus | Hover, {{1, 10, 0x31B2FF}, {W - 2, 10, 0x31B2FF},
             {10, H - 3, 0x31B2FF}, {10, H - 2, 0x0096E7}, {10, 1, 0xCEF3FF}, {10, 2, 0x8CDBFF}, {2, 10, 0x6BCBFF},
             {W - 3, 10, 0x6BCBFF}, {W / 2, 0, kOutline}});
        look("gradient focused, no dotted frame", Focus, {{1, 10, 0xE7AE8C}, {10, H - 2, 0xEF826B},
             {10, 1, 0xFFE7CE}, {10, 2, 0xF7D7BD}, {2, 10, 0xF0D1B5}, {W - 3, 10, 0xF0D1B5}, {4, 4, 0xFAFBFB}});
        look("gradient down", Press, {{3, 3, 0xBDC9C9}, {3, 20, 0xD0DADA}, {1, 10, 0xB2BFBF}, {W - 3, 10, kWhite},
             {W / 2, 0, kOutline}, {1, 1, kCorner}}, kBlue); // reversed: darkest at the top
        look("gradient disabled", Disable, {{5, 5, 0xE0E7E7}, {W / 2, 0, 0x90ABAB}, {1, 1, 0xA0B7B7},
             {W - 2, H - 2, 0xA0B7B7}}, 0x759797);
        // clang-format on
    }

    void looks() {
        QFETCH(int, actions);
        QFETCH(uint, caption);
        QFETCH(QList<Px>, pixels);
        ButtonHost host(3, W, H);
        if (actions & Focus) host.focusIn();
        if (actions & Default) host.button->setDefaultButton(true);
        if (actions & Hover) host.hover();
        if (actions & Press) host.press();
        if (actions & Disable) host.button->setEnabled(false);
        QCOMPARE(host.mismatches(pixels), QString());
        // The rounded shape: the corners' pixels are cut, from the window and from the image it shows.
        const QRegion shape = host.button->mask();
        for (QPoint p :
             {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(W - 1, H - 1), QPoint(W - 2, H - 1)})
            QVERIFY(!shape.contains(p) && qAlpha(host.button->shapedImage().pixel(p)) == 0);
        QVERIFY(shape.contains(QPoint(2, 0)) && shape.contains(QPoint(1, 1)) &&
                qAlpha(host.button->shapedImage().pixel(2, 0)) == 255);
        if (caption != kNoCaption)
            QVERIFY(host.hasColourIn(
                (actions & Press) ? host.button->textRectDown() : host.button->textRect(), caption));
    }
};

QTEST_MAIN(TestButton)
#include "tst_button.moc"
