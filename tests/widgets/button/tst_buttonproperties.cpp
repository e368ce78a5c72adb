// The button's properties, stored settings, change notices, the drawing skip rule, the
// click and what assistive technology sees.
#include "ButtonTestSupport.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QtTest>
#include <functional>

using buttoncolor::systemColor;
using buttoncolor::TranslateColor;

namespace {
const QStringList kKeyOrder = {"BTYPE", "TX",     "ENAB",  "FONT", "COLTYPE", "FOCUSR", "BCOL", "BCOLO",
                               "FCOL",  "FCOLO",  "MCOL",  "MPTR", "MICON",   "PICN",   "PICH", "UMCOL",
                               "SOFT",  "PICPOS", "NGREY", "FX",   "HAND",    "CHECK",  "VALUE"};
}

class TestButtonProperties : public QObject {
    Q_OBJECT

private slots:
    void bagKeysIgnoreCase() {
        PropertyBag bag;
        bag.setInt(QStringLiteral("btype"), 3);
        QVERIFY(bag.contains(QStringLiteral("BTYPE")));
        QCOMPARE(bag.readInt(QStringLiteral("BType"), 2), 3);
        bag.setInt(QStringLiteral("BTYPE"), 5); // the same key, replaced in place
        QCOMPARE(bag.size(), 1);
        QCOMPARE(bag.readInt(QStringLiteral("btype"), 2), 5);
        bag.setString(QStringLiteral("tx"), QStringLiteral("Go"));
        QCOMPARE(bag.keys(), QStringList({"btype", "tx"}));
        QVERIFY(bag.remove(QStringLiteral("TX")));
        QCOMPARE(bag.readString(QStringLiteral("tx"), QStringLiteral("none")), QStringLiteral("none"));
    }

    void bagConvertsOrRefusesValues() {
        PropertyBag bag;
        bag.set(QStringLiteral("a"), QPointF(1, 2));
        bag.set(QStringLiteral("n"), QStringLiteral("12"));
        bag.set(QStringLiteral("b"), QStringLiteral("twelve"));
        bag.set(QStringLiteral("c"), QStringLiteral("True"));
        bag.set(QStringLiteral("d"), -1);
        bag.set(QStringLiteral("e"), int(0x8000000F));
        bool ok = true;
        QCOMPARE(bag.readInt(QStringLiteral("n"), 0, &ok), 12);
        QVERIFY(ok);
        QCOMPARE(bag.readInt(QStringLiteral("b"), 7, &ok), 7);
        QVERIFY(!ok);
        ok = true;
        QCOMPARE(bag.readBool(QStringLiteral("c"), false, &ok), true);
        QCOMPARE(bag.readBool(QStringLiteral("d"), false, &ok), true);
        QCOMPARE(bag.readColor(QStringLiteral("e"), 0, &ok), 0x8000000Fu);
        QVERIFY(ok);
        QCOMPARE(bag.readFont(QStringLiteral("a"), QFont(QStringLiteral("X")), &ok).family(),
                 QStringLiteral("X"));
        QVERIFY(!ok);
    }

