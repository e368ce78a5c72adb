// The button as a control: its input as the platform delivers it to its window (the order of the mouse
// and key events, dragging, the double click, the hover timer, the arrow keys, the access key, show and
// hide, the container's colour changes); its properties and stored settings, change notices, colour
// schemes and arithmetic, access keys, the drawing skip rule and what assistive technology sees.
#include "ButtonTestSupport.h"
#include "widgets/button/AccessKey.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using namespace buttoncolor;

namespace {
const QStringList kKeyOrder = {"BTYPE", "TX",   "ENAB", "FONT",  "COLTYPE", "FOCUSR", "BCOL", "BCOLO",
                               "FCOL",  "FCOLO", "MCOL", "MPTR", "MICON",   "PICN",   "PICH", "UMCOL",
                               "SOFT",  "PICPOS", "NGREY", "FX", "HAND",    "CHECK",  "VALUE"};
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
                QObject::connect(b, signal, b, [=, this](short& code, short& shift) { log << n + QStringLiteral("%1 %2 %3").arg(what).arg(code).arg(shift); });
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

class TestButton : public QObject {
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
        w.moveTo(w.on(0, QPoint(13, 6))), w.release(w.on(0, QPoint(13, 6)));
        QCOMPARE(b->lastState(), 0);
        // Positions in twips (15 per pixel) from the button's corner; shift 0.
        QCOMPARE(w.take(), QStringList({"b1 MouseDown 1 180,90 0", "b1 MouseUp 1 195,90 0", "b1 Click"}));
        b->setFocus(); // focused and hovered already: the right button changes nothing on screen
        w.moveTo(w.on(0)), w.take();
        const quint64 before = b->drawCount();
        w.click(w.on(0), Qt::RightButton);
        QVERIFY(b->lastButton() == 2 && b->drawCount() == before);
        QCOMPARE(w.take(), QStringList({"b1 MouseDown 2 150,75 0", "b1 MouseUp 2 150,75 0"}));
        auto toRight = QObject::connect(b, &chameleonButton::MouseDown, b, [](short& button, short&, float&, float&) { button = 2; });
        w.press(w.on(0)); // a handler made the press a right one: not drawn down, no Click
        QCOMPARE(b->lastState() * 10 + b->lastButton(), 2);
        w.release(w.on(0)), QObject::disconnect(toRight);
        QVERIFY(w.clicks().isEmpty());
        b->setCheckBoxBehaviour(true); // the value is inverted before Click is raised
        bool valueInClick = false;
        QObject::connect(b, &chameleonButton::Click, b, [&] { valueInClick = b->Value(); });
        w.click(w.on(0));
        QVERIFY(valueInClick && b->lastState() == 2); // and drawn down while set
        b->setEnabled(false), w.click(w.on(0));
        QVERIFY(b->Value());
        QCOMPARE(w.clicks(), QStringList({"b1 Click"}));

        b = w.buttons[1]; // dragged out: drawn up; back in: down again
        w.moveTo(w.on(1)), w.press(w.on(1)), w.moveTo(Window::outside());
        QCOMPARE(b->lastState(), 0);
        w.moveTo(w.on(1, QPoint(30, 10)));
        QCOMPARE(b->lastState(), 2);
        w.release(w.on(1, QPoint(30, 10)));
        QCOMPARE(w.clicks(), QStringList({"b2 Click"}));
        w.moveTo(w.on(1)), w.press(w.on(1)), w.moveTo(Window::outside());
        w.release(Window::outside()); // released outside: up, and no Click, but the release reaches it
        QCOMPARE(b->lastState(), 0);
        const QStringList events = w.take();
        QVERIFY(events.filter("Click").isEmpty() && events.contains("b2 MouseUp 1 3150,1200 0"));

