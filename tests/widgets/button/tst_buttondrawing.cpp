// Drawn buttons read back pixel by pixel: every style in its looks, the window shapes, the line
// and frame primitives, and pictures (size, placement, mask colour, greyscale, fading, silhouettes,
// relief). Colours are 0x00BBGGRR, worked out by hand from the drawing rules. The buttons use the
// windows' stored settings: face E0E0E0, shadow A0A0A0, light FFFFFF, dark 202020, hot 606060, blue caption.
#include "ButtonTestSupport.h"
#include "widgets/button/ButtonCanvas.h"
#include "widgets/button/ButtonPicture.h"

#include <QtTest>
#include <array>

namespace {
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
    pic.setPixel(4, 4, 0xFF800000);
    pic.setPixel(10, 10, 0xFFF0F0F0);
    pic.setDotsPerMeterX(3780), pic.setDotsPerMeterY(3780);
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

class TestButtonDrawing : public QObject {
    Q_OBJECT
private slots:
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
        ButtonHost host(style, W, H);
        if (actions & Focus) host.focusIn();
        if (actions & Default) host.button->setDefaultButton(true);
        if (actions & Hover) host.hover();
        if (actions & Press) host.press();
        if (actions & Disable) host.button->setEnabled(false);
        QFETCH(QList<Px>, pixels);
        QCOMPARE(host.mismatches(pixels), QString());
        if (caption != kNoCaption)
            QVERIFY(host.hasColourIn((actions & Press) ? host.button->textRectDown() : host.button->textRect(), caption));
    }

    void theGradientFollowsHeightAndState() {
        ButtonHost host(3, W, H);
        host.button->resize(W, 50); // redrawn for the new height at once; halves round to even
        CHECK_PIXELS(host, {3, 5, 0xFDFDFD}, {3, 7, 0xFAFBFB}, {3, 25, 0xF0F3F3}, {3, 46, 0xE1E8E8}, {3, 49, kOutline});
        host.button->resize(W, H);
        host.focusIn(), host.hover();
        QVERIFY(host.unhover());
        CHECK_PIXELS(host, {10, H - 2, 0xEF826B}); // back to the focus rim
        host.button->setShowFocusRect(false);
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
        if (style == 3) { // the shaped image the window shows is clear where the shape is cut
            QCOMPARE(qAlpha(host.button->shapedImage().pixel(1, 0)), 0);
            QCOMPARE(qAlpha(host.button->shapedImage().pixel(2, 0)), 255);
        }
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

QTEST_MAIN(TestButtonDrawing)
#include "tst_buttondrawing.moc"