    void missingKeysTakeTheirDefaults() {
        QWidget host;
        QFont hostFont(QStringLiteral("Liberation Serif"), 13);
        host.setFont(hostFont);
        chameleonButton b(&host);
        b.setMousePointer(11);
        QVERIFY(b.ReadProperties(PropertyBag()).isEmpty());
        QCOMPARE(b.ButtonType(), 2);
        QCOMPARE(b.Caption(), QString());
        QVERIFY(b.Enabled());
        QCOMPARE(b.Font().family(), hostFont.family());
        QCOMPARE(b.ColorScheme(), 1);
        QVERIFY(b.ShowFocusRect());
        QCOMPARE(b.BackColor(), TranslateColor(systemColor(15)));
        QCOMPARE(b.BackOver(), b.BackColor());
        QCOMPARE(b.ForeColor(), TranslateColor(systemColor(18)));
        QCOMPARE(b.ForeOver(), b.ForeColor());
        QCOMPARE(b.MaskColor(), 0xC0C0C0u);
        QCOMPARE(b.MousePointer(), 1); // HAND false resets the pointer to the arrow
        QVERIFY(b.MouseIcon().isNull() && b.PictureNormal().isNull() && b.PictureOver().isNull());
        QVERIFY(b.UseMaskColor());
        QVERIFY(!b.SoftBevel() && !b.UseGreyscale() && !b.HandPointer() && !b.CheckBoxBehaviour() &&
                !b.Value());
        QCOMPARE(b.PicturePosition(), 0);
        QCOMPARE(b.SpecialEffect(), 0);

        PropertyBag onlyColours;
        onlyColours.setColor(QStringLiteral("bcol"), 0x123456);
        onlyColours.setColor(QStringLiteral("fcol"), 0x654321);
        b.ReadProperties(onlyColours);
        QCOMPARE(b.BackOver(), 0x123456u);
        QCOMPARE(b.ForeOver(), 0x654321u);
    }

    void writingStoresEveryKeyInOrder() {
        chameleonButton b;
        PropertyBag bag;
        b.WriteProperties(bag);
        QCOMPARE(bag.keys(), kKeyOrder);
    }

    void roundTripKeepsEverySetting() {
        chameleonButton a;
        a.setButtonType(14);
        a.setCaption(QStringLiteral("&Copy"));
        a.setEnabled(false);
        QFont f(QStringLiteral("Liberation Sans"), 11);
        f.setItalic(true);
        a.setFont(f);
        a.setColorScheme(3);
        a.setShowFocusRect(false);
        a.setBackColor(0x112233);
        a.setBackOver(0x445566);
        a.setForeColor(0x8000000D);
        a.setForeOver(0x778899);
        a.setMaskColor(0x00FF00);
        a.setUseMaskColor(false);
        a.setSoftBevel(true);
        a.setPicturePosition(2);
        a.setUseGreyscale(true);
        a.setSpecialEffect(3);
        a.setCheckBoxBehaviour(true);
        a.setValue(true);
        a.setHandPointer(true); // a stored pointer other than 99 would read back as the arrow
        QImage pic(5, 4, QImage::Format_RGB32);
        pic.fill(Qt::red);
        a.setPictureNormal(pic);
        a.setPictureOver(pic.mirrored());
        PropertyBag first;
        a.WriteProperties(first);

        chameleonButton b;
        QVERIFY(b.ReadProperties(first).isEmpty());
        PropertyBag second;
        b.WriteProperties(second);
        for (const QString& key : kKeyOrder)
            QVERIFY2(first.value(key) == second.value(key), qPrintable(key));
        QVERIFY(first == second);
        QCOMPARE(b.ButtonType(), 14);
        QCOMPARE(b.Caption(), QStringLiteral("&Copy"));
        QVERIFY(!b.Enabled() && !b.isEnabled());
        QVERIFY(b.FontItalic());
        QCOMPARE(b.ForeColor(), 0x8000000Du); // stored untranslated
        QCOMPARE(b.PictureOver(), pic.mirrored());
        QVERIFY(b.Value() && b.CheckBoxBehaviour());
        QCOMPARE(b.accessKey(), QChar(u'c'));
    }

