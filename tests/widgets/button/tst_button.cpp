// The button: its input as the platform delivers it to its window (the order of the mouse and key events,
// dragging, the double click, the hover timer, the arrow keys, the access key, the container's colours);
// its properties and stored settings, change notices, colour schemes, access keys, the drawing skip rule
// and what assistive technology sees; and drawn buttons read back pixel by pixel: every style in its looks,
// the window shapes, the line and frame primitives, pictures (size, placement, mask colour, greyscale,
// fading, silhouettes, relief). Colours are 0x00BBGGRR, worked out by hand from the drawing rules. The
// buttons use the windows' stored settings: face E0E0E0, shadow A0A0A0, light FFFFFF, dark 202020, hot
// 606060, blue caption.
#include "widgets/button/AccessKey.h"
#include "widgets/button/ButtonCanvas.h"
#include "widgets/button/ButtonColor.h"
#include "widgets/button/ButtonPicture.h"
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
#include <array>
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
    bool unhover() { // the pointer leaves; the hover timer notices it
        QCursor::setPos(container->mapToGlobal(QPoint(2, 2)));
        return QTest::qWaitFor([&] { return !button->isHovered(); }, 1000);
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
// A button whose caption is only blanks, so that the picture is centred at (25, 4).
struct PictureHost : ButtonHost {
    explicit PictureHost(int style, const QImage& picture = markedPicture()) : ButtonHost(style, W, H, "   ") {
        button->setPictureNormal(picture);
    }
    // Picture pixels {i, j, dx, dy} whose colour differs, as "i,j+dx+dy=found".
    QString differing(const QList<std::array<int, 4>>& at, const QList<quint32>& colours) const {
        QStringList out;
        const QRect r = button->pictureRect();
        for (int k = 0; k < at.size(); ++k)
            if (const quint32 c = px(r.x() + at[k][0] + at[k][2], r.y() + at[k][1] + at[k][3]); c != colours[k])
                out << QStringLiteral("%1,%2%+3%+4=%5").arg(at[k][0]).arg(at[k][1]).arg(at[k][2]).arg(at[k][3]).arg(c, 6, 16);
        return out.join(' ');
    }
};
// The dark (D) and light (L) marked pixels, in place, up-left (UL) and down-right (DR); O the corner.
const std::array<int, 4> D{4, 4, 0, 0}, DUL{4, 4, -1, -1}, DDR{4, 4, 1, 1}, L{10, 10, 0, 0}, LUL{10, 10, -1, -1},
    LDR{10, 10, 1, 1}, O{0, 0, 0, 0};
#define CHECK_PICTURE(host, at, ...) QCOMPARE((host).differing(at, QList<quint32>{__VA_ARGS__}), QString())
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
        auto toRight = QObject::connect(b, &chameleonButton::MouseDown, b, [](short& button, short&, float&, float&) { button = 2; });
        w.press(w.on(0)); // a handler made the press a right one: not drawn down, no Click
        QCOMPARE(b->lastState() * 10 + b->lastButton(), 2);
        w.release(w.on(0)), QObject::disconnect(toRight), b->setCheckBoxBehaviour(true); // a check box: the value is inverted
        QVERIFY(w.clicks().isEmpty()); // before Click is raised
        bool valueInClick = false;
        QObject::connect(b, &chameleonButton::Click, b, [&] { valueInClick = b->Value(); });
        w.click(w.on(0));
        QVERIFY(valueInClick && b->lastState() == 2); // and drawn down while set
        b->setEnabled(false), w.click(w.on(0));
        QVERIFY(b->Value());
        QCOMPARE(w.clicks(), QStringList({"b1 Click"}));

        b = w.buttons[1]; // dragged out: drawn up; back in: down again
        w.moveTo(w.on(1)), w.press(w.on(1)), w.moveTo(Window::outside());
        const int outside = b->lastState();
        w.moveTo(w.on(1, QPoint(30, 10)));
        QCOMPARE(outside * 10 + b->lastState(), 2);
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

    void keysSpaceEnterArrowsAndTheAccessKey() {
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
        b->setCaption("&Open"), QTest::keyClick(&w.top, Qt::Key_O, Qt::AltModifier);
        QVERIFY(w.take() == QStringList({"b2 Click"}) && b->lastButton() == 1);
        QTest::keyClick(&w.top, Qt::Key_O); // without Alt, or disabled: nothing
        b->setEnabled(false), QTest::keyClick(&w.top, Qt::Key_O, Qt::AltModifier);
        QVERIFY(w.take().isEmpty());
    }

    void hoverAndContainerColours() {
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
        b->setButtonType(13), w.moveTo(w.on(0, QPoint(1, 1))); // the oval takes only its ellipse
        QTRY_VERIFY_WITH_TIMEOUT(!b->isHovered(), 1000);
        w.take(), w.click(w.on(0, QPoint(1, 1)));
        QVERIFY(w.take().isEmpty());
        w.moveTo(w.on(0, QPoint(33, 12)));
        QVERIFY(b->isHovered());

        b->setButtonType(8), b->setColorScheme(4); // the container's colours follow its changes
        QPalette pal = w.top.palette();
        pal.setColor(QPalette::Window, QColor(0x30, 0x60, 0x90)), w.top.setPalette(pal);
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
        QVERIFY(d.BackColor() == TranslateColor(systemColor(15)) && d.MaskColor() == 0xC0C0C0u);
        QCOMPARE(d.MousePointer(), 1); // HAND false resets the pointer to the arrow
        PropertyBag onlyColours; // the over colours default to the colours just read
        onlyColours.setColor("bcol", 0x123456), onlyColours.setColor("fcol", 0x654321);
        d.ReadProperties(onlyColours);
        QVERIFY(d.BackOver() == 0x123456u && d.ForeOver() == 0x654321u);

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

    void settersNameTheirKeyAndOverColoursFollowInDesignMode() {
        chameleonButton b;
        QSignalSpy spy(&b, &chameleonButton::PropertyChanged);
        b.setBackColor(1), b.setCaption("x"), b.setPictureOver(QImage()), b.setPicturePosition(1), b.setValue(true);
        b.setFontBold(true); // the font attributes raise no notice
        QStringList keys;
        for (const QList<QVariant>& notice : spy) keys << notice.at(0).toString();
        QCOMPARE(keys, QStringList({"BCOL", "TX", "PICO", "PICPOS", "VALUE"})); // PICH's notice names PICO
        chameleonButton c; // the over colours follow the colours only in design mode
        c.setBackOver(0x0000FF), c.setBackColor(0x00FF00), c.setDesignMode(true), c.setForeColor(0x654321);
        QVERIFY(c.BackOver() == 0x0000FFu && c.ForeOver() == 0x654321u);
    }

    void colourSchemes() {
        ButtonHost host(2);
        const chameleonButton::Palette& p = host.button->colors();
        host.button->setBackColor(0x808080); // custom: derived from BackColor
        QVERIFY(p.cShadow == 0x404040u && p.cFaceBright == 0xB0B0B0u); // not the gradient style
        host.button->setButtonType(3), host.button->Refresh();
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

        ButtonHost check(3); // Value draws the button down only as a check box, and keeps it down
        const QImage up = check.button->surface();
        check.button->setValue(true);
        QCOMPARE(check.button->surface(), up);
        check.button->setCheckBoxBehaviour(true), check.button->DrawButton(0, true);
        QVERIFY(check.button->lastState() == 2 && check.button->surface() != up);
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
        look("classic down", 1, Press, {{1, 5, kShadow}, {W - 2, 5, kWhite}});
        look("3-D", 2, 0, {{0, 5, kWhite}, {W - 1, 5, kDark}, {5, H - 1, kDark}, {W - 2, 5, kShadow}});
        look("3-D default", 2, Focus | Default, {{0, 5, kDark}, {1, 5, kWhite}, {W - 2, 5, kDark}, {4, 4, 0x1F1F1F}});
        look("3-D down", 2, Press, {{1, 5, kShadow}, {W - 1, 5, kWhite}, {W - 2, 5, kWhite}});
        look("rounded light", 4, 0, {{0, 5, kDark}, {1, 1, kDark}, {5, 5, kWhite}, {10, 2, kWhite}, {W - 3, 5, kFace},
             {10, H - 3, kFace}, {W - 2, 5, kShadow}, {10, H - 2, kShadow}, {W - 3, H - 3, kShadow}});
        look("rounded light down", 4, Press, {{1, 5, 0x606060}, {2, 5, 0x808080}, {4, 5, 0x909090},
             {W - 3, 5, kShadow}, {W - 3, H - 2, 0x808080}}, kWhite);
        look("flat etched", 5, 0, {{0, 5, 0x868686}, {W - 2, 5, 0x868686}, {1, 5, kWhite}, {W - 1, 5, kWhite},
             {5, 5, 0xECECEC}, {1, H - 2, 0xBABABA}});
        look("flat etched down", 5, Press, {{3, 5, 0xB0B0B0}, {W - 1, 5, kWhite}, {5, H - 1, kWhite}}, kBlue);
        look("flat etched disabled", 5, Disable, {{0, 5, kShadow}, {W - 1, 5, kShadow}, {5, 5, kFace}}, kShadow);
        look("soft", 6, 0, {{0, 5, kWhite}, {W - 1, 5, kShadow}, {W - 2, 5, kShadow}});
        look("thin", 7, 0, {{0, 5, kWhite}, {W - 1, 5, kShadow}, {1, 5, kFace}});
        look("flat", 8, 0, {{0, 5, kFace}, {W - 1, 5, kFace}}, kBlue);
        look("flat hovered", 8, Hover, {{0, 5, kWhite}, {W - 1, 5, kShadow}});
        look("flat highlight hovered", 9, Hover, {{0, 5, 0x606060}, {5, 5, kFace}});
        look("flat highlight down", 9, Hover | Press, {{0, 5, 0x606060}, {5, 5, 0xC0C0C0}});
        look("transparent", 11, 0, {{0, 0, 0xC8C89F}, {W - 1, H - 1, 0xC8C89F}}, kBlue);
        look("flat hover 3-D hovered", 12, Hover, {{0, 5, kWhite}, {W - 1, 5, kDark}, {W - 2, 5, kShadow}});
        look("flat hover 3-D down", 12, Press, {{0, 5, kDark}, {W - 1, 5, kWhite}});
        look("oval, pen in the face colour", 13, 0, {{0, H / 2, kFace}});
        look("oval hovered", 13, Hover, {{0, H / 2, kShadow}, {W / 2, 0, kShadow}});
        look("oval down", 13, Press, {{0, H / 2, kDark}, {5, H / 2, 0xC0C0C0}});
        // GradientFramed: row i is shifted by -(58 / 25) i, rounded.
        look("gradient framed", 14, 0, {{5, 10, 0xE8E8E8}, {5, 20, 0xD1D1D1}, {0, 5, 0x6E6E6E}, {1, 5, 0xD7D7D7},
             {10, 2, kWhite}, {3, 10, kWhite}});
        look("gradient framed down", 14, Press, {{5, 10, 0xD7D7D7}, {0, 5, 0x707070}, {10, H - 2, kWhite}, {W - 2, 10, kWhite}});
        look("gradient framed disabled", 14, Disable, {{5, 10, 0xE8E8E8}, {0, 5, 0x6E6E6E}}, kFace);
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

    void theGradientFollowsHeightAndState() {
        ButtonHost host(3, W, H);
        host.button->resize(W, 50); // redrawn for the new height at once; halves round to even
        CHECK_PIXELS(host, {3, 5, 0xFDFDFD}, {3, 7, 0xFAFBFB}, {3, 25, 0xF0F3F3}, {3, 46, 0xE1E8E8}, {3, 49, kOutline});
        host.button->resize(W, H), host.focusIn(), host.button->setShowFocusRect(false);
        CHECK_PIXELS(host, {10, H - 2, 0xC0CFCF}); // plain edges
    }

    void windowShapes_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QList<QPoint>>("cut");  // outside the window's shape
        QTest::addColumn<QList<QPoint>>("kept"); // beside them, inside
        const QList<QPoint> corners = {{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}};
        using P = QList<QPoint>;
        QTest::newRow("gradient rounded") << 3 << corners + P{{1, 0}, {0, 1}, {W - 2, H - 1}} << P{{2, 0}, {1, 1}, {0, 2}, {W - 2, H - 2}};
        QTest::newRow("rounded light") << 4 << corners + P{{W - 1, 1}, {1, H - 1}} << P{{1, 1}};
        QTest::newRow("classic") << 1 << corners << P{{1, 0}, {0, 1}, {W - 2, H - 1}};
        QTest::newRow("gradient framed") << 14 << corners << P{{1, 0}, {W - 1, H - 2}};
        QTest::newRow("flat etched") << 5 << P{{0, H - 1}, {W - 1, 0}} << P{{0, 0}, {W - 1, H - 1}};
        QTest::newRow("oval: pixels whose centre is in the ellipse") << 13 << P{{0, 0}, {23, 0}, {43, 0}, {17, 1}, {4, 1}}
                                                                     << P{{24, 0}, {42, 0}, {18, 1}, {0, H / 2}, {W - 1, H / 2}};
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

    void coloursBesideTheTable() {
        ButtonHost flat(8, W, H);
        flat.button->setBackOver(0xC0FFC0), flat.hover();
        CHECK_PIXELS(flat, {5, 5, 0xC0FFC0}, {W - 1, 5, 0x80BF80}); // BackOver and its shadow
        QCOMPARE(flat.button->colors().cFace, kFace);               // restored after the drawing
        ButtonHost plain(10, W, H); // the plain face: no caption, no frame, in every state
        plain.hover(), plain.press();
        QCOMPARE(plain.button->surface().convertToFormat(QImage::Format_RGB32), filled(W, H, buttoncolor::toQRgb(kFace)));
        for (int type : {0, 15, -3}) QCOMPARE(ButtonHost(type, W, H).button->surface(), ButtonHost(10, W, H).button->surface());
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

    void pictureSizeAndPlacement() {
        using buttonpicture::hiMetricToPixels; // 16 pixels at 96 dpi are 423 units of 0.01 mm; halves to even
        QCOMPARE(QList<int>({hiMetricToPixels(423), hiMetricToPixels(39.6875), hiMetricToPixels(119.0625), hiMetricToPixels(198.4375)}),
                 QList<int>({16, 2, 4, 8}));
        QImage dense = filled(32, 20, 0xFF00FF00);
        dense.setDotsPerMeterX(7559), dense.setDotsPerMeterY(7559); // 192 dpi: half as many screen pixels
        QCOMPARE(buttonpicture::storedSize(dense), QSize(423, 265));
        ButtonHost host(8, W, H, "   ");
        host.button->setPictureNormal(dense);
        QCOMPARE(host.button->pictureRect(), QRect((W - 16) / 2, (H - 10) / 2, 16, 10));
        dense.setPixel(16, 0, 0xFFFF0000), host.button->setPictureNormal(dense); // larger than its size: the top-left part only
        QVERIFY(host.px(25 + 15, 7) == 0x00FF00u && host.px(25 + 16, 7) == kFace);

        for (int position = 0; position <= 4; ++position) { // left, right, top, bottom, behind the caption
            const int height = position == 2 || position == 3 ? 50 : 25;
            ButtonHost go(8, W, height, "Go");
            go.button->setPicturePosition(position);
            go.button->setPictureNormal(filled(16, 16, 0xFF00FF00));
            const QRect t = go.button->textRect(), p = go.button->pictureRect();
            const QPoint expected[] = {{t.left() - 20, (height - 16) / 2}, {t.right() + 5, (height - 16) / 2},
                                       {(W - 16) / 2, t.top() - 18}, {(W - 16) / 2, t.bottom() + 3}, {(W - 16) / 2, (height - 16) / 2}};
            QCOMPARE(p.topLeft(), expected[position]);
            QVERIFY(go.px(p.x(), p.y()) == 0x00FF00u && go.px(p.right(), p.bottom()) == 0x00FF00u);
            QVERIFY(position == 4 ? go.hasColourIn(t.intersected(p), kBlue) : !t.intersects(p)); // behind: under the caption
            go.button->setCaption("  "); // blanks only: centred
            QCOMPARE(go.button->pictureRect().topLeft(), QPoint((W - 16) / 2, (height - 16) / 2));
        }
    }

    void maskColourIconsAndGreyscale() {
        PictureHost host(8); // flat: the face lies under the picture, mask pixels keep it
        QCOMPARE(host.button->pictureRect(), QRect(25, 4, 16, 16));
        CHECK_PICTURE(host, (QList{O, D, L}), kFace, 0x000080, 0xF0F0F0);
        host.button->setUseMaskColor(false); // copied as a full rectangle
        CHECK_PICTURE(host, (QList{O, std::array<int, 4>{15, 15, 0, 0}}), kMask, kMask);
        host.button->setUseMaskColor(true), host.button->setMaskColor(0x000080); // now the dark pixel is the transparent one
        CHECK_PICTURE(host, (QList{D, O}), kFace, kMask);

        QImage pic = filled(16, 16, buttoncolor::toQRgb(kMask));
        // 0.3 red, then 0.59 green, then 0.11 blue, each rounded on the way: 3, 30, 88, 4, 254.
        const QRgb grey[] = {qRgb(5, 0, 5), qRgb(0, 50, 0), qRgb(0, 150, 0), qRgb(15, 0, 0), qRgb(255, 255, 255)};
        for (int i = 0; i < 5; ++i) pic.setPixel(i, 1, grey[i]);
        PictureHost greyHost(8, pic);
        greyHost.button->setUseGreyscale(true);
        CHECK_PIXELS(greyHost, {25, 5, 0x030303}, {26, 5, 0x1E1E1E}, {27, 5, 0x585858}, {28, 5, 0x040404},
                     {29, 5, 0xFEFEFE}, {25, 4, kFace});
        greyHost.hover(); // in colour while hovered
        CHECK_PIXELS(greyHost, {25, 5, 0x050005}, {26, 5, 0x003200}, {27, 5, 0x009600});
        QVERIFY(greyHost.unhover());
        CHECK_PIXELS(greyHost, {25, 5, 0x030303});
        PictureHost gradient(3, pic); // the gradient style, disabled: grey and one pixel down-right
        gradient.button->setEnabled(false);
        CHECK_PICTURE(gradient, (QList{std::array<int, 4>{1, 1, 1, 1}}), 0x1E1E1E);
        QVERIFY(gradient.differing({{1, 1, 0, 0}}, {0x1E1E1E}) != QString());
    }

    void fadingSilhouettesPressedPicturesAndRelief() {
        PictureHost host(9);
        CHECK_PICTURE(host, (QList{D, L, O}), 0x4A4AA0, 0xEAEAEA, kFace); // (2 x picture + face) \ 3
        host.hover(); // raised one pixel up-left over a shadow copy down-right
        CHECK_PICTURE(host, (QList{DUL, DDR, LUL, LDR, D}), 0x000080, kShadow, 0xF0F0F0, kShadow, kFace);
        host.press(); // down: in place over the pressed face S(face, -32)
        CHECK_PICTURE(host, (QList{D, DDR}), 0x000080, 0xC0C0C0);
        host.release(), host.button->setEnabled(false); // a silhouette of the dark pixels in S(shadow, 13)
        CHECK_PICTURE(host, (QList{D, L}), 0xADADAD, kFace);
        for (int style : {1, 7, 8, 6}) { // disabled: shadow silhouette, a light copy down-right but for 6
            PictureHost off(style);
            off.button->setEnabled(false);
            CHECK_PICTURE(off, (QList{D, DDR, L, LDR, O}), kShadow, style == 6 ? kFace : kWhite, kFace, kFace, kFace);
        }

        PictureHost classic(1);
        const QImage over = filled(16, 16, 0xFF00FF00);
        classic.press(); // the normal picture, one pixel down-right
        CHECK_PICTURE(classic, (QList{DDR}), 0x000080);
        classic.release(), classic.button->setPictureOver(over), classic.hover(); // drawn at the normal picture's size
        CHECK_PICTURE(classic, (QList{O, std::array<int, 4>{16, 16, 0, 0}}), 0x00FF00, kFace);

        PictureHost relief(8);
        relief.button->setSpecialEffect(1); // embossed: dark copy S(face, -40) down-right, light up-left
        CHECK_PICTURE(relief, (QList{DDR, DUL, D}), 0xB8B8B8, kWhite, 0x000080);
        relief.button->setSpecialEffect(3); // shadowed: the dark copy only
        CHECK_PICTURE(relief, (QList{DDR, DUL}), 0xB8B8B8, kFace);
        relief.press(); // the effect and the picture one pixel further
        CHECK_PICTURE(relief, (QList{std::array<int, 4>{4, 4, 2, 2}, DDR}), 0xB8B8B8, 0x000080);
    }
};

QTEST_MAIN(TestButton)
#include "tst_button.moc"