        b = w.buttons[2]; // the second press of a double click is a left press at (0, 0)
        w.moveTo(w.on(2)), w.take();
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
        QStringList events = w.take();
        QCOMPARE(b->lastState(), 0);
        QCOMPARE(events.mid(0, 2) + events.mid(events.size() - 1), QStringList({"b1 KeyDown 32 0", "b1 KeyPress 32", "b1 Click"}));
        QCOMPARE(events.filter("Click").size(), 1);
        QTest::keyPress(b, Qt::Key_A, Qt::ShiftModifier); // the last key down was not space: no Click
        QTest::keyRelease(b, Qt::Key_Space);
        events = w.take();
        QVERIFY(events.filter("Click").isEmpty() && events.contains("b1 KeyDown 65 1") && events.contains("b1 KeyUp 32 0"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(b, &enter);
        QVERIFY(!enter.isAccepted() && b->lastState() == 0); // Enter is passed on to the window
        QCOMPARE(w.take(), QStringList({"b1 KeyDown 13 0", "b1 KeyPress 13"}));

        // A handler may turn a key into another one: N into the right arrow, space swallowed.
        auto toArrow = QObject::connect(b, &chameleonButton::KeyDown, b, [](short& code, short&) { code = code == 'N' ? 39 : code; });
        QTest::keyClick(b, Qt::Key_N);
        QObject::disconnect(toArrow);
        QVERIFY(w.buttons[1]->hasFocus() && w.clicks().isEmpty());

        const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Right, 2}, {Qt::Key_Left, 1}, {Qt::Key_Up, 0}, {Qt::Key_Down, 1},
                                                 {Qt::Key_Down, 2}}; // the arrows move the focus like Tab
        for (const auto& [key, focused] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(QApplication::focusWidget(), w.buttons[focused]);
        }
        QTest::keyClick(w.buttons[2], Qt::Key_Down); // past the last button: the line edit
        QVERIFY(QApplication::focusWidget() == w.edit && w.clicks().isEmpty());

        b = w.buttons[1]; // Alt with the underlined letter clicks, from anywhere in the window
        b->setCaption("&Open");
        QTest::keyClick(&w.top, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(w.take(), QStringList({"b2 Click"}));
        QCOMPARE(b->lastButton(), 1);
        QTest::keyClick(&w.top, Qt::Key_O); // without Alt, or disabled: nothing
        b->setEnabled(false), QTest::keyClick(&w.top, Qt::Key_O, Qt::AltModifier);
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
        QVERIFY(w.take() == QStringList({"b1 MouseOut"}) && !b->hoverTimerActive() && b->surface() != hovered);
        QCOMPARE(buttoncolor::fromQRgb(b->surface().pixel(10, 1)), 0xFFFFFFu); // the orange rim is gone
        w.moveTo(w.on(0)), w.moveTo(w.on(1)); // straight to the next button: the first one's timer ends it
        QTRY_COMPARE_WITH_TIMEOUT(w.log.size(), 3, 1000);
        QCOMPARE(w.take(), QStringList({"b1 MouseOver", "b2 MouseOver", "b1 MouseOut"}));
        b->setButtonType(13); // the oval takes only its ellipse
        w.moveTo(w.on(0, QPoint(1, 1)));
        QTRY_VERIFY_WITH_TIMEOUT(!b->isHovered(), 1000);
        w.take(), w.click(w.on(0, QPoint(1, 1)));
        QVERIFY(w.take().isEmpty());
        w.moveTo(w.on(0, QPoint(33, 12)));
        QVERIFY(b->isHovered());

        b->hide();
        const quint64 draws = b->drawCount();
        b->setCaption("Hidden"); // nothing is drawn while hidden
        QCOMPARE(b->drawCount(), draws);
        b->show();
        QCOMPARE(b->drawCount(), draws + 1);
        b->setButtonType(8), b->setColorScheme(4); // the container's colours follow its changes
        QPalette pal = w.top.palette();
        pal.setColor(QPalette::Window, QColor(0x30, 0x60, 0x90));
        w.top.setPalette(pal);
        QCOMPARE(buttoncolor::fromQRgb(b->surface().pixel(5, 5)), buttoncolor::rgb(0x30, 0x60, 0x90));
        QCOMPARE(w.buttons[2]->colors().cFace, 0xE0E0E0u); // custom colours stay as they are
    }

