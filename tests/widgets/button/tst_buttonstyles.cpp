// Drawn buttons read back pixel by pixel: the gradient style in all its looks, the window
// shapes on the widget, and characteristic pixels of every other style. Colours are
// 0x00BBGGRR; the buttons use the windows' stored settings (face 0xE0E0E0, blue caption)
// unless a case says otherwise, so the custom palette is: face E0E0E0, shadow A0A0A0,
// light and highlight FFFFFF, dark shadow 202020, hot 606060.
#include "ButtonTestSupport.h"

#include <QtTest>

namespace {
constexpr quint32 kFace = 0xE0E0E0, kShadow = 0xA0A0A0, kWhite = 0xFFFFFF, kDark = 0x202020, kBlue = 0xFF0000;
constexpr quint32 kOutline = 0x733C00, kOutlineCorner = 0x7B4D10;
constexpr int W = 67, H = 25;
} // namespace

class TestButtonStyles : public QObject {
    Q_OBJECT

private slots:
    // --- GradientRounded, the style of every window's buttons ---------------------------

    void gradientRowsHeight25() {
        ButtonHost host(3, W, H);
        // Row i is shifted by -i: red and green 255 - i, blue 255 - (255 i) \ 192.
        QCOMPARE(host.px(3, 3), 0xFCFCFCu);
        QCOMPARE(host.px(3, 10), 0xF2F5F5u);
        QCOMPARE(host.px(3, 20), 0xE5EBEBu);
        QCOMPARE(host.px(W - 4, 10), 0xF2F5F5u);
        // The top row keeps the face fill where no edge covers it: only the outline is there.
        QCOMPARE(host.px(W / 2, 0), kOutline);
    }

    void gradientRowsHeight50() {
        ButtonHost host(3, W, 50);
        QCOMPARE(host.px(3, 5), 0xFDFDFDu);  // -2.5 rounds to -2
        QCOMPARE(host.px(3, 7), 0xFAFBFBu);  // -3.5 rounds to -4
        QCOMPARE(host.px(3, 25), 0xF0F3F3u); // -12.5 rounds to -12
        QCOMPARE(host.px(3, 46), 0xE1E8E8u); // -23
    }

    void gradientFollowsAResize() {
        ButtonHost host(3, W, H);
        host.button->resize(W, 50);
        QCOMPARE(host.button->surface().height(), 50);
        QCOMPARE(host.px(3, 25), 0xF0F3F3u);
    }

