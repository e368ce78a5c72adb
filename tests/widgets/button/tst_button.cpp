// The button as the program's windows use it: its input as the platform delivers it to its window (the
// order of the mouse and key events, dragging, the double click, the hover timer, the arrow keys); its
// stored settings read back, colours, the drawing skip rule, faces drawn as installed and what assistive
// technology sees; and drawn buttons read back pixel by pixel: the windows' style in every state, one
// look of each other style, the window shapes, the line and frame primitives, pictures. Colours are
// 0x00BBGGRR, worked out by hand from the drawing rules. The buttons use the windows' stored settings:
// face E0E0E0, shadow A0A0A0, light FFFFFF, dark 202020, hot 606060, blue caption.
#include "widgets/button/ButtonCanvas.h"
#include "widgets/button/ButtonColor.h"
#include "widgets/button/ButtonPicture.h"
#include "widgets/button/StandardButton.h"
#include "widgets/button/chameleonButton.h"
#include "widgets/InstalledFace.h"

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
            if (px(e.x, e.y) != e.c) out << QStringLiteral("%1,%2=%3").arg(e.x).arg(e.y).arg(px(e.x, e.y), 6, 16, QChar(u'0'));
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

#define CHECK_PIXELS(host, ...) QCOMPARE((host).mismatches({__VA_ARGS__}), QString())

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
constexpr quint32 kFace = 0xE0E0E0, kShadow = 0xA0A0A0, kWhite = 0xFFFFFF, kDark = 0x202020, kBlue = 0xFF0000;
constexpr quint32 kOutline = 0x733C00, kCorner = 0x7B4D10, kNoCaption = 0xFFFFFFFF, kMask = 0xC0C0C0;
constexpr int W = 67, H = 25;
enum Action { Focus = 1, Default = 2, Hover = 4, Press = 8, Disable = 16 }; // applied in this order
void look(const char* name, int style, int actions, const QList<Px>& pixels, quint32 caption = kNoCaption) {
    QTest::newRow(name) << style << actions << pixels << caption;
}
QImage filled(int w, int h, QRgb colour) {
    QImage pic(w, h, QImage::Format_RGB32);
    return pic.fill(colour), pic;
}
// 16 x 16 of mask colour at 96 dpi, a dark pixel (r+g+b = 128) at (4, 4) and a light one at (10, 10).
QImage markedPicture() {
    QImage pic = filled(16, 16, buttoncolor::toQRgb(kMask));
    pic.setPixel(4, 4, 0xFF800000), pic.setPixel(10, 10, 0xFFF0F0F0), pic.setDotsPerMeterX(3780), pic.setDotsPerMeterY(3780);
    return pic;
}
// A button whose caption is only blanks, so that the picture is centred at (25, 4): its marked
// pixels are then at (29, 8) and (35, 14).
struct PictureHost : ButtonHost {
    explicit PictureHost(int style, const QImage& picture = markedPicture()) : ButtonHost(style, W, H, "   ") {
        button->setPictureNormal(picture);
    }
};
QString pixelsOf(const QImage& img, quint32 colour) {
    QStringList out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (buttoncolor::fromQRgb(img.pixel(x, y)) == colour) out << QStringLiteral("%1,%2").arg(x).arg(y);
    return out.join(' ');
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
        b->setFocus(), w.moveTo(w.on(0)), w.take(); // focused and hovered already: the right button changes nothing on screen
        const quint64 before = b->drawCount();
        w.click(w.on(0), Qt::RightButton);
        QVERIFY(b->lastButton() == 2 && b->drawCount() == before && w.take() == QStringList({"b1 MouseDown 2 150,75 0", "b1 MouseUp 2 150,75 0"}));
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
        QVERIFY(b->lastState() == 0 && events.filter("Click").isEmpty() && events.contains("b2 MouseUp 1 3150,1200 0"));

        b = w.buttons[2]; // the second press of a double click is a left press at (0, 0)
        w.moveTo(w.on(2)), w.take();
        QTest::mouseDClick(w.handle(), Qt::LeftButton, {}, w.on(2)); // (the hover timers' events may come meanwhile)
        QCOMPARE(w.take().filter(QRegularExpression("^b3 (MouseDown|MouseUp|Click)")), QStringList({"b3 MouseDown 1 150,75 0", "b3 MouseUp 1 150,75 0", "b3 Click", "b3 MouseDown 1 0,0 0",
                                        "b3 MouseUp 1 150,75 0"}));
        QCOMPARE(b->lastState(), 0);
    }

    void keysSpaceEnterAndArrows() {
        Window w;
        chameleonButton* b = w.buttons[0];
        b->setFocus(), QTest::keyPress(b, Qt::Key_Space);
        QCOMPARE(b->lastState() * 100 + b->lastKey(), 232);
        QTest::keyRelease(b, Qt::Key_Space);
        QStringList events = w.take();
        QCOMPARE(events.mid(0, 2) + events.mid(events.size() - 1), QStringList({"b1 KeyDown 32 0", "b1 KeyPress 32", "b1 Click"}));
        QVERIFY(b->lastState() == 0 && events.filter("Click").size() == 1);
        QTest::keyPress(b, Qt::Key_A, Qt::ShiftModifier), QTest::keyRelease(b, Qt::Key_Space); // the last key down was not space: no Click
        events = w.take();
        QVERIFY(events.filter("Click").isEmpty() && events.contains("b1 KeyDown 65 1") && events.contains("b1 KeyUp 32 0"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(b, &enter);
        QVERIFY(!enter.isAccepted() && b->lastState() == 0); // Enter is passed on to the window
        QCOMPARE(w.take(), QStringList({"b1 KeyDown 13 0", "b1 KeyPress 13"}));

        QTest::keyClick(b, Qt::Key_Right);
        QVERIFY(w.buttons[1]->hasFocus() && w.clicks().isEmpty());

        const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Right, 2}, {Qt::Key_Left, 1}, {Qt::Key_Up, 0}, {Qt::Key_Down, 1},
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
        QVERIFY(!b->hoverTimerActive()); // nothing hovered: no timer runs
        w.moveTo(w.on(0)), QTest::qWait(20); // the pointer stays: the ticks change nothing
        const QImage hovered = b->surface();
        QCOMPARE(w.take(), QStringList({"b1 MouseOver"}));
        QCursor::setPos(w.top.mapToGlobal(Window::outside())); // no event reaches the button
        QTRY_VERIFY_WITH_TIMEOUT(!b->isHovered(), 1000);
        QVERIFY(w.take() == QStringList({"b1 MouseOut"}) && !b->hoverTimerActive() && b->surface() != hovered);
        QCOMPARE(buttoncolor::fromQRgb(b->surface().pixel(10, 1)), 0xFFFFFFu); // the orange rim is gone
        w.moveTo(w.on(0)), w.moveTo(w.on(1)); // straight to the next button: the first one's timer ends it
        QTRY_COMPARE_WITH_TIMEOUT(w.log.size(), 3, 1000);
        QCOMPARE(w.take(), QStringList({"b1 MouseOver", "b2 MouseOver", "b1 MouseOut"}));
    }

    void roundTripAndStoredSettings() {
        chameleonButton a;
        a.setButtonType(14), a.setCaption("&Copy"), a.setEnabled(false), a.setBackOver(0x445566), a.setFontItalic(true);
        a.setForeColor(0x8000000D), a.setSoftBevel(true), a.setCheckBoxBehaviour(true), a.setValue(true), a.setHandPointer(true);
        QImage pic(5, 4, QImage::Format_RGB32);
        pic.fill(Qt::red), a.setPictureOver(pic);
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
        about.set("btype", "rounded"), about.set("fcol", "blue"); // unusable values are reported and take their defaults
        const QStringList problems = b.ReadProperties(about);
        QVERIFY(problems.size() == 2 && problems.at(0).contains("\"BTYPE\"") && problems.at(1).contains("\"FCOL\""));
        QVERIFY(b.ButtonType() * 10 + b.ColorScheme() == 22 && b.ForeColor() == TranslateColor(systemColor(18)));
    }

    void customColoursFollowBackColor() {
        ButtonHost host(2);
        const chameleonButton::Palette& p = host.button->colors();
        host.button->setBackColor(0x808080); // custom: derived from BackColor
        QVERIFY(p.cShadow == 0x404040u && p.cFaceBright == 0xB0B0B0u); // not the gradient style
        host.button->setButtonType(3), host.button->Refresh();
        QCOMPARE(p.cFaceBright, 0xA0B0B0u); // gradient: blue + 128 * 48 \ 192
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
    }

    void aFaceNotInstalledIsDrawnInItsSubstitute() {
        QCOMPARE(installedFace("liberation SANS"), QString("Liberation Sans")); // spelt as the font list has it
        QCOMPARE(installedFace("Orvik Absent Face"), QString("Orvik Absent Face"));
        QFont::insertSubstitution("Orvik Absent Face", "liberation sans"); // found later: not remembered as absent
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
        QVERIFY(iface->role() == QAccessible::Button && iface->text(QAccessible::Name) + '|' + iface->text(QAccessible::Description) == "Open|Opens a file list");
        QAccessibleActionInterface* actions = iface->actionInterface();
        QCOMPARE(actions->actionNames(), QStringList({QAccessibleActionInterface::pressAction()}));
        QSignalSpy clicks(host.button, &chameleonButton::Click);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 0); // the action answers first; the click runs right after
        QTRY_COMPARE(clicks.size(), 1);
        actions->doAction(QAccessibleActionInterface::pressAction()), host.button->setEnabled(false), QTest::qWait(10);
        QCOMPARE(clicks.size(), 1); // disabled before its turn came: no click
    }

    void looks_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("actions");
        QTest::addColumn<QList<Px>>("pixels");
        QTest::addColumn<uint>("caption"); // a colour the caption shows, when given
        // clang-format off
        // GradientRounded: row i is shifted by -i, red and green 255 - i, blue 255 - (255 i) \ 192.
        look("gradient", 3, 0, {{3, 3, 0xFCFCFC}, {3, 10, 0xF2F5F5}, {3, 20, 0xE5EBEB}, {W - 4, 10, 0xF2F5F5},
             {W / 2, 0, kOutline}, {0, 5, kOutline}, {W - 1, 5, kOutline}, {W / 2, H - 1, kOutline}, {2, 0, kOutline},
             {1, 1, kCorner}, {1, H - 2, kCorner}, {W - 2, 1, kCorner}, {W - 2, H - 2, kCorner},
             {10, H - 2, 0xC0CFCF}, {W - 2, 10, 0xD0DBDB}, {10, 1, kWhite}}, kBlue);
        look("gradient hovered wins over focus", 3, Focus | Hover, {{1, 10, 0x31B2FF}, {W - 2, 10, 0x31B2FF},
             {10, H - 3, 0x31B2FF}, {10, H - 2, 0x0096E7}, {10, 1, 0xCEF3FF}, {10, 2, 0x8CDBFF}, {2, 10, 0x6BCBFF},
             {W - 3, 10, 0x6BCBFF}, {W / 2, 0, kOutline}});
        look("gradient focused, no dotted frame", 3, Focus, {{1, 10, 0xE7AE8C}, {10, H - 2, 0xEF826B},
             {10, 1, 0xFFE7CE}, {10, 2, 0xF7D7BD}, {2, 10, 0xF0D1B5}, {W - 3, 10, 0xF0D1B5}, {4, 4, 0xFAFBFB}});
        look("gradient down", 3, Press, {{3, 3, 0xBDC9C9}, {3, 20, 0xD0DADA}, {1, 10, 0xB2BFBF}, {W - 3, 10, kWhite},
             {W / 2, 0, kOutline}, {1, 1, kCorner}}, kBlue); // reversed: darkest at the top
        look("gradient disabled", 3, Disable, {{5, 5, 0xE0E7E7}, {W / 2, 0, 0x90ABAB}, {1, 1, 0xA0B7B7},
             {W - 2, H - 2, 0xA0B7B7}}, 0x759797);
        look("classic", 1, 0, {{0, 5, kDark}, {1, 5, kWhite}, {2, 5, kWhite}, {W - 2, 5, kShadow}, {W - 3, 5, kShadow}});
        look("3-D", 2, 0, {{0, 5, kWhite}, {W - 1, 5, kDark}, {5, H - 1, kDark}, {W - 2, 5, kShadow}});
        look("rounded light", 4, 0, {{0, 5, kDark}, {1, 1, kDark}, {5, 5, kWhite}, {10, 2, kWhite}, {W - 3, 5, kFace},
             {10, H - 3, kFace}, {W - 2, 5, kShadow}, {10, H - 2, kShadow}, {W - 3, H - 3, kShadow}});
        look("flat etched", 5, 0, {{0, 5, 0x868686}, {W - 2, 5, 0x868686}, {1, 5, kWhite}, {W - 1, 5, kWhite},
             {5, 5, 0xECECEC}, {1, H - 2, 0xBABABA}});
        look("soft", 6, 0, {{0, 5, kWhite}, {W - 1, 5, kShadow}, {W - 2, 5, kShadow}});
        look("thin", 7, 0, {{0, 5, kWhite}, {W - 1, 5, kShadow}, {1, 5, kFace}});
        look("flat", 8, 0, {{0, 5, kFace}, {W - 1, 5, kFace}}, kBlue);
        look("flat hovered", 8, Hover, {{0, 5, kWhite}, {W - 1, 5, kShadow}});
        look("flat highlight hovered", 9, Hover, {{0, 5, 0x606060}, {5, 5, kFace}});
        look("transparent", 11, 0, {{0, 0, 0xC8C89F}, {W - 1, H - 1, 0xC8C89F}}, kBlue);
        look("flat hover 3-D hovered", 12, Hover, {{0, 5, kWhite}, {W - 1, 5, kDark}, {W - 2, 5, kShadow}});
        look("oval, pen in the face colour", 13, 0, {{0, H / 2, kFace}});
        look("oval hovered", 13, Hover, {{0, H / 2, kShadow}, {W / 2, 0, kShadow}});
        // GradientFramed: row i is shifted by -(58 / 25) i, rounded.
        look("gradient framed", 14, 0, {{5, 10, 0xE8E8E8}, {5, 20, 0xD1D1D1}, {0, 5, 0x6E6E6E}, {1, 5, 0xD7D7D7},
             {10, 2, kWhite}, {3, 10, kWhite}});
        // clang-format on
    }
    void looks() {
        QFETCH(int, style);
        QFETCH(int, actions);
        QFETCH(uint, caption);
        QFETCH(QList<Px>, pixels);
        ButtonHost host(style, W, H);
        if (actions & Focus) host.focusIn();
        if (actions & Default) host.button->setDefaultButton(true);
        if (actions & Hover) host.hover();
        if (actions & Press) host.press();
        if (actions & Disable) host.button->setEnabled(false);
        QCOMPARE(host.mismatches(pixels), QString());
        if (caption != kNoCaption)
            QVERIFY(host.hasColourIn((actions & Press) ? host.button->textRectDown() : host.button->textRect(), caption));
    }

    void windowShapes_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QList<QPoint>>("cut");  // outside the window's shape
        QTest::addColumn<QList<QPoint>>("kept"); // beside them, inside
        const QList<QPoint> corners = {{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}};
        using P = QList<QPoint>;
        QTest::newRow("gradient rounded") << 3 << corners + P{{1, 0}, {0, 1}, {W - 2, H - 1}} << P{{2, 0}, {1, 1}, {0, 2}, {W - 2, H - 2}};
        for (int style : {2, 8, 12, 0}) QTest::newRow(qPrintable(QString("rectangle %1").arg(style))) << style << P{} << corners;
    }
    void windowShapes() {
        QFETCH(int, style);
        QFETCH(QList<QPoint>, cut);
        QFETCH(QList<QPoint>, kept);
        ButtonHost host(style, W, H);
        const QRegion shape = host.button->mask().isEmpty() ? QRegion(0, 0, W, H) : host.button->mask();
        for (QPoint p : cut) QVERIFY2(!shape.contains(p), qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
        for (QPoint p : kept) QVERIFY2(shape.contains(p), qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
        if (style == 3) // the shaped image the window shows is clear where the shape is cut
            QVERIFY(qAlpha(host.button->shapedImage().pixel(1, 0)) == 0 && qAlpha(host.button->shapedImage().pixel(2, 0)) == 255);
    }

    void linesStopShortOfTheirEndAndFramesAreOnePath() {
        constexpr quint32 kA = 0x0000FF, kB = 0x00FF00, kC = 0xFF0000, kD = 0xFFFF00, kBack = 0x101010;
        const std::tuple<QLine, QStringList> lines[] = {{{1, 1, 5, 1}, {"1,1", "2,1", "3,1", "4,1"}},
            {{8, 8, 8, 5}, {"8,6", "8,7", "8,8"}}, {{5, 5, 2, 5}, {"3,5", "4,5", "5,5"}}, {{3, 3, 3, 3}, {}}, {{6, 3, 4, 5}, {"6,3", "5,4"}}};
        for (const auto& [l, pixels] : lines) {
            QImage img = filled(10, 10, buttoncolor::toQRgb(kBack));
            ButtonCanvas(img).DrawLine(l.x1(), l.y1(), l.x2(), l.y2(), kA);
            QCOMPARE(pixelsOf(img, kA), pixels.join(' '));
        }
        QImage img = filled(6, 5, buttoncolor::toQRgb(kBack));
        ButtonCanvas(img).DrawFrame(kA, kB, kC, kD, 0, false);
        // Left and top in c1, right and bottom in c2 (the bottom-left corner too); the inner ring in c3 / c4.
        QCOMPARE(QStringList({pixelsOf(img, kA), pixelsOf(img, kB), pixelsOf(img, kC), pixelsOf(img, kD)}),
                 QStringList({"0,0 1,0 2,0 3,0 4,0 0,1 0,2 0,3", "5,0 5,1 5,2 5,3 0,4 1,4 2,4 3,4 4,4 5,4", "1,1 2,1 3,1 1,2",
                              "4,1 4,2 1,3 2,3 3,3 4,3"}));
    }

    void pictures() {
        using buttonpicture::hiMetricToPixels; // 16 pixels at 96 dpi are 423 units of 0.01 mm; halves to even
        QCOMPARE(QList<int>({hiMetricToPixels(423), hiMetricToPixels(39.6875), hiMetricToPixels(119.0625)}), QList<int>({16, 2, 4}));
        QImage dense = filled(32, 20, 0xFF00FF00);
        dense.setDotsPerMeterX(7559), dense.setDotsPerMeterY(7559); // 192 dpi: half as many screen pixels
        QCOMPARE(buttonpicture::storedSize(dense), QSize(423, 265));
        PictureHost placed(8, dense);
        QCOMPARE(placed.button->pictureRect(), QRect((W - 16) / 2, (H - 10) / 2, 16, 10));
        for (int position = 0; position <= 4; ++position) { // left, right, top, bottom, behind the caption
            const int height = position == 2 || position == 3 ? 50 : 25;
            ButtonHost go(8, W, height, "Go");
            go.button->setPicturePosition(position);
            go.button->setPictureNormal(filled(16, 16, 0xFF00FF00));
            const QRect t = go.button->textRect(), p = go.button->pictureRect();
            const QPoint expected[] = {{t.left() - 20, (height - 16) / 2}, {t.right() + 5, (height - 16) / 2},
                                       {(W - 16) / 2, t.top() - 18}, {(W - 16) / 2, t.bottom() + 3}, {(W - 16) / 2, (height - 16) / 2}};
            QVERIFY(p.topLeft() == expected[position] && go.px(p.right(), p.bottom()) == 0x00FF00u);
            QVERIFY(position == 4 ? go.hasColourIn(t.intersected(p), kBlue) : !t.intersects(p)); // behind: under the caption
        }
        PictureHost flat(8); // mask pixels keep the face, unless the mask is off
        CHECK_PIXELS(flat, {25, 4, kFace}, {29, 8, 0x000080}, {35, 14, 0xF0F0F0});
        flat.button->setUseMaskColor(false);
        CHECK_PIXELS(flat, {25, 4, kMask});
        QImage pic = filled(16, 16, buttoncolor::toQRgb(kMask)); // grey: 0.3 red, then 0.59 green, then 0.11 blue, rounded
        pic.setPixel(0, 1, qRgb(5, 0, 5)), pic.setPixel(1, 1, qRgb(0, 150, 0)), pic.setPixel(2, 1, qRgb(15, 0, 0));
        PictureHost grey(8, pic), gradient(3, pic);
        grey.button->setUseGreyscale(true), gradient.button->setEnabled(false); // disabled gradient: grey, down-right
        CHECK_PIXELS(grey, {25, 5, 0x030303}, {26, 5, 0x585858}, {27, 5, 0x040404});
        QVERIFY(gradient.px(27, 6) == 0x585858u && gradient.px(26, 5) != 0x585858u);
        PictureHost fading(9); // faded (2 x picture + face) \ 3; hovered: raised up-left over a shadow; disabled: S(shadow, 13)
        CHECK_PIXELS(fading, {29, 8, 0x4A4AA0}, {35, 14, 0xEAEAEA});
        fading.hover();
        CHECK_PIXELS(fading, {28, 7, 0x000080}, {30, 9, kShadow}, {34, 13, 0xF0F0F0});
        fading.press(); // down: in place over the pressed face S(face, -32)
        CHECK_PIXELS(fading, {29, 8, 0x000080}, {30, 9, 0xC0C0C0});
        fading.release(), fading.button->setEnabled(false);
        CHECK_PIXELS(fading, {29, 8, 0xADADAD}, {35, 14, kFace});
        for (int style : {1, 6}) { // disabled: a shadow silhouette, and a light copy down-right but for 6
            PictureHost off(style);
            off.button->setEnabled(false);
            CHECK_PIXELS(off, {29, 8, kShadow}, {30, 9, style == 6 ? kFace : kWhite}, {35, 14, kFace}, {36, 15, kFace});
        }
        flat.button->setUseMaskColor(true), flat.button->setSpecialEffect(1); // embossed: S(face, -40) down-right, light up-left
        CHECK_PIXELS(flat, {30, 9, 0xB8B8B8}, {28, 7, kWhite}, {29, 8, 0x000080});
        flat.button->setSpecialEffect(3); // shadowed: the dark copy only
        CHECK_PIXELS(flat, {30, 9, 0xB8B8B8}, {28, 7, kFace});
    }
};

QTEST_MAIN(TestButton)
#include "tst_button.moc"