    void windowsStoredSettings() {
        chameleonButton b;
        QVERIFY(b.ReadProperties(standardButtonProperties(QStringLiteral("Search"))).isEmpty());
        QCOMPARE(b.ButtonType(), 3);
        QCOMPARE(b.ColorScheme(), 2);
        QCOMPARE(b.BackColor(), 0xE0E0E0u);
        QCOMPARE(b.BackOver(), 0xE0E0E0u);
        QCOMPARE(b.ForeColor(), 0xFF0000u);
        QCOMPARE(b.ForeOver(), 0xFF0000u);
        QCOMPARE(b.MaskColor(), 0xC0C0C0u);
        QCOMPARE(b.MousePointer(), 1);
        QVERIFY(b.ShowFocusRect() && b.UseMaskColor() && b.Enabled());
        QVERIFY(b.FontBold());
        QCOMPARE(b.FontName(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(b.Font().pointSizeF(), 8.25);
        QCOMPARE(b.FontSize(), short(8));
        QVERIFY(!b.SoftBevel() && !b.HandPointer() && !b.CheckBoxBehaviour() && !b.Value());

        const PropertyBag about = standardButtonProperties(QStringLiteral("OK"), 0xC0C0C0);
        b.ReadProperties(about);
        QCOMPARE(b.BackColor(), 0xC0C0C0u);
        QCOMPARE(b.BackOver(), 0xC0C0C0u);
        // Every key is there, in lower case as the window definitions hold them.
        QStringList lower;
        for (const QString& k : kKeyOrder)
            lower << k.toLower();
        QCOMPARE(about.keys(), lower);
    }

    void unusableStoredValuesAreReported() {
        chameleonButton b;
        PropertyBag bag = standardButtonProperties(QStringLiteral("Go"));
        bag.set(QStringLiteral("btype"), QStringLiteral("rounded"));
        bag.set(QStringLiteral("fcol"), QStringLiteral("blue"));
        const QStringList problems = b.ReadProperties(bag);
        QCOMPARE(problems.size(), 2);
        QVERIFY(problems.at(0).contains(QStringLiteral("\"BTYPE\"")));
        QVERIFY(problems.at(1).contains(QStringLiteral("\"FCOL\"")));
        QCOMPARE(b.ButtonType(), 2);                              // its default
        QCOMPARE(b.ForeColor(), TranslateColor(systemColor(18))); // its default
        QCOMPARE(b.Caption(), QStringLiteral("Go"));              // the rest is read
        QCOMPARE(b.ColorScheme(), 2);
    }

    void handPointerOverridesStoredPointer() {
        chameleonButton b;
        PropertyBag bag;
        bag.setInt(QStringLiteral("MPTR"), 11);
        bag.setBool(QStringLiteral("HAND"), true);
        b.ReadProperties(bag);
        QCOMPARE(b.MousePointer(), 99);
        QCOMPARE(b.cursor().shape(), Qt::PointingHandCursor);
        bag.setBool(QStringLiteral("HAND"), false);
        b.ReadProperties(bag);
        QCOMPARE(b.MousePointer(), 1);
        QCOMPARE(b.cursor().shape(), Qt::ArrowCursor);
        b.setMousePointer(11);
        QCOMPARE(b.cursor().shape(), Qt::WaitCursor);
    }

    void settersNameTheirKey_data() {
        QTest::addColumn<std::function<void(chameleonButton&)>>("set");
        QTest::addColumn<QString>("key");
        using F = std::function<void(chameleonButton&)>;
        QTest::newRow("BackColor") << F([](chameleonButton& b) { b.setBackColor(1); }) << "BCOL";
        QTest::newRow("BackOver") << F([](chameleonButton& b) { b.setBackOver(1); }) << "BCOLO";
        QTest::newRow("ForeColor") << F([](chameleonButton& b) { b.setForeColor(1); }) << "FCOL";
        QTest::newRow("ForeOver") << F([](chameleonButton& b) { b.setForeOver(1); }) << "FCOLO";
        QTest::newRow("MaskColor") << F([](chameleonButton& b) { b.setMaskColor(1); }) << "MCOL";
        QTest::newRow("ButtonType") << F([](chameleonButton& b) { b.setButtonType(4); }) << "BTYPE";
        QTest::newRow("Caption") << F([](chameleonButton& b) { b.setCaption("x"); }) << "TX";
        QTest::newRow("Enabled") << F([](chameleonButton& b) { b.setEnabled(false); }) << "ENAB";
        QTest::newRow("Font") << F([](chameleonButton& b) { b.setFont(QFont("Liberation Sans")); }) << "FONT";
        QTest::newRow("ColorScheme") << F([](chameleonButton& b) { b.setColorScheme(3); }) << "COLTYPE";
        QTest::newRow("ShowFocusRect")
            << F([](chameleonButton& b) { b.setShowFocusRect(false); }) << "FOCUSR";
        QTest::newRow("MousePointer") << F([](chameleonButton& b) { b.setMousePointer(2); }) << "MPTR";
        QTest::newRow("MouseIcon") << F([](chameleonButton& b) { b.setMouseIcon(QImage()); }) << "MICON";
        QTest::newRow("HandPointer") << F([](chameleonButton& b) { b.setHandPointer(true); }) << "HAND";
        QTest::newRow("SoftBevel") << F([](chameleonButton& b) { b.setSoftBevel(true); }) << "SOFT";
        QTest::newRow("PictureNormal")
            << F([](chameleonButton& b) { b.setPictureNormal(QImage()); }) << "PICN";
        QTest::newRow("PictureOver") << F([](chameleonButton& b) { b.setPictureOver(QImage()); }) << "PICO";
        QTest::newRow("PicturePosition")
            << F([](chameleonButton& b) { b.setPicturePosition(1); }) << "PICPOS";
        QTest::newRow("UseMaskColor") << F([](chameleonButton& b) { b.setUseMaskColor(false); }) << "UMCOL";
        QTest::newRow("UseGreyscale") << F([](chameleonButton& b) { b.setUseGreyscale(true); }) << "NGREY";
        QTest::newRow("SpecialEffect") << F([](chameleonButton& b) { b.setSpecialEffect(1); }) << "FX";
        QTest::newRow("CheckBoxBehaviour")
            << F([](chameleonButton& b) { b.setCheckBoxBehaviour(true); }) << "CHECK";
        QTest::newRow("Value") << F([](chameleonButton& b) { b.setValue(true); }) << "VALUE";
        QTest::newRow("FontBold, no notice") << F([](chameleonButton& b) { b.setFontBold(true); }) << "";
        QTest::newRow("FontSize, no notice") << F([](chameleonButton& b) { b.setFontSize(12); }) << "";
    }

    void settersNameTheirKey() {
        QFETCH(std::function<void(chameleonButton&)>, set);
        QFETCH(QString, key);
        chameleonButton b;
        QSignalSpy spy(&b, &chameleonButton::PropertyChanged);
        set(b);
        QCOMPARE(spy.size(), key.isEmpty() ? 0 : 1);
        if (!key.isEmpty()) QCOMPARE(spy.at(0).at(0).toString(), key);
    }

    void overColoursFollowOnlyInDesignMode() {
        chameleonButton b;
        b.ReadProperties(standardButtonProperties(QStringLiteral("Go")));
        b.setBackColor(0x00FF00);
        b.setForeColor(0x0000FF);
        QCOMPARE(b.BackOver(), 0xE0E0E0u);
        QCOMPARE(b.ForeOver(), 0xFF0000u);
        b.setDesignMode(true);
        b.setBackColor(0x123456);
        b.setForeColor(0x654321);
        QCOMPARE(b.BackOver(), 0x123456u);
        QCOMPARE(b.ForeOver(), 0x654321u);
        b.setButtonType(5); // design mode chooses a bold font for this style
        QVERIFY(b.FontBold());
    }

    void newInstanceDefaults() {
        chameleonButton b;
        b.InitProperties(QStringLiteral("chameleonButton1"));
        QCOMPARE(b.Caption(), QStringLiteral("chameleonButton1"));
        QCOMPARE(b.ButtonType(), 2);
        QCOMPARE(b.ColorScheme(), 1);
        QCOMPARE(b.BackColor(), TranslateColor(systemColor(15)));
        QCOMPARE(b.BackOver(), b.BackColor());
        QCOMPARE(b.ForeColor(), TranslateColor(systemColor(18)));
        QCOMPARE(b.MaskColor(), 0xC0C0C0u);
        QVERIFY(b.Enabled() && b.ShowFocusRect() && b.UseMaskColor());
        QCOMPARE(b.Version(), QStringLiteral("2.0.6"));
        QCOMPARE(chameleonButton().Version(), QStringLiteral("2.0.6"));
    }

    void drawingIsSkippedWhenNothingChanged() {
        ButtonHost host(3);
        chameleonButton* b = host.button;
        const quint64 start = b->drawCount();
        QVERIFY(start > 0);
        b->DrawButton(0, false);
        QCOMPARE(b->drawCount(), start);
        b->DrawButton(2, false);
        QCOMPARE(b->drawCount(), start + 1);
        QCOMPARE(b->lastState(), 2);
        b->DrawButton(2, false);
        QCOMPARE(b->drawCount(), start + 1);
        b->DrawButton(2, true);
        QCOMPARE(b->drawCount(), start + 2);

        b->DisableRefresh();
        b->setCaption(QStringLiteral("Other"));
        QCOMPARE(b->drawCount(), start + 2);
        b->DrawButton(0, false); // the caption changed, but drawing is off
        QCOMPARE(b->drawCount(), start + 2);
        b->Refresh();
        QCOMPARE(b->drawCount(), start + 3);
        b->DrawButton(2, false); // Refresh drew state 2 with the new caption
        QCOMPARE(b->drawCount(), start + 3);
    }

    void valueDrawsDownOnlyAsACheckBox() {
        ButtonHost host(3);
        chameleonButton* b = host.button;
        const QImage up = b->surface();
        b->setValue(true);
        QCOMPARE(b->lastState(), 0);
        QCOMPARE(b->surface(), up);
        b->setCheckBoxBehaviour(true);
        QCOMPARE(b->lastState(), 2);
        QVERIFY(b->surface() != up);
        b->DrawButton(0, true); // still down while Value is set
        QCOMPARE(b->lastState(), 2);
    }

    void leftClickRaisesClick() {
        ButtonHost host(3);
        chameleonButton* b = host.button;
        QSignalSpy clicks(b, &chameleonButton::Click);
        host.press();
        QCOMPARE(b->lastState(), 2);
        host.release();
        QCOMPARE(b->lastState(), 0);
        QCOMPARE(clicks.size(), 1);

        host.press(Qt::RightButton);
        QCOMPARE(b->lastState(), 0);
        host.release(Qt::RightButton);
        QCOMPARE(clicks.size(), 1);

        host.press();
        host.release(Qt::LeftButton, QPointF(200, 10)); // released outside
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(b->lastState(), 0);

        bool seen = false;
        b->setCheckBoxBehaviour(true);
        connect(b, &chameleonButton::Click, b, [&] { seen = b->Value(); });
        host.press();
        host.release();
        QVERIFY(seen); // inverted before Click is raised
        QCOMPARE(b->lastState(), 2);
        QCOMPARE(clicks.size(), 2);

        b->setEnabled(false);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicks.size(), 2);
    }

    void spaceBarClicks() {
        ButtonHost host(3);
        chameleonButton* b = host.button;
        QSignalSpy clicks(b, &chameleonButton::Click);
        QTest::keyPress(b, Qt::Key_Space);
        QCOMPARE(b->lastState(), 2);
        QCOMPARE(clicks.size(), 0);
        QTest::keyRelease(b, Qt::Key_Space);
        QCOMPARE(b->lastState(), 0);
        QCOMPARE(clicks.size(), 1);
        QTest::keyPress(b, Qt::Key_A); // a release of space after another key does nothing
        QTest::keyRelease(b, Qt::Key_Space);
        QCOMPARE(clicks.size(), 1);
        QTest::keyClick(b, Qt::Key_Enter);
        QCOMPARE(clicks.size(), 1);
    }

    void hoverAndFocusRedraw() {
        ButtonHost host(3);
        chameleonButton* b = host.button;
        QSignalSpy over(b, &chameleonButton::MouseOver), out(b, &chameleonButton::MouseOut);
        const quint64 start = b->drawCount();
        host.hover();
        host.hover();
        QCOMPARE(over.size(), 1);
        QCOMPARE(b->drawCount(), start + 1);
        host.unhover();
        QCOMPARE(out.size(), 1);
        host.focusIn();
        host.focusOut();
        QCOMPARE(b->drawCount(), start + 4);
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