    void gradientOutlineAndEdges() {
        ButtonHost host(3, W, H);
        for (QPoint p :
             {QPoint(0, 5), QPoint(W - 1, 5), QPoint(W / 2, 0), QPoint(W / 2, H - 1), QPoint(2, 0)})
            QCOMPARE(host.px(p.x(), p.y()), kOutline);
        for (QPoint p : {QPoint(1, 1), QPoint(1, H - 2), QPoint(W - 2, 1), QPoint(W - 2, H - 2)})
            QCOMPARE(host.px(p.x(), p.y()), kOutlineCorner);
        QCOMPARE(host.px(10, H - 2), 0xC0CFCFu); // G(white, -48)
        QCOMPARE(host.px(W - 2, 10), 0xD0DBDBu); // G(white, -36)
        QCOMPARE(host.px(10, 1), kWhite);        // G(white, 16)
        QVERIFY(host.hasColourIn(host.button->textRect(), kBlue));
        // The widget's mask cuts three pixels at every corner.
        const QRegion mask = host.button->mask();
        QVERIFY(!mask.contains(QPoint(0, 0)) && !mask.contains(QPoint(1, 0)) && !mask.contains(QPoint(0, 1)));
        QVERIFY(!mask.contains(QPoint(W - 1, H - 2)) && !mask.contains(QPoint(W - 2, H - 1)));
        QVERIFY(mask.contains(QPoint(1, 1)) && mask.contains(QPoint(2, 0)));
        const QImage shaped = host.button->shapedImage();
        QCOMPARE(qAlpha(shaped.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(shaped.pixel(2, 0)), 255);
    }

    void gradientHoverRim() {
        ButtonHost host(3, W, H);
        host.focusIn(); // hover wins over focus
        host.hover();
        QCOMPARE(host.px(1, 10), 0x31B2FFu);
        QCOMPARE(host.px(W - 2, 10), 0x31B2FFu);
        QCOMPARE(host.px(10, H - 3), 0x31B2FFu);
        QCOMPARE(host.px(10, H - 2), 0x0096E7u);
        QCOMPARE(host.px(10, 1), 0xCEF3FFu);
        QCOMPARE(host.px(10, 2), 0x8CDBFFu);
        QCOMPARE(host.px(2, 10), 0x6BCBFFu);
        QCOMPARE(host.px(W - 3, 10), 0x6BCBFFu);
        QCOMPARE(host.px(W / 2, 0), kOutline);
        host.unhover();
        QCOMPARE(host.px(10, H - 2), 0xEF826Bu); // back to the focus rim
    }

    void gradientFocusRim() {
        ButtonHost host(3, W, H);
        host.focusIn();
        QCOMPARE(host.px(1, 10), 0xE7AE8Cu);
        QCOMPARE(host.px(10, H - 2), 0xEF826Bu);
        QCOMPARE(host.px(10, 1), 0xFFE7CEu);
        QCOMPARE(host.px(10, 2), 0xF7D7BDu);
        QCOMPARE(host.px(2, 10), 0xF0D1B5u);
        QCOMPARE(host.px(W - 3, 10), 0xF0D1B5u);
        QCOMPARE(host.px(4, 4), 0xFAFBFBu); // no dotted frame: the gradient of row 4
        host.button->setShowFocusRect(false);
        QCOMPARE(host.px(10, H - 2), 0xC0CFCFu); // plain edges
        host.button->setShowFocusRect(true);
        host.focusOut();
        QCOMPARE(host.px(10, H - 2), 0xC0CFCFu);
        host.button->setDefaultButton(true); // the default button shows the rim too
        QCOMPARE(host.px(10, H - 2), 0xEF826Bu);
    }

    void gradientDown() {
        ButtonHost host(3, W, H);
        host.press();
        // B = G(white, -32) = D5DFDF; the reversed gradient is darkest at the top.
        QCOMPARE(host.px(3, 3), 0xBDC9C9u);   // row 3 takes G(B, -22)
        QCOMPARE(host.px(3, 20), 0xD0DADAu);  // row 20 takes G(B, -5)
        QCOMPARE(host.px(1, 10), 0xB2BFBFu);  // G(B, -32)
        QCOMPARE(host.px(W - 3, 10), kWhite); // cFaceBright
        QCOMPARE(host.px(W / 2, 0), kOutline);
        QCOMPARE(host.px(1, 1), kOutlineCorner);
        QVERIFY(host.hasColourIn(host.button->textRectDown(), kBlue));
        QCOMPARE(host.button->textRectDown(), host.button->textRect().translated(1, 1));
    }

    void gradientDisabled() {
        ButtonHost host(3, W, H);
        host.button->setEnabled(false);
        QCOMPARE(host.px(5, 5), 0xE0E7E7u);     // G(white, -24)
        QCOMPARE(host.px(W / 2, 0), 0x90ABABu); // G(white, -84)
        QCOMPARE(host.px(1, 1), 0xA0B7B7u);     // G(white, -72)
        QCOMPARE(host.px(W - 2, H - 2), 0xA0B7B7u);
        QVERIFY(host.hasColourIn(host.button->textRect(), 0x759797u)); // G(white, -104)
        QVERIFY(!host.hasColourIn(host.button->textRect(), kBlue));
    }

    void hoveredCustomPaletteComesFromBackOver() {
        ButtonHost host(8, W, H);
        host.button->setBackOver(0xC0FFC0);
        host.hover();
        QCOMPARE(host.px(5, 5), 0xC0FFC0u);
        QCOMPARE(host.px(W - 1, 5), 0x80BF80u);       // its shadow
        QCOMPARE(host.button->colors().cFace, kFace); // restored after the drawing
    }

    // --- The other styles ---------------------------------------------------------------

    void classicOutlined() {
        ButtonHost host(1, W, H);
        QCOMPARE(host.px(0, 5), kDark);
        QCOMPARE(host.px(1, 5), kWhite);
        QCOMPARE(host.px(2, 5), kWhite);
        QCOMPARE(host.px(W - 2, 5), kShadow);
        QCOMPARE(host.px(W - 3, 5), kShadow);
        host.press();
        QCOMPARE(host.px(1, 5), kShadow);
        QCOMPARE(host.px(W - 2, 5), kWhite);
        host.release(Qt::LeftButton, QPointF(300, 5));
        host.focusIn();
        QCOMPARE(host.px(4, 4), 0x1F1F1Fu);
        QCOMPARE(host.px(5, 4), 0x1FE0E0u);
        const QRegion mask = host.button->mask();
        QVERIFY(!mask.contains(QPoint(0, 0)) && mask.contains(QPoint(1, 0)));
    }

    void bevel3D() {
        ButtonHost host(2, W, H);
        QCOMPARE(host.px(0, 5), kWhite);
        QCOMPARE(host.px(W - 1, 5), kDark);
        QCOMPARE(host.px(5, H - 1), kDark);
        QCOMPARE(host.px(W - 2, 5), kShadow);
        host.focusIn(); // not the default button: no focus frame
        QCOMPARE(host.px(4, 4), kFace);
        host.button->setDefaultButton(true);
        QCOMPARE(host.px(0, 5), kDark);
        QCOMPARE(host.px(1, 5), kWhite);
        QCOMPARE(host.px(W - 2, 5), kDark);
        QCOMPARE(host.px(4, 4), 0x1F1F1Fu);
        host.press();
        QCOMPARE(host.px(0, 5), kDark);
        QCOMPARE(host.px(1, 5), kShadow);
        host.button->setDefaultButton(false);
        QCOMPARE(host.px(1, 5), kShadow); // Frame(dark, white, shadow, light)
        QCOMPARE(host.px(W - 1, 5), kWhite);
        QCOMPARE(host.px(W - 2, 5), kWhite);
    }

    void roundedLight() {
        ButtonHost host(4, W, H);
        QCOMPARE(host.px(0, 5), kDark);
        QCOMPARE(host.px(1, 1), kDark);
        QCOMPARE(host.px(5, 5), kWhite); // cLight face
        QCOMPARE(host.px(10, 2), kWhite);
        QCOMPARE(host.px(W - 3, 5), kFace);
        QCOMPARE(host.px(10, H - 3), kFace);
        QCOMPARE(host.px(W - 2, 5), kShadow);
        QCOMPARE(host.px(10, H - 2), kShadow);
        QCOMPARE(host.px(W - 3, H - 3), kShadow);
        QCOMPARE(host.px(1, 2), kFace); // the short steep line at the top-left corner
        host.press();
        QCOMPARE(host.px(1, 5), 0x606060u);
        QCOMPARE(host.px(2, 5), 0x808080u);
        QCOMPARE(host.px(4, 5), 0x909090u);
        QCOMPARE(host.px(W - 3, 5), kShadow);
        QCOMPARE(host.px(W - 3, H - 2), 0x808080u);                     // the diagonal step
        QVERIFY(host.hasColourIn(host.button->textRectDown(), kWhite)); // caption in cLight
        QCOMPARE(host.button->colors().cFaceBright, kWhite);            // put back after the caption
    }

    void flatEtched() {
        ButtonHost host(5, W, H);
        QCOMPARE(host.px(0, 5), 0x868686u);
        QCOMPARE(host.px(W - 2, 5), 0x868686u);
        QCOMPARE(host.px(1, 5), kWhite);
        QCOMPARE(host.px(W - 1, 5), kWhite);
        QCOMPARE(host.px(5, 5), 0xECECECu);
        QCOMPARE(host.px(1, H - 2), 0xBABABAu);
        host.focusIn();
        const QRect t = host.button->textRect();
        QCOMPARE(host.px(t.left() - 2, t.top() + 2), 0xCC9999u);
        QCOMPARE(host.px(t.left() + t.width() + 1, t.top() + 2), 0xCC9999u);
        host.focusOut();
        host.press();
        QCOMPARE(host.px(3, 5), 0xB0B0B0u);
        QCOMPARE(host.px(W - 1, 5), kWhite);
        QCOMPARE(host.px(5, H - 1), kWhite);
        QVERIFY(host.hasColourIn(host.button->textRect(), kBlue));
        host.release(Qt::LeftButton, QPointF(300, 5));
        host.button->setEnabled(false);
        QCOMPARE(host.px(0, 5), kShadow);
        QCOMPARE(host.px(W - 1, 5), kShadow);
        QCOMPARE(host.px(5, 5), kFace);
        QVERIFY(host.hasColourIn(host.button->textRect(), kShadow));
    }

    void softThinAndFlatFrames() {
        ButtonHost soft(6, W, H);
        QCOMPARE(soft.px(0, 5), kWhite);
        QCOMPARE(soft.px(W - 1, 5), kShadow);
        QCOMPARE(soft.px(W - 2, 5), kShadow);
        soft.press();
        QCOMPARE(soft.px(0, 5), kShadow);
        QCOMPARE(soft.px(W - 1, 5), kWhite);

        ButtonHost thin(7, W, H);
        QCOMPARE(thin.px(0, 5), kWhite);
        QCOMPARE(thin.px(W - 1, 5), kShadow);
        QCOMPARE(thin.px(1, 5), kFace); // one ring only
        thin.focusIn();
        QCOMPARE(thin.px(3, 3), 0x1F1F1Fu);
        QCOMPARE(thin.px(4, 3), 0x1FE0E0u);

        ButtonHost flat(8, W, H);
        QCOMPARE(flat.px(0, 5), kFace);
        QCOMPARE(flat.px(W - 1, 5), kFace);
        QVERIFY(flat.hasColourIn(flat.button->textRect(), kBlue));
        flat.hover();
        QCOMPARE(flat.px(0, 5), kWhite);
        QCOMPARE(flat.px(W - 1, 5), kShadow);
        flat.unhover();
        flat.button->setEnabled(false);
        QCOMPARE(flat.px(0, 5), kFace);
    }

    void flatHighlight() {
        ButtonHost host(9, W, H);
        QCOMPARE(host.px(0, 5), kFace);
        host.hover();
        QCOMPARE(host.px(0, 5), 0x606060u);
        QCOMPARE(host.px(5, 5), kFace); // cHotLight is the face in the custom scheme
        host.press();
        QCOMPARE(host.px(5, 5), 0xC0C0C0u); // S(cHotLight, -32)
        QCOMPARE(host.px(0, 5), 0x606060u);
        host.button->setColorScheme(3);
        host.press();
        host.button->DrawButton(2, true);
        QCOMPARE(host.px(5, 5), buttoncolor::BlendColor(0x800000, 128));
    }

    void plainFaceAndUnknownTypes() {
        ButtonHost plain(10, W, H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                QCOMPARE(plain.px(x, y), kFace); // no caption, no frame
        plain.hover();
        plain.press();
        QCOMPARE(plain.px(W / 2, H / 2), kFace);
        for (int type : {0, 15, -3}) {
            ButtonHost other(type, W, H);
            QCOMPARE(other.button->surface(), ButtonHost(10, W, H).button->surface());
            QCOMPARE(other.button->mask(), QRegion(0, 0, W, H));
        }
    }

    void transparentShowsTheContainer() {
        ButtonHost host(11, W, H);
        const quint32 container = buttoncolor::fromQRgb(ButtonHost::kContainerColour);
        QCOMPARE(host.px(0, 0), container);
        QCOMPARE(host.px(W - 1, H - 1), container);
        QVERIFY(host.hasColourIn(host.button->textRect(), kBlue));
        host.press();
        QCOMPARE(host.px(2, 2), container);
    }

    void flatHover3D() {
        ButtonHost host(12, W, H);
        QCOMPARE(host.px(0, 5), kFace);
        host.hover();
        QCOMPARE(host.px(0, 5), kWhite);
        QCOMPARE(host.px(W - 1, 5), kDark);
        QCOMPARE(host.px(W - 2, 5), kShadow);
        host.unhover();
        host.press();
        QCOMPARE(host.px(0, 5), kDark);
        QCOMPARE(host.px(W - 1, 5), kWhite);
    }

    void oval() {
        ButtonHost host(13, W, H);
        const QRegion mask = host.button->mask();
        QVERIFY(!mask.contains(QPoint(0, 0)) && mask.contains(QPoint(0, H / 2)) &&
                mask.contains(QPoint(W / 2, 0)));
        QCOMPARE(host.px(0, H / 2), kFace); // the pen is the face colour until hovered
        host.hover();
        QCOMPARE(host.px(0, H / 2), kShadow);
        QCOMPARE(host.px(W / 2, 0), kShadow);
        host.unhover();
        host.press();
        QCOMPARE(host.px(0, H / 2), kDark);
        QCOMPARE(host.px(5, H / 2), 0xC0C0C0u);
        host.release(Qt::LeftButton, QPointF(300, 5));
        host.button->setEnabled(false);
        QCOMPARE(host.px(0, H / 2), kFace); // no outline
        QVERIFY(host.hasColourIn(host.button->textRect(), kShadow));
        QVERIFY(host.hasColourIn(host.button->textRectDown(), kWhite));
    }

    void gradientFramed() {
        ButtonHost host(14, W, H);
        QCOMPARE(host.px(5, 10), 0xE8E8E8u); // S(white, -23): 58 / 25 * 10 = 23.2
        QCOMPARE(host.px(5, 20), 0xD1D1D1u); // 46.4 rounds to 46
        QCOMPARE(host.px(0, 5), 0x6E6E6Eu);  // S(shadow, -50)
        QCOMPARE(host.px(1, 5), 0xD7D7D7u);  // S(face, -9)
        QCOMPARE(host.px(10, 2), kWhite);
        QCOMPARE(host.px(3, 10), kWhite);
        QVERIFY(!host.button->mask().contains(QPoint(0, 0)));
        host.hover();
        QCOMPARE(host.px(5, 10), kWhite); // cLight
        host.unhover();
        host.press();
        QCOMPARE(host.px(5, 10), 0xD7D7D7u);
        QCOMPARE(host.px(0, 5), 0x707070u);
        QCOMPARE(host.px(10, H - 2), kWhite);
        QCOMPARE(host.px(W - 2, 10), kWhite);
        host.release(Qt::LeftButton, QPointF(300, 5));
        host.button->setEnabled(false);
        QCOMPARE(host.px(5, 10), 0xE8E8E8u);
        QCOMPARE(host.px(0, 5), 0x6E6E6Eu);
        QVERIFY(host.hasColourIn(host.button->textRect(), kFace));
    }

    void gradientFramedDefaultButtonIsBold() {
        ButtonHost plain(14, W, H);
        ButtonHost regular(14, W, H);
        regular.button->setFontBold(false);
        const QImage before = regular.button->surface();
        const QRect layout = regular.button->textRect();
        regular.button->setDefaultButton(true);
        QVERIFY(regular.button->surface() != before); // drawn in bold
        QCOMPARE(regular.button->textRect(), layout); // the layout follows the kept font
        QVERIFY(!regular.button->FontBold());
    }
};

QTEST_MAIN(TestButtonStyles)
#include "tst_buttonstyles.moc"