    void defaultsRoundTripAndStoredSettings() {
        QWidget host;
        host.setFont(QFont("Liberation Serif", 13));
        chameleonButton d(&host);
        d.setMousePointer(11);
        QVERIFY(d.ReadProperties(PropertyBag()).isEmpty()); // missing keys take their defaults
        QCOMPARE(d.ButtonType() * 10 + d.ColorScheme(), 21);
        QCOMPARE(d.Font().family(), "Liberation Serif");
        QVERIFY(d.Caption().isEmpty() && d.Enabled() && d.ShowFocusRect() && d.UseMaskColor() && !d.SoftBevel() && !d.Value());
        QCOMPARE(d.BackColor(), TranslateColor(systemColor(15)));
        QCOMPARE(d.MaskColor(), 0xC0C0C0u);
        QCOMPARE(d.MousePointer(), 1); // HAND false resets the pointer to the arrow
        PropertyBag onlyColours; // the over colours default to the colours just read
        onlyColours.setColor("bcol", 0x123456);
        onlyColours.setColor("fcol", 0x654321);
        d.ReadProperties(onlyColours);
        QVERIFY(d.BackOver() == 0x123456u && d.ForeOver() == 0x654321u);

        chameleonButton a;
        a.setButtonType(14), a.setCaption("&Copy"), a.setEnabled(false), a.setBackOver(0x445566), a.setFontItalic(true);
        a.setForeColor(0x8000000D), a.setSoftBevel(true), a.setCheckBoxBehaviour(true), a.setValue(true);
        a.setHandPointer(true);
        QImage pic(5, 4, QImage::Format_RGB32);
        pic.fill(Qt::red);
        a.setPictureOver(pic);
        PropertyBag first, second;
        a.WriteProperties(first);
        QCOMPARE(first.keys(), kKeyOrder); // every key, in order
        chameleonButton b;
        QVERIFY(b.ReadProperties(first).isEmpty());
        b.WriteProperties(second);
        for (const QString& key : kKeyOrder) QVERIFY2(first.value(key) == second.value(key), qPrintable(key));
        QVERIFY(b.ButtonType() == 14 && !b.isEnabled() && b.FontItalic() && b.Value() && b.PictureOver() == pic);
        QVERIFY(b.ForeColor() == 0x8000000Du && b.cursor().shape() == Qt::PointingHandCursor && b.accessKey() == 'c'); // colour untranslated

        PropertyBag about = standardButtonProperties("OK", 0xC0C0C0); // the windows' stored settings
        QCOMPARE(about.keys().join(u','), kKeyOrder.join(u',').toLower()); // held in lower case
        QVERIFY(b.ReadProperties(about).isEmpty());
        QCOMPARE(b.ButtonType() * 10 + b.ColorScheme(), 32);
        QVERIFY(b.ForeOver() == 0xFF0000u && b.FontName() == "MS Sans Serif" && b.FontBold() && !b.HandPointer());
        about.set("btype", "rounded"); // unusable values are reported and take their defaults
        about.set("fcol", "blue");
        const QStringList problems = b.ReadProperties(about);
        QVERIFY(problems.size() == 2 && problems.at(0).contains("\"BTYPE\"") && problems.at(1).contains("\"FCOL\""));
        QCOMPARE(b.ButtonType() * 10 + b.ColorScheme(), 22);
        QCOMPARE(b.ForeColor(), TranslateColor(systemColor(18)));
    }

    void settersNameTheirKeyAndOverColoursFollowInDesignMode() {
        chameleonButton b;
        QSignalSpy spy(&b, &chameleonButton::PropertyChanged);
        b.setBackColor(1), b.setCaption("x"), b.setPictureOver(QImage()), b.setPicturePosition(1), b.setValue(true);
        b.setFontBold(true); // the font attributes raise no notice
        QStringList keys;
        for (const QList<QVariant>& notice : spy) keys << notice.at(0).toString();
        QCOMPARE(keys, QStringList({"BCOL", "TX", "PICO", "PICPOS", "VALUE"})); // PICH's notice names PICO
        chameleonButton c;
        c.setBackOver(0x0000FF);
        c.setBackColor(0x00FF00);
        QCOMPARE(c.BackOver(), 0x0000FFu);
        c.setDesignMode(true), c.setForeColor(0x654321);
        QCOMPARE(c.ForeOver(), 0x654321u);
    }

    void colourSchemes() {
        ButtonHost host(2);
        const chameleonButton::Palette& p = host.button->colors();
        host.button->setBackColor(0x808080); // custom: derived from BackColor
        QCOMPARE(p.cShadow, 0x404040u);
        QCOMPARE(p.cFaceBright, 0xB0B0B0u); // not the gradient style
        host.button->setButtonType(3);
        host.button->Refresh();
        QCOMPARE(p.cFaceBright, 0xA0B0B0u); // gradient: blue + 128 * 48 \ 192
        host.button->setSoftBevel(true);
        QCOMPARE(p.cShadow, 0x606060u);
        host.button->setColorScheme(3); // fixed
        QVERIFY(p.cFace == 0xC0C0C0u && p.cLight == 0xDFDFDFu && p.cHotLight == 0xD1ADADu);
        host.button->setColorScheme(4); // the container's background and text colours, still soft
        QVERIFY(p.cFace == 0xC8C89Fu && p.cShadow == 0xA8A87Fu);
        QCOMPARE(p.cText, fromQRgb(host.container->palette().color(QPalette::WindowText).rgb()));
    }

