// The button's properties and stored settings, change notices, colour schemes and arithmetic,
// access keys, the drawing skip rule and what assistive technology sees.
#include "ButtonTestSupport.h"
#include "widgets/button/AccessKey.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QtTest>

using namespace buttoncolor;

namespace {
const QStringList kKeyOrder = {"BTYPE", "TX",   "ENAB", "FONT",  "COLTYPE", "FOCUSR", "BCOL", "BCOLO",
                               "FCOL",  "FCOLO", "MCOL", "MPTR", "MICON",   "PICN",   "PICH", "UMCOL",
                               "SOFT",  "PICPOS", "NGREY", "FX", "HAND",    "CHECK",  "VALUE"};
}

class TestButtonProperties : public QObject {
    Q_OBJECT
private slots:
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
        QCOMPARE(d.BackOver(), 0x123456u);
        QCOMPARE(d.ForeOver(), 0x654321u);

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
        QCOMPARE(b.ForeColor(), 0x8000000Du); // stored untranslated
        QCOMPARE(b.cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(b.accessKey(), QChar(u'c'));

        PropertyBag about = standardButtonProperties("OK", 0xC0C0C0); // the windows' stored settings
        QCOMPARE(about.keys().join(u','), kKeyOrder.join(u',').toLower()); // held in lower case
        QVERIFY(b.ReadProperties(about).isEmpty());
        QCOMPARE(b.ButtonType() * 10 + b.ColorScheme(), 32);
        QCOMPARE(b.ForeOver(), 0xFF0000u);
        QVERIFY(b.FontName() == "MS Sans Serif" && b.FontBold() && !b.HandPointer());
        about.set("btype", "rounded"); // unusable values are reported and take their defaults
        about.set("fcol", "blue");
        const QStringList problems = b.ReadProperties(about);
        QCOMPARE(problems.size(), 2);
        QVERIFY(problems.at(0).contains("\"BTYPE\"") && problems.at(1).contains("\"FCOL\""));
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
        host.button->Refresh();
        QCOMPARE(p.cFaceBright, 0xA0B0B0u); // gradient: blue + 128 * 48 \ 192
        host.button->setSoftBevel(true);
        QCOMPARE(p.cShadow, 0x606060u);
        host.button->setColorScheme(3); // fixed
        QCOMPARE(p.cFace, 0xC0C0C0u);
        QCOMPARE(p.cLight, 0xDFDFDFu);
        QCOMPARE(p.cHotLight, 0xD1ADADu);
        host.button->setColorScheme(4); // the container's background and text colours, still soft
        QCOMPARE(p.cFace, 0xC8C89Fu);
        QCOMPARE(p.cShadow, 0xA8A87Fu);
        QCOMPARE(p.cText, fromQRgb(host.container->palette().color(QPalette::WindowText).rgb()));

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
        QCOMPARE(check.button->lastState(), 2);
        QVERIFY(check.button->surface() != up);
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
        actions->doAction(QAccessibleActionInterface::pressAction());
        host.button->setEnabled(false); // disabled before its turn came: no click
        QTest::qWait(10);
        QCOMPARE(clicks.size(), 1);
    }
};

QTEST_MAIN(TestButtonProperties)
#include "tst_buttonproperties.moc"
