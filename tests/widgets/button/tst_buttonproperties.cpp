// The button's properties, stored settings, change notices, colour schemes and colour
// arithmetic, access keys, the drawing primitives' pixel rules, the drawing skip rule and
// what assistive technology sees.
#include "ButtonTestSupport.h"
#include "widgets/button/AccessKey.h"
#include "widgets/button/ButtonCanvas.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QtTest>

using namespace buttoncolor;

namespace {
const QStringList kKeyOrder = {"BTYPE", "TX",     "ENAB",  "FONT", "COLTYPE", "FOCUSR", "BCOL", "BCOLO",
                               "FCOL",  "FCOLO",  "MCOL",  "MPTR", "MICON",   "PICN",   "PICH", "UMCOL",
                               "SOFT",  "PICPOS", "NGREY", "FX",   "HAND",    "CHECK",  "VALUE"};
constexpr quint32 kA = 0x0000FF, kB = 0x00FF00, kC = 0xFF0000, kD = 0xFFFF00, kBack = 0x101010;

QImage blank(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(toQRgb(kBack));
    return img;
}

// The pixels of a given colour, as "x,y" in row order.
QStringList pixelsOf(const QImage& img, quint32 colour) {
    QStringList out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (fromQRgb(img.pixel(x, y)) == colour) out << QStringLiteral("%1,%2").arg(x).arg(y);
    return out;
}
} // namespace

class TestButtonProperties : public QObject {
    Q_OBJECT

private slots:
    void missingKeysTakeTheirDefaults() {
        QWidget host;
        host.setFont(QFont(QStringLiteral("Liberation Serif"), 13));
        chameleonButton b(&host);
        b.setMousePointer(11);
        QVERIFY(b.ReadProperties(PropertyBag()).isEmpty());
        QCOMPARE(b.ButtonType(), 2);
        QCOMPARE(b.ColorScheme(), 1);
        QCOMPARE(b.Font().family(), QStringLiteral("Liberation Serif"));
        QVERIFY(b.Caption().isEmpty() && b.Enabled() && b.ShowFocusRect() && b.UseMaskColor());
        QCOMPARE(b.BackColor(), TranslateColor(systemColor(15)));
        QCOMPARE(b.ForeColor(), TranslateColor(systemColor(18)));
        QCOMPARE(b.MaskColor(), 0xC0C0C0u);
        QCOMPARE(b.MousePointer(), 1); // HAND false resets the pointer to the arrow
        QCOMPARE(b.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!b.SoftBevel() && !b.CheckBoxBehaviour() && !b.Value() && b.PictureNormal().isNull());
        PropertyBag onlyColours; // the over colours default to the colours just read
        onlyColours.setColor(QStringLiteral("bcol"), 0x123456);
        onlyColours.setColor(QStringLiteral("fcol"), 0x654321);
        b.ReadProperties(onlyColours);
        QCOMPARE(b.BackOver(), 0x123456u);
        QCOMPARE(b.ForeOver(), 0x654321u);
    }