    void shiftAndBlendColours() {
        const std::tuple<quint32, int, bool, bool, quint32> shifts[] = { // colour, amount, gradient, soft: expected
            {0xE0E0E0, 31, false, false, 0xFFFFFF}, {0xE0E0E0, -64, false, false, 0xA0A0A0}, {0xE0E0E0, -64, false, true, 0xC0C0C0},
            {0x102030, -255, false, false, 0}, {0x123456, 0, false, false, 0x123456}, {0x808080, -5, false, true, 0x7E7E7E},
            {0x0000FF, 48, true, false, 0x0030FF}, {0xFF0000, 48, true, false, 0xFF3030}, {0xFFFFFF, -13, true, false, rgb(242, 242, 238)},
            {rgb(50, 50, 100), -1, true, false, rgb(49, 49, 100)}}; // clamped at both ends, soft halves toward 0, gradient truncates
        for (const auto& [colour, amount, gradient, soft, expected] : shifts)
            QVERIFY2(ShiftColor(colour, amount, gradient, soft) == expected, qPrintable(QString::number(colour, 16) + ' ' + QString::number(amount)));
        QCOMPARE(BlendColor(0x800000, 176), rgb(176, 176, 215));
        QCOMPARE(BlendColor(0x000000, 255), 0xFFFFFFu);
        QCOMPARE(BlendColor(rgb(10, 100, 200), 128), rgb(132, 177, 227));
    }

    void accessKeys() {
        const char* const cases[][3] = {{"&Open", "o", "Open"}, {"Sa&Ve", "v", "SaVe"}, {"Save && Exit", "", "Save & Exit"},
                                        {"A&&B&C", "c", "A&BC"}, {"Open&", "", "Open"}, {"&Copy &File", "c", "Copy File"}};
        for (const auto& c : cases) {
            const QChar got = accessKeyOf(c[0]);
            QCOMPARE((got.isNull() ? QString() : QString(got)) + '|' + captionWithoutMarkers(c[0]), QString(c[1]) + '|' + c[2]);
        }
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
        QCOMPARE(drawsAfter([&] { b->DisableRefresh(), b->setCaption("Other"), b->DrawButton(0, false); }), 2u);
        QCOMPARE(drawsAfter([&] { b->Refresh(); }), 3u);
        QCOMPARE(drawsAfter([&] { b->DrawButton(2, false); }), 3u); // Refresh drew state 2, new caption
        QCOMPARE(drawsAfter([&] { host.hover(), host.hover(); }), 4u);

        ButtonHost check(3); // Value draws the button down only as a check box
        const QImage up = check.button->surface();
        check.button->setValue(true);
        QCOMPARE(check.button->surface(), up);
        check.button->setCheckBoxBehaviour(true);
        QVERIFY(check.button->lastState() == 2 && check.button->surface() != up);
        check.button->DrawButton(0, true); // still down while Value is set
        QCOMPARE(check.button->lastState(), 2);
    }

    void accessibleAsAPushButton() {
        ButtonHost host(3, 67, 25, "&Open");
        host.button->setToolTip("Opens a file list");
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(host.button);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name) + '|' + iface->text(QAccessible::Description), "Open|Opens a file list");
        QAccessibleActionInterface* actions = iface->actionInterface();
        QCOMPARE(actions->actionNames(), QStringList({QAccessibleActionInterface::pressAction()}));
        QSignalSpy clicks(host.button, &chameleonButton::Click);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 0); // the action answers first; the click runs right after
        QTRY_COMPARE(clicks.size(), 1);
        actions->doAction(QAccessibleActionInterface::pressAction()), host.button->setEnabled(false); // disabled before its turn: no click
        QTest::qWait(10);
        QCOMPARE(clicks.size(), 1);
    }
};

QTEST_MAIN(TestButton)
#include "tst_button.moc"
