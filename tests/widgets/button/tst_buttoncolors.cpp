// Colour arithmetic, the palettes of the four colour schemes and access keys.
#include "ButtonTestSupport.h"
#include "widgets/button/AccessKey.h"

#include <QtTest>

using namespace buttoncolor;

class TestButtonColors : public QObject {
    Q_OBJECT

private slots:
    void shiftColorClampsAndSoftens() {
        QCOMPARE(ShiftColor(0xE0E0E0, 31, false, false), 0xFFFFFFu);
        QCOMPARE(ShiftColor(0xE0E0E0, 47, false, false), 0xFFFFFFu);
        QCOMPARE(ShiftColor(0xE0E0E0, -64, false, false), 0xA0A0A0u);
        QCOMPARE(ShiftColor(0xE0E0E0, -64, false, true), 0xC0C0C0u);
        QCOMPARE(ShiftColor(0x102030, -255, false, false), 0x000000u);
        QCOMPARE(ShiftColor(0x123456, 0, false, false), 0x123456u);
        // Soft bevel halves toward zero: -5 becomes -2.
        QCOMPARE(ShiftColor(0x808080, -5, false, true), 0x7E7E7Eu);
        QCOMPARE(ShiftColor(0x808080, 5, false, true), 0x828282u);
    }

    void shiftColorGradientScalesBlue() {
        QCOMPARE(ShiftColor(0x0000FF, 48, true, false), 0x0030FFu);
        QCOMPARE(ShiftColor(0xFF0000, 48, true, false), 0xFF3030u);
        QCOMPARE(ShiftColor(0xE0E0E0, 48, true, false), 0xFFFFFFu);
        // Blue 255 - (255 * 13) \ 192 = 255 - 17; red and green 255 - 13.
        QCOMPARE(ShiftColor(0xFFFFFF, -13, true, false), rgb(242, 242, 238));
        // The blue scaling truncates toward zero for darkening: (100 * -1) \ 192 = 0.
        QCOMPARE(ShiftColor(rgb(50, 50, 100), -1, true, false), rgb(49, 49, 100));
    }

    void blendColorTintsTowardWhite() {
        QCOMPARE(BlendColor(0x800000, 176), rgb(176, 176, 215));
        QCOMPARE(BlendColor(0x123456, 0), 0x123456u);
        QCOMPARE(BlendColor(0x000000, 255), 0xFFFFFFu);
        QCOMPARE(BlendColor(0xFFFFFF, 100), 0xFFFFFFu);
        QCOMPARE(BlendColor(rgb(10, 100, 200), 128), rgb(132, 177, 227));
    }

    void translateColorResolvesSystemColours() {
        const QPalette saved = QGuiApplication::palette();
        QPalette pal = saved;
        pal.setColor(QPalette::Button, QColor(0xD4, 0xD0, 0xC8));
        pal.setColor(QPalette::ButtonText, QColor(1, 2, 3));
        pal.setColor(QPalette::Highlight, QColor(10, 36, 106));
        QApplication::setPalette(pal);
        QCOMPARE(TranslateColor(0x8000000F), rgb(0xD4, 0xD0, 0xC8));
        QCOMPARE(TranslateColor(0x80000012), rgb(1, 2, 3));
        QCOMPARE(TranslateColor(0x8000000D), rgb(10, 36, 106));
        QCOMPARE(TranslateColor(0x00123456), 0x123456u);
        QApplication::setPalette(saved);
    }

