// Pictures on buttons: their size and placement, and their pixels in every look, with the
// mask colour, silhouettes, greyscale, fading and the relief effect. Expected colours are
// worked out by hand from the drawing rules; the buttons use the windows' stored settings
// (face E0E0E0, shadow A0A0A0, highlight FFFFFF, hot 606060).
#include "ButtonTestSupport.h"
#include "widgets/button/ButtonPicture.h"

#include <QtTest>
#include <array>

namespace {
constexpr quint32 kFace = 0xE0E0E0, kShadow = 0xA0A0A0, kWhite = 0xFFFFFF, kMask = 0xC0C0C0;
constexpr int W = 67, H = 25;
constexpr QRgb kDark = 0xFF800000;  // red 128: red + green + blue = 128, a dark pixel
constexpr QRgb kLight = 0xFFF0F0F0; // 720: a light one
// Where the two marked pixels sit in the 16 x 16 test picture.
constexpr int kDarkAt = 4, kLightAt = 10;

// A 16 x 16 bitmap of mask colour with one dark pixel at (4, 4) and one light one at
// (10, 10), at 96 dots per inch.
QImage markedPicture() {
    QImage pic(16, 16, QImage::Format_RGB32);
    pic.fill(QColor::fromRgb(buttoncolor::toQRgb(kMask)));
    pic.setPixel(kDarkAt, kDarkAt, kDark);
    pic.setPixel(kLightAt, kLightAt, kLight);
    pic.setDotsPerMeterX(3780);
    pic.setDotsPerMeterY(3780);
    return pic;
}

QImage filled(int w, int h, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage pic(w, h, format);
    pic.fill(colour);
    return pic;
}

// A button of the given style whose caption is only blanks, so that the picture is
// centred: at (25, 4) for 16 x 16 in 67 x 25.
struct PictureHost : ButtonHost {
    explicit PictureHost(int style, const QImage& picture = markedPicture())
        : ButtonHost(style, W, H, QStringLiteral("   ")) {
        button->setPictureNormal(picture);
    }
    // The colour at picture pixel (i, j) moved by (dx, dy).
    quint32 at(int i, int j, int dx = 0, int dy = 0) const {
        const QRect r = button->pictureRect();
        return px(r.x() + i + dx, r.y() + j + dy);
    }
    // The listed picture pixels ({i, j, dx, dy, colour}) whose colour differs.
    QString differing(const QList<std::array<int, 4>>& at_, const QList<quint32>& colours) const {
        QStringList out;
        for (int k = 0; k < at_.size(); ++k)
            if (const auto& a = at_[k]; at(a[0], a[1], a[2], a[3]) != colours[k])
                out << QStringLiteral("%1,%2%+3%+4=%5")
                           .arg(a[0])
                           .arg(a[1])
                           .arg(a[2])
                           .arg(a[3])
                           .arg(at(a[0], a[1], a[2], a[3]), 6, 16);
        return out.join(' ');
    }
};
// The dark and the light marked pixel, moved by nothing, up-left and down-right.
const std::array<int, 4> D{kDarkAt, kDarkAt, 0, 0}, DUL{kDarkAt, kDarkAt, -1, -1},
    DDR{kDarkAt, kDarkAt, 1, 1};
const std::array<int, 4> L{kLightAt, kLightAt, 0, 0}, LUL{kLightAt, kLightAt, -1, -1},
    LDR{kLightAt, kLightAt, 1, 1};
const std::array<int, 4> O{0, 0, 0, 0};
#define CHECK_PICTURE(host, at, colours) QCOMPARE((host).differing(at, colours), QString())
} // namespace

class TestButtonPictures : public QObject {
    Q_OBJECT

private slots:
    void sizeFromTheStoredSize() {
        using buttonpicture::hiMetricToPixels;
        QCOMPARE(hiMetricToPixels(423), 16);     // 16 pixels at 96 dpi are 423 units of 0.01 mm
        QCOMPARE(hiMetricToPixels(39.6875), 2);  // exactly 1.5 pixels: to the even one
        QCOMPARE(hiMetricToPixels(119.0625), 4); // 4.5
        QCOMPARE(hiMetricToPixels(198.4375), 8); // 7.5

        QImage dense = filled(32, 20, 0xFF00FF00);
        dense.setDotsPerMeterX(7559); // 192 dpi: half as many screen pixels
        dense.setDotsPerMeterY(7559);
        QCOMPARE(buttonpicture::storedSize(dense), QSize(423, 265));
        ButtonHost host(8, W, H, QStringLiteral("   "));
        host.button->setPictureNormal(dense);
        QCOMPARE(host.button->pictureRect(), QRect((W - 16) / 2, (H - 10) / 2, 16, 10));
        // A bitmap larger than its size shows its top-left part only.
        dense.setPixel(16, 0, 0xFFFF0000);
        host.button->setPictureNormal(dense);
        QCOMPARE(host.px(25 + 15, 7), 0x00FF00u);
        QCOMPARE(host.px(25 + 16, 7), kFace);

        host.button->setPictureNormal(QImage()); // none: no size, nothing drawn
        QCOMPARE(host.button->pictureRect().size(), QSize(0, 0));
        host.button->setPictureOver(filled(16, 16, 0xFF00FF00));
        host.hover();
        QVERIFY(!host.hasColourIn(QRect(0, 0, W, H), 0x00FF00));
    }