    void roundTripKeepsEverySetting() {
        chameleonButton a;
        a.setButtonType(14);
        a.setCaption(QStringLiteral("&Copy"));
        a.setEnabled(false);
        QFont f(QStringLiteral("Liberation Sans"), 11);
        f.setItalic(true);
        a.setFont(f);
        a.setBackOver(0x445566);
        a.setForeColor(0x8000000D);
        a.setSoftBevel(true);
        a.setCheckBoxBehaviour(true);
        a.setValue(true);
        a.setHandPointer(true);
        QImage pic(5, 4, QImage::Format_RGB32);
        pic.fill(Qt::red);
        a.setPictureOver(pic);
        PropertyBag first;
        a.WriteProperties(first);
        QCOMPARE(first.keys(), kKeyOrder); // every key, in order
        chameleonButton b;
        QVERIFY(b.ReadProperties(first).isEmpty());
        PropertyBag second;
        b.WriteProperties(second);
        for (const QString& key : kKeyOrder)
            QVERIFY2(first.value(key) == second.value(key), qPrintable(key));
        QCOMPARE(b.ButtonType(), 14);
        QVERIFY(!b.isEnabled() && b.FontItalic() && b.Value());
        QCOMPARE(b.ForeColor(), 0x8000000Du); // stored untranslated
        QCOMPARE(b.PictureOver(), pic);
        QCOMPARE(b.MousePointer(), 99);
        QCOMPARE(b.cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(b.accessKey(), QChar(u'c'));
    }

    void windowsStoredSettings() {
        chameleonButton b;
        PropertyBag about = standardButtonProperties(QStringLiteral("OK"), 0xC0C0C0);
        QCOMPARE(about.keys().join(u','), kKeyOrder.join(u',').toLower()); // held in lower case
        QVERIFY(b.ReadProperties(about).isEmpty());
        QCOMPARE(b.ButtonType(), 3);
        QCOMPARE(b.ColorScheme(), 2);
        QCOMPARE(b.BackOver(), 0xC0C0C0u);
        QCOMPARE(b.ForeOver(), 0xFF0000u);
        QCOMPARE(b.FontName(), QStringLiteral("MS Sans Serif"));
        QVERIFY(b.FontBold() && !b.HandPointer());
        about.set(QStringLiteral("btype"), QStringLiteral("rounded")); // unusable values are reported
        about.set(QStringLiteral("fcol"), QStringLiteral("blue"));
        const QStringList problems = b.ReadProperties(about);
        QCOMPARE(problems.size(), 2);
        QVERIFY(problems.at(0).contains(QStringLiteral("\"BTYPE\"")) &&
                problems.at(1).contains(QStringLiteral("\"FCOL\"")));
        QCOMPARE(b.ButtonType(), 2);                              // its default
        QCOMPARE(b.ForeColor(), TranslateColor(systemColor(18))); // its default
        QCOMPARE(b.ColorScheme(), 2);                             // the rest is read
    }

    void settersNameTheirKeyAndOverColoursFollowInDesignMode() {
        chameleonButton b;
        QSignalSpy spy(&b, &chameleonButton::PropertyChanged);
        b.setBackColor(1);
        b.setCaption(QStringLiteral("x"));
        b.setPictureOver(QImage()); // stored under PICH, but its notice names PICO
        b.setPicturePosition(1);
        b.setValue(true);
        b.setFontBold(true); // the font attributes raise no notice
        QStringList keys;
        for (const QList<QVariant>& notice : spy)
            keys << notice.at(0).toString();
        QCOMPARE(keys, QStringList({"BCOL", "TX", "PICO", "PICPOS", "VALUE"}));

        chameleonButton c;
        c.setBackOver(0x0000FF);
        c.setBackColor(0x00FF00);
        QCOMPARE(c.BackOver(), 0x0000FFu);
        c.setDesignMode(true);
        c.setForeColor(0x654321);
        QCOMPARE(c.ForeOver(), 0x654321u);
    }

    void colourSchemes() {
        ButtonHost host(2);
        const chameleonButton::Palette& p = host.button->colors();
        host.button->setBackColor(0x808080); // custom: derived from BackColor
        QCOMPARE(p.cShadow, 0x404040u);
        QCOMPARE(p.cFaceBright, 0xB0B0B0u); // not the gradient style
        host.button->setButtonType(3);
        host.button->Refresh();             // recomputes the colours
        QCOMPARE(p.cFaceBright, 0xA0B0B0u); // gradient: blue + 128 * 48 \ 192
        host.button->setSoftBevel(true);
        QCOMPARE(p.cShadow, 0x606060u);
        host.button->setColorScheme(3); // fixed
        QCOMPARE(p.cFace, 0xC0C0C0u);
        QCOMPARE(p.cLight, 0xDFDFDFu);
        QCOMPARE(p.cHotLight, 0xD1ADADu);
        host.button->setColorScheme(4); // the container's background and text colours
        QCOMPARE(p.cFace, fromQRgb(ButtonHost::kContainerColour));
        QCOMPARE(p.cShadow, ShiftColor(p.cFace, -32, false, false)); // still soft
        QCOMPARE(p.cText, fromQRgb(host.container->palette().color(QPalette::WindowText).rgb()));
        const QPalette saved = QGuiApplication::palette();
        QPalette pal = saved;
        pal.setColor(QPalette::Button, QColor(0xD4, 0xD0, 0xC8));
        pal.setColor(QPalette::Highlight, QColor(0, 0, 0x80));
        QApplication::setPalette(pal);
        host.button->setColorScheme(1); // the system's colours
        QCOMPARE(p.cFace, rgb(0xD4, 0xD0, 0xC8));
        QCOMPARE(p.cHotLight, BlendColor(0x800000, 176));
        QApplication::setPalette(saved);
    }

    void shiftAndBlendColours_data() {
        QTest::addColumn<uint>("colour");
        QTest::addColumn<int>("amount");
        QTest::addColumn<bool>("gradient");
        QTest::addColumn<bool>("soft");
        QTest::addColumn<uint>("expected");
        QTest::newRow("+31 clamps") << 0xE0E0E0u << 31 << false << false << 0xFFFFFFu;
        QTest::newRow("-64") << 0xE0E0E0u << -64 << false << false << 0xA0A0A0u;
        QTest::newRow("-64 soft") << 0xE0E0E0u << -64 << false << true << 0xC0C0C0u;
        QTest::newRow("-255 clamps at 0") << 0x102030u << -255 << false << false << 0u;
        QTest::newRow("0 changes nothing") << 0x123456u << 0 << false << false << 0x123456u;
        QTest::newRow("soft halves toward 0") << 0x808080u << -5 << false << true << 0x7E7E7Eu;
        QTest::newRow("gradient, blue 0") << 0x0000FFu << 48 << true << false << 0x0030FFu;
        QTest::newRow("gradient, blue clamps") << 0xFF0000u << 48 << true << false << 0xFF3030u;
        QTest::newRow("gradient darkens") << 0xFFFFFFu << -13 << true << false << rgb(242, 242, 238);
        QTest::newRow("gradient truncates") << rgb(50, 50, 100) << -1 << true << false << rgb(49, 49, 100);
    }
    void shiftAndBlendColours() {
        QFETCH(uint, colour);
        QFETCH(int, amount);
        QFETCH(bool, gradient);
        QFETCH(bool, soft);
        QTEST(uint(ShiftColor(colour, amount, gradient, soft)), "expected");
        QCOMPARE(BlendColor(0x800000, 176), rgb(176, 176, 215));
        QCOMPARE(BlendColor(0x000000, 255), 0xFFFFFFu);
        QCOMPARE(BlendColor(rgb(10, 100, 200), 128), rgb(132, 177, 227));
    }

    void accessKeys() {
        const char* const cases[][3] = {{"&Open", "o", "Open"},
                                        {"Sa&Ve", "v", "SaVe"}, // lowered
                                        {"Save && Exit", "", "Save & Exit"},
                                        {"A&&B&C", "c", "A&BC"},
                                        {"Open&", "", "Open"},
                                        {"&Copy &File", "c", "Copy File"}};
        for (const auto& c : cases) {
            const QChar got = accessKeyOf(QString::fromLatin1(c[0]));
            QCOMPARE((got.isNull() ? QString() : QString(got)) + '|' +
                         captionWithoutMarkers(QString::fromLatin1(c[0])),
                     QString::fromLatin1(c[1]) + '|' + c[2]);
        }
    }

    void linesStopShortOfTheirEndAndFramesAreOnePath() {
        const struct {
            int x1, y1, x2, y2;
            QStringList pixels;
        } lines[] = {{1, 1, 5, 1, {"1,1", "2,1", "3,1", "4,1"}},
                     {8, 8, 8, 5, {"8,6", "8,7", "8,8"}},
                     {5, 5, 2, 5, {"3,5", "4,5", "5,5"}},
                     {3, 3, 3, 3, {}},
                     {6, 3, 4, 5, {"6,3", "5,4"}}};
        for (const auto& l : lines) {
            QImage img = blank(10, 10);
            ButtonCanvas(img).DrawLine(l.x1, l.y1, l.x2, l.y2, kA);
            QCOMPARE(pixelsOf(img, kA), l.pixels);
        }
        QImage img = blank(6, 5);
        ButtonCanvas(img).DrawFrame(kA, kB, kC, kD, 0, false);
        // Left and top in c1, right and bottom in c2; the bottom-left corner belongs to c2.
        QCOMPARE(pixelsOf(img, kA), QStringList({"0,0", "1,0", "2,0", "3,0", "4,0", "0,1", "0,2", "0,3"}));
        QCOMPARE(pixelsOf(img, kB).size(), 5 + 5);
        QCOMPARE(fromQRgb(img.pixel(0, 4)), kB);
        // The inner ring the same in c3 / c4, one pixel in.
        QCOMPARE(pixelsOf(img, kC), QStringList({"1,1", "2,1", "3,1", "1,2"}));
        QCOMPARE(pixelsOf(img, kD), QStringList({"4,1", "4,2", "1,3", "2,3", "3,3", "4,3"}));
        img = blank(7, 6);
        ButtonCanvas(img).DrawFrame(kA, kB, kC, kD, -1, true); // one pixel in, outer ring only
        QCOMPARE(pixelsOf(img, kA).first(), QStringLiteral("1,1"));
        QCOMPARE(pixelsOf(img, kB).last(), QStringLiteral("5,4")); // the bottom stops at x = 1
        QCOMPARE(pixelsOf(img, kA).size() + pixelsOf(img, kB).size(), 2 * 5 + 2 * 2);
        QCOMPARE(fromQRgb(img.pixel(0, 4)), kBack);
    }

    void drawingIsSkippedWhenNothingChanged() {
        ButtonHost host(3);
        chameleonButton* b = host.button;
        const quint64 start = b->drawCount();
        QVERIFY(start > 0);
        b->DrawButton(0, false);
        QCOMPARE(b->drawCount(), start);
        b->DrawButton(2, false);
        b->DrawButton(2, false);
        QCOMPARE(b->drawCount(), start + 1);
        b->DrawButton(2, true);
        QCOMPARE(b->drawCount(), start + 2);
        b->DisableRefresh();
        b->setCaption(QStringLiteral("Other"));
        b->DrawButton(0, false); // the caption changed, but drawing is off
        QCOMPARE(b->drawCount(), start + 2);
        b->Refresh();
        QCOMPARE(b->drawCount(), start + 3);
        b->DrawButton(2, false); // Refresh drew state 2 with the new caption
        QCOMPARE(b->drawCount(), start + 3);
        host.hover();
        host.hover(); // hovering again draws nothing
        QCOMPARE(b->drawCount(), start + 4);

        // Value draws the button down only as a check box.
        ButtonHost check(3);
        const QImage up = check.button->surface();
        check.button->setValue(true);
        QCOMPARE(check.button->surface(), up);
        check.button->setCheckBoxBehaviour(true);
        QCOMPARE(check.button->lastState(), 2);
        QVERIFY(check.button->surface() != up);
        check.button->DrawButton(0, true); // still down while Value is set
        QCOMPARE(check.button->lastState(), 2);
    }

    void accessibleAsAPushButton() {
        ButtonHost host(3, 67, 25, QStringLiteral("&Open"));
        host.button->setToolTip(QStringLiteral("Opens a file list"));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(host.button);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name) + '|' + iface->text(QAccessible::Description),
                 QStringLiteral("Open|Opens a file list"));
        QAccessibleActionInterface* actions = iface->actionInterface();
        QVERIFY(actions);
        QCOMPARE(actions->actionNames(), QStringList({QAccessibleActionInterface::pressAction()}));
        QSignalSpy clicks(host.button, &chameleonButton::Click);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 0); // the action answers first; the click runs right after
        QTRY_COMPARE(clicks.size(), 1);
        actions->doAction(QAccessibleActionInterface::pressAction());
        host.button->setEnabled(false); // disabled before its turn came: no click
        QCoreApplication::processEvents();
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QCOMPARE(clicks.size(), 1);
    }
};

QTEST_MAIN(TestButtonProperties)
#include "tst_buttonproperties.moc"