    void customSchemeDerivesFromBackColor() {
        ButtonHost host(2);
        const chameleonButton::Palette& p = host.button->colors();
        QCOMPARE(p.cFace, 0xE0E0E0u);
        QCOMPARE(p.cShadow, 0xA0A0A0u);
        QCOMPARE(p.cLight, 0xFFFFFFu);
        QCOMPARE(p.cHighlight, 0xFFFFFFu);
        QCOMPARE(p.cDarkShadow, 0x202020u);
        QCOMPARE(p.cText, 0xFF0000u);
        QCOMPARE(p.cTextOver, 0xFF0000u);
        QCOMPARE(p.cHot, 0x606060u);
        QCOMPARE(p.cHotLight, 0xE0E0E0u);
        QCOMPARE(p.cMask, 0xC0C0C0u);

        host.button->setBackColor(0x808080);
        QCOMPARE(host.button->colors().cFaceBright, 0xB0B0B0u); // not the gradient style
        host.button->setButtonType(3);
        host.button->Refresh();
        QCOMPARE(host.button->colors().cFaceBright, 0xA0B0B0u); // gradient: blue + 128 * 48 \ 192
        host.button->setSoftBevel(true);
        QCOMPARE(host.button->colors().cShadow, 0x606060u);
    }

    void fixedAndSystemAndContainerSchemes() {
        ButtonHost host(2);
        host.button->setColorScheme(3);
        const chameleonButton::Palette& p = host.button->colors();
        QCOMPARE(p.cFace, 0xC0C0C0u);
        QCOMPARE(p.cShadow, 0x808080u);
        QCOMPARE(p.cLight, 0xDFDFDFu);
        QCOMPARE(p.cDarkShadow, 0u);
        QCOMPARE(p.cHot, 0x800000u);
        QCOMPARE(p.cHotLight, 0xD1ADADu);

        const QPalette saved = QGuiApplication::palette();
        QPalette pal = saved;
        pal.setColor(QPalette::Button, QColor(0xD4, 0xD0, 0xC8));
        pal.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
        pal.setColor(QPalette::Highlight, QColor(0, 0, 0x80));
        QApplication::setPalette(pal);
        for (int scheme : {1, 7}) {
            host.button->setColorScheme(scheme);
            QCOMPARE(p.cFace, rgb(0xD4, 0xD0, 0xC8));
            QCOMPARE(p.cShadow, 0x808080u);
            QCOMPARE(p.cHot, 0x800000u);
            QCOMPARE(p.cHotLight, BlendColor(0x800000, 176));
        }
        QApplication::setPalette(saved);

        host.button->setColorScheme(4); // the container's background and text colours
        QCOMPARE(p.cFace, fromQRgb(ButtonHost::kContainerColour));
        QCOMPARE(p.cFaceOver, p.cFace);
        QCOMPARE(p.cShadow, ShiftColor(p.cFace, -64, false, false));
        QCOMPARE(p.cText, fromQRgb(host.container->palette().color(QPalette::WindowText).rgb()));
    }

    void accessKeys_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::newRow("marked") << "&Open"
                                << "o";
        QTest::newRow("upper case is lowered") << "Sa&Ve"
                                               << "v";
        QTest::newRow("only a doubled pair") << "Save && Exit"
                                             << "";
        QTest::newRow("doubled then single") << "A&&B&C"
                                             << "c";
        QTest::newRow("doubled then doubled") << "A&&B&&C"
                                              << "";
        QTest::newRow("marker last") << "Open&"
                                     << "";
        QTest::newRow("too short") << "&"
                                   << "";
        QTest::newRow("none") << "Search"
                              << "";
        QTest::newRow("first marker counts") << "&Copy &File"
                                             << "c";
    }

    void accessKeys() {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        const QChar got = accessKeyOf(caption);
        QCOMPARE(got.isNull() ? QString() : QString(got), key);
        ButtonHost host(3);
        host.button->setCaption(caption);
        QCOMPARE(host.button->accessKey(), got);
    }

    void captionShownWithoutMarkers() {
        QCOMPARE(captionWithoutMarkers(QStringLiteral("&Open")), QStringLiteral("Open"));
        QCOMPARE(captionWithoutMarkers(QStringLiteral("Save && Exit")), QStringLiteral("Save & Exit"));
        QCOMPARE(captionWithoutMarkers(QStringLiteral("A&&B&C")), QStringLiteral("A&BC"));
    }
};

QTEST_MAIN(TestButtonColors)
#include "tst_buttoncolors.moc"
