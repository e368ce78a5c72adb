// The button's properties, stored settings, change notices, colour schemes, the drawing
// skip rule and what assistive technology sees.
#include "ButtonTestSupport.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QtTest>

using namespace buttoncolor;

namespace {
const QStringList kKeyOrder = {"BTYPE", "TX",     "ENAB",  "FONT", "COLTYPE", "FOCUSR", "BCOL", "BCOLO",
                               "FCOL",  "FCOLO",  "MCOL",  "MPTR", "MICON",   "PICN",   "PICH", "UMCOL",
                               "SOFT",  "PICPOS", "NGREY", "FX",   "HAND",    "CHECK",  "VALUE"};
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
        QVERIFY(problems.at(0).contains(QStringLiteral("\"BTYPE\"")));
        QVERIFY(problems.at(1).contains(QStringLiteral("\"FCOL\"")));
        QCOMPARE(b.ButtonType(), 2);                              // its default
        QCOMPARE(b.ForeColor(), TranslateColor(systemColor(18))); // its default
        QCOMPARE(b.ColorScheme(), 2);                             // the rest is read
    }

    void settersNameTheirKey() {
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

    void overColoursFollowOnlyInDesignMode() {
        chameleonButton b;
        b.setBackOver(0x0000FF);
        b.setBackColor(0x00FF00);
        QCOMPARE(b.BackOver(), 0x0000FFu);
        b.setDesignMode(true);
        b.setForeColor(0x654321);
        QCOMPARE(b.ForeOver(), 0x654321u);
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
    }

    void valueDrawsDownOnlyAsACheckBox() {
        ButtonHost host(3);
        chameleonButton* b = host.button;
        const QImage up = b->surface();
        b->setValue(true);
        QCOMPARE(b->surface(), up);
        b->setCheckBoxBehaviour(true);
        QCOMPARE(b->lastState(), 2);
        QVERIFY(b->surface() != up);
        b->DrawButton(0, true); // still down while Value is set
        QCOMPARE(b->lastState(), 2);
    }

    void accessibleAsAPushButton() {
        ButtonHost host(3, 67, 25, QStringLiteral("&Open"));
        host.button->setToolTip(QStringLiteral("Opens a file list"));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(host.button);
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Open"));
        QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Opens a file list"));
        QAccessibleActionInterface* actions = iface->actionInterface();
        QVERIFY(actions);
        QCOMPARE(actions->actionNames(), QStringList({QAccessibleActionInterface::pressAction()}));
        QSignalSpy clicks(host.button, &chameleonButton::Click);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 1);
        host.button->setEnabled(false);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 1);
    }
};

QTEST_MAIN(TestButtonProperties)
#include "tst_buttonproperties.moc"