    void placementBesideTheCaption_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("height");
        QTest::newRow("left") << 0 << 25;
        QTest::newRow("right") << 1 << 25;
        QTest::newRow("top") << 2 << 50;
        QTest::newRow("bottom") << 3 << 50;
        QTest::newRow("behind") << 4 << 25;
    }

    void placementBesideTheCaption() {
        QFETCH(int, position);
        QFETCH(int, height);
        ButtonHost host(8, W, height, QStringLiteral("Go"));
        host.button->setPicturePosition(position);
        host.button->setPictureNormal(filled(16, 16, 0xFF00FF00));
        const QRect t = host.button->textRect();
        const QRect p = host.button->pictureRect();
        const QPoint expected[] = {{t.left() - 16 - 4, (height - 16) / 2},
                                   {t.left() + t.width() + 4, (height - 16) / 2},
                                   {(W - 16) / 2, t.top() - 16 - 2},
                                   {(W - 16) / 2, t.top() + t.height() + 2},
                                   {(W - 16) / 2, (height - 16) / 2}};
        QCOMPARE(p.topLeft(), expected[position]);
        QCOMPARE(host.px(p.x(), p.y()), 0x00FF00u);
        QCOMPARE(host.px(p.x() + 15, p.y() + 15), 0x00FF00u);
        if (position == 4) // the caption lies over the picture
            QVERIFY(host.hasColourIn(t.intersected(p), 0xFF0000));
        else
            QVERIFY(!t.intersects(p));

        host.button->setCaption(QStringLiteral("  ")); // blanks only: centred
        QCOMPARE(host.button->pictureRect().topLeft(), QPoint((W - 16) / 2, (height - 16) / 2));
    }

    void maskColourAndIcons() {
        PictureHost host(8); // flat: the face lies under the picture
        QCOMPARE(host.button->pictureRect(), QRect(25, 4, 16, 16));
        CHECK_PICTURE(host, (QList{O, D, L}),
                      (QList<quint32>{kFace, 0x000080, 0xF0F0F0})); // mask pixels keep the face
        host.button->setUseMaskColor(false);                        // copied as a full rectangle
        CHECK_PICTURE(host, (QList{O, std::array<int, 4>{15, 15, 0, 0}}), (QList<quint32>{kMask, kMask}));
        host.button->setUseMaskColor(true);
        host.button->setMaskColor(0x000080); // now the dark pixel is the transparent one
        CHECK_PICTURE(host, (QList{D, O}), (QList<quint32>{kFace, kMask}));

        QImage icon = filled(16, 16, 0x00000000, QImage::Format_ARGB32); // transparent
        icon.setPixel(3, 3, 0xFF0000FF);
        PictureHost iconHost(8, icon);
        CHECK_PICTURE(iconHost, (QList{O, std::array<int, 4>{3, 3, 0, 0}}),
                      (QList<quint32>{kFace, 0xFF0000}));
        iconHost.button->setUseMaskColor(false);
        QCOMPARE(iconHost.at(0, 0), kMask);
    }

    void greyscaleWhileNotHovered() {
        QImage pic = filled(16, 16, buttoncolor::toQRgb(kMask));
        pic.setPixel(0, 1, qRgb(5, 0, 5));       // 0.3 x red = 1.5 -> 2, then + 0.11 x blue = 2.55 -> 3
        pic.setPixel(1, 1, qRgb(0, 50, 0));      // 29.5 -> 30
        pic.setPixel(2, 1, qRgb(0, 150, 0));     // 88.5 -> 88
        pic.setPixel(3, 1, qRgb(15, 0, 0));      // 4.5 -> 4
        pic.setPixel(4, 1, qRgb(255, 255, 255)); // 76 + 150.45 + 28.05 -> 254
        PictureHost host(8, pic);
        host.button->setUseGreyscale(true);
        CHECK_PIXELS(host, {25, 5, 0x030303}, {26, 5, 0x1E1E1E}, {27, 5, 0x585858}, {28, 5, 0x040404},
                     {29, 5, 0xFEFEFE}, {25, 4, kFace});
        host.hover(); // in colour while hovered
        CHECK_PIXELS(host, {25, 5, 0x050005}, {26, 5, 0x003200}, {27, 5, 0x009600});
        QVERIFY(host.unhover());
        CHECK_PIXELS(host, {25, 5, 0x030303});
    }

    void flatHighlightFadesAndPopsOut() {
        PictureHost host(9);
        // Not hovered: (2 x picture + face) \ 3 in every channel.
        CHECK_PICTURE(host, (QList{D, L, O}), (QList<quint32>{0x4A4AA0, 0xEAEAEA, kFace}));
        host.hover(); // raised by one pixel up and left over a shadow copy down and right, light pixels too
        CHECK_PICTURE(host, (QList{DUL, DDR, LUL, LDR, D}),
                      (QList<quint32>{0x000080, kShadow, 0xF0F0F0, kShadow, kFace}));
        host.press(); // down: in place, not moved, over the pressed face S(face, -32)
        CHECK_PICTURE(host, (QList{D, DDR}), (QList<quint32>{0x000080, 0xC0C0C0}));
        host.release();
        host.button->setEnabled(false); // a silhouette of the dark pixels in S(shadow, 13)
        CHECK_PICTURE(host, (QList{D, L}), (QList<quint32>{0xADADAD, kFace}));
    }

    void disabledSilhouettes_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("lightCopy"); // classic: light copy one pixel down and right
        QTest::addColumn<quint32>("face");
        QTest::newRow("classic outlined") << 1 << true << kFace;
        QTest::newRow("thin raised") << 7 << true << kFace;
        QTest::newRow("flat hover") << 8 << true << kFace;
        QTest::newRow("soft frame: shadow only") << 6 << false << kFace;
    }

    void disabledSilhouettes() {
        QFETCH(int, style);
        QFETCH(bool, lightCopy);
        QFETCH(quint32, face);
        PictureHost host(style);
        host.button->setEnabled(false); // light pixels vanish
        CHECK_PICTURE(host, (QList{D, DDR, L, LDR, O}),
                      (QList<quint32>{kShadow, lightCopy ? kWhite : face, face, face, face}));
    }

    void gradientStyleDisabledIsGreyAndMoved() {
        QImage pic = filled(16, 16, buttoncolor::toQRgb(kMask));
        pic.setPixel(kDarkAt, kDarkAt, qRgb(0, 50, 0)); // grey 30
        PictureHost host(3, pic);
        host.button->setEnabled(false);
        QCOMPARE(host.at(kDarkAt, kDarkAt, 1, 1), 0x1E1E1Eu);
        QVERIFY(host.at(kDarkAt, kDarkAt) != 0x1E1E1Eu);
    }

    void pressedAndHoverPictures() {
        PictureHost host(1);
        const QImage over = filled(16, 16, 0xFF00FF00);
        host.press(); // the normal picture, one pixel down and right
        QCOMPARE(host.at(kDarkAt, kDarkAt, 1, 1), 0x000080u);
        host.release();
        host.button->setPictureOver(over);
        host.hover(); // drawn at the normal picture's size
        CHECK_PICTURE(host, (QList{O, std::array<int, 4>{16, 16, 0, 0}}), (QList<quint32>{0x00FF00, kFace}));
        host.press();
        CHECK_PICTURE(host, (QList{std::array<int, 4>{0, 0, 1, 1}, O}), (QList<quint32>{0x00FF00, kFace}));
        host.release();
        PictureHost etched(5); // the etched style presses its hover picture in place
        etched.button->setPictureOver(over);
        etched.press();
        QCOMPARE(etched.at(0, 0), 0x00FF00u);
        etched.release();
        etched.button->setPictureOver(QImage());
        etched.press(); // and its normal picture too
        QCOMPARE(etched.at(kDarkAt, kDarkAt), 0x000080u);
    }

    void reliefUnderThePicture() {
        PictureHost host(8);
        host.button->setSpecialEffect(1); // embossed: dark copy S(face, -40) down-right, light copy up-left
        CHECK_PICTURE(host, (QList{DDR, DUL, D}), (QList<quint32>{0xB8B8B8, kWhite, 0x000080}));
        host.button->setSpecialEffect(2); // engraved: the reverse
        CHECK_PICTURE(host, (QList{DDR, DUL}), (QList<quint32>{kWhite, 0xB8B8B8}));
        host.button->setSpecialEffect(3); // shadowed: the dark copy only
        CHECK_PICTURE(host, (QList{DDR, DUL}), (QList<quint32>{0xB8B8B8, kFace}));
        host.press(); // pressed: the effect and the picture one pixel further
        CHECK_PICTURE(host, (QList{std::array<int, 4>{kDarkAt, kDarkAt, 2, 2}, DDR}),
                      (QList<quint32>{0xB8B8B8, 0x000080}));
        host.release();
        PictureHost gradient(3); // the gradient style takes its bright face as the base
        gradient.button->setSpecialEffect(3);
        QCOMPARE(gradient.at(kDarkAt, kDarkAt, 1, 1), 0xD7D7D7u); // S(FFFFFF, -40)
    }
};

QTEST_MAIN(TestButtonPictures)
#include "tst_buttonpictures.moc"
