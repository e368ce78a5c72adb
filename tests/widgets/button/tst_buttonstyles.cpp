// Drawn buttons read back pixel by pixel: the gradient style in all its looks, the window
// shapes on the widget, and characteristic pixels of every other style. Colours are
// 0x00BBGGRR; the buttons use the windows' stored settings (face 0xE0E0E0, blue caption),
// so the custom palette is: face E0E0E0, shadow A0A0A0, light and highlight FFFFFF, dark
// shadow 202020, hot 606060.
#include "ButtonTestSupport.h"

#include <QtTest>

namespace {
constexpr quint32 kFace = 0xE0E0E0, kShadow = 0xA0A0A0, kWhite = 0xFFFFFF, kDark = 0x202020, kBlue = 0xFF0000;
constexpr quint32 kOutline = 0x733C00, kOutlineCorner = 0x7B4D10, kNoCaption = 0xFFFFFFFF;
constexpr int W = 67, H = 25;

// What is done to a fresh button before its pixels are read, applied in this order.
enum Action { Focus = 1, Default = 2, Hover = 4, Press = 8, Disable = 16 };

void look(const char* name, int style, int actions, const QList<Px>& pixels, quint32 caption = kNoCaption) {
    QTest::newRow(name) << style << actions << pixels << caption;
}
} // namespace

class TestButtonStyles : public QObject {
    Q_OBJECT

private slots:
    void looks_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("actions");
        QTest::addColumn<QList<Px>>("pixels");
        QTest::addColumn<uint>("caption"); // a colour the caption shows, when given

        // clang-format off
        // GradientRounded: row i is shifted by -i, red and green 255 - i, blue 255 - (255 i) \ 192.
        look("gradient", 3, 0,
             {{3, 3, 0xFCFCFC}, {3, 10, 0xF2F5F5}, {3, 20, 0xE5EBEB}, {W - 4, 10, 0xF2F5F5},
              {W / 2, 0, kOutline}, {0, 5, kOutline}, {W - 1, 5, kOutline}, {W / 2, H - 1, kOutline},
              {2, 0, kOutline}, {1, 1, kOutlineCorner}, {1, H - 2, kOutlineCorner},
              {W - 2, 1, kOutlineCorner}, {W - 2, H - 2, kOutlineCorner},
              {10, H - 2, 0xC0CFCF}, {W - 2, 10, 0xD0DBDB}, {10, 1, kWhite}}, kBlue);
        look("gradient hovered wins over focus", 3, Focus | Hover,
             {{1, 10, 0x31B2FF}, {W - 2, 10, 0x31B2FF}, {10, H - 3, 0x31B2FF}, {10, H - 2, 0x0096E7},
              {10, 1, 0xCEF3FF}, {10, 2, 0x8CDBFF}, {2, 10, 0x6BCBFF}, {W - 3, 10, 0x6BCBFF},
              {W / 2, 0, kOutline}});
        look("gradient focused, no dotted frame", 3, Focus,
             {{1, 10, 0xE7AE8C}, {10, H - 2, 0xEF826B}, {10, 1, 0xFFE7CE}, {10, 2, 0xF7D7BD},
              {2, 10, 0xF0D1B5}, {W - 3, 10, 0xF0D1B5}, {4, 4, 0xFAFBFB}});
        look("gradient default button", 3, Default, {{10, H - 2, 0xEF826B}, {1, 10, 0xE7AE8C}});
        // Down: B = G(white, -32); the reversed gradient is darkest at the top.
        look("gradient down", 3, Press,
             {{3, 3, 0xBDC9C9}, {3, 20, 0xD0DADA}, {1, 10, 0xB2BFBF}, {W - 3, 10, kWhite},
              {W / 2, 0, kOutline}, {1, 1, kOutlineCorner}}, kBlue);
        look("gradient disabled", 3, Disable,
             {{5, 5, 0xE0E7E7}, {W / 2, 0, 0x90ABAB}, {1, 1, 0xA0B7B7}, {W - 2, H - 2, 0xA0B7B7}}, 0x759797);

        look("classic", 1, 0,
             {{0, 5, kDark}, {1, 5, kWhite}, {2, 5, kWhite}, {W - 2, 5, kShadow}, {W - 3, 5, kShadow}});
        look("classic down", 1, Press, {{1, 5, kShadow}, {W - 2, 5, kWhite}});
        look("classic focused", 1, Focus, {{4, 4, 0x1F1F1F}, {5, 4, 0x1FE0E0}});
        look("3-D", 2, 0, {{0, 5, kWhite}, {W - 1, 5, kDark}, {5, H - 1, kDark}, {W - 2, 5, kShadow}});
        look("3-D focused, not default", 2, Focus, {{4, 4, kFace}});
        look("3-D default", 2, Focus | Default,
             {{0, 5, kDark}, {1, 5, kWhite}, {W - 2, 5, kDark}, {4, 4, 0x1F1F1F}});
        look("3-D default down", 2, Focus | Default | Press, {{0, 5, kDark}, {1, 5, kShadow}});
        look("3-D down", 2, Press, {{1, 5, kShadow}, {W - 1, 5, kWhite}, {W - 2, 5, kWhite}});
        look("rounded light", 4, 0,
             {{0, 5, kDark}, {1, 1, kDark}, {5, 5, kWhite}, {10, 2, kWhite}, {W - 3, 5, kFace},
              {10, H - 3, kFace}, {W - 2, 5, kShadow}, {10, H - 2, kShadow}, {W - 3, H - 3, kShadow}});
        look("rounded light down", 4, Press,
             {{1, 5, 0x606060}, {2, 5, 0x808080}, {4, 5, 0x909090}, {W - 3, 5, kShadow},
              {W - 3, H - 2, 0x808080}}, kWhite);
        look("flat etched", 5, 0,
             {{0, 5, 0x868686}, {W - 2, 5, 0x868686}, {1, 5, kWhite}, {W - 1, 5, kWhite}, {5, 5, 0xECECEC},
              {1, H - 2, 0xBABABA}});
        look("flat etched down", 5, Press, {{3, 5, 0xB0B0B0}, {W - 1, 5, kWhite}, {5, H - 1, kWhite}}, kBlue);
        look("flat etched disabled", 5, Disable, {{0, 5, kShadow}, {W - 1, 5, kShadow}, {5, 5, kFace}},
             kShadow);
        look("soft", 6, 0, {{0, 5, kWhite}, {W - 1, 5, kShadow}, {W - 2, 5, kShadow}});
        look("soft down", 6, Press, {{0, 5, kShadow}, {W - 1, 5, kWhite}});
        look("thin", 7, 0, {{0, 5, kWhite}, {W - 1, 5, kShadow}, {1, 5, kFace}});
        look("thin focused", 7, Focus, {{3, 3, 0x1F1F1F}, {4, 3, 0x1FE0E0}});
        look("flat", 8, 0, {{0, 5, kFace}, {W - 1, 5, kFace}}, kBlue);
        look("flat hovered", 8, Hover, {{0, 5, kWhite}, {W - 1, 5, kShadow}});
        look("flat disabled", 8, Disable, {{0, 5, kFace}});
        look("flat highlight", 9, 0, {{0, 5, kFace}});
        look("flat highlight hovered", 9, Hover, {{0, 5, 0x606060}, {5, 5, kFace}});
        look("flat highlight down", 9, Hover | Press, {{0, 5, 0x606060}, {5, 5, 0xC0C0C0}});
        const quint32 container = buttoncolor::fromQRgb(ButtonHost::kContainerColour);
        look("transparent", 11, 0, {{0, 0, container}, {W - 1, H - 1, container}}, kBlue);
        look("transparent down", 11, Press, {{2, 2, container}});
        look("flat hover 3-D", 12, 0, {{0, 5, kFace}});
        look("flat hover 3-D hovered", 12, Hover, {{0, 5, kWhite}, {W - 1, 5, kDark}, {W - 2, 5, kShadow}});
        look("flat hover 3-D down", 12, Press, {{0, 5, kDark}, {W - 1, 5, kWhite}});
        look("oval, pen in the face colour", 13, 0, {{0, H / 2, kFace}});
        look("oval hovered", 13, Hover, {{0, H / 2, kShadow}, {W / 2, 0, kShadow}});
        look("oval down", 13, Press, {{0, H / 2, kDark}, {5, H / 2, 0xC0C0C0}});
        look("oval disabled, no outline", 13, Disable, {{0, H / 2, kFace}}, kShadow);
        // GradientFramed: row i is shifted by -(58 / 25) i, rounded.
        look("gradient framed", 14, 0,
             {{5, 10, 0xE8E8E8}, {5, 20, 0xD1D1D1}, {0, 5, 0x6E6E6E}, {1, 5, 0xD7D7D7}, {10, 2, kWhite},
              {3, 10, kWhite}});
        look("gradient framed hovered", 14, Hover, {{5, 10, kWhite}});
        look("gradient framed down", 14, Press,
             {{5, 10, 0xD7D7D7}, {0, 5, 0x707070}, {10, H - 2, kWhite}, {W - 2, 10, kWhite}});
        look("gradient framed disabled", 14, Disable, {{5, 10, 0xE8E8E8}, {0, 5, 0x6E6E6E}}, kFace);
        // clang-format on
    }

    void looks() {
        QFETCH(int, style);
        QFETCH(int, actions);
        QFETCH(QList<Px>, pixels);
        QFETCH(uint, caption);
        ButtonHost host(style, W, H);
        if (actions & Focus) host.focusIn();
        if (actions & Default) host.button->setDefaultButton(true);
        if (actions & Hover) host.hover();
        if (actions & Press) host.press();
        if (actions & Disable) host.button->setEnabled(false);
        QCOMPARE(host.mismatches(pixels), QString());
        if (caption != kNoCaption) {
            const QRect r = (actions & Press) ? host.button->textRectDown() : host.button->textRect();
            QVERIFY(host.hasColourIn(r, caption));
        }
    }

    void gradientFollowsTheHeight() {
        ButtonHost host(3, W, H);
        host.button->resize(W, 50); // redrawn for the new height at once
        QCOMPARE(host.button->surface().height(), 50);
        CHECK_PIXELS(host, {3, 5, 0xFDFDFD}, // -2.5 rounds to -2
                     {3, 7, 0xFAFBFB},       // -3.5 rounds to -4
                     {3, 25, 0xF0F3F3},      // -12.5 rounds to -12
                     {3, 46, 0xE1E8E8});     // -23
    }

    void gradientRimsFollowTheState() {
        ButtonHost host(3, W, H);
        host.focusIn();
        host.hover();
        QVERIFY(host.unhover());
        CHECK_PIXELS(host, {10, H - 2, 0xEF826B}); // back to the focus rim
        host.button->setShowFocusRect(false);
        CHECK_PIXELS(host, {10, H - 2, 0xC0CFCF}); // plain edges
        host.button->setShowFocusRect(true);
        host.focusOut();
        CHECK_PIXELS(host, {10, H - 2, 0xC0CFCF});
    }

    void windowShapes_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QList<QPoint>>("cut");  // pixels outside the window's shape
        QTest::addColumn<QList<QPoint>>("kept"); // pixels beside them that stay
        const QList<QPoint> corners = {{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}};
        QTest::newRow("gradient rounded") << 3 << corners + QList<QPoint>{{1, 0}, {0, 1}, {W - 2, H - 1}}
                                          << QList<QPoint>{{2, 0}, {1, 1}, {0, 2}, {W - 2, H - 2}};
        QTest::newRow("rounded light") << 4 << corners + QList<QPoint>{{W - 1, 1}, {1, H - 1}}
                                       << QList<QPoint>{{1, 1}};
        QTest::newRow("classic") << 1 << corners << QList<QPoint>{{1, 0}, {0, 1}, {W - 2, H - 1}};
        QTest::newRow("gradient framed") << 14 << corners << QList<QPoint>{{1, 0}, {W - 1, H - 2}};
        QTest::newRow("flat etched") << 5 << QList<QPoint>{{0, H - 1}, {W - 1, 0}}
                                     << QList<QPoint>{{0, 0}, {W - 1, H - 1}};
        // The oval: the pixels whose centre lies in the ellipse.
        QTest::newRow("oval") << 13 << QList<QPoint>{{0, 0}, {23, 0}, {43, 0}, {17, 1}, {4, 1}}
                              << QList<QPoint>{{24, 0}, {42, 0}, {18, 1}, {0, H / 2}, {W - 1, H / 2}};
        for (int style : {2, 8, 12, 0})
            QTest::newRow(qPrintable(QStringLiteral("rectangle %1").arg(style)))
                << style << QList<QPoint>{} << corners;
    }

    void windowShapes() {
        QFETCH(int, style);
        QFETCH(QList<QPoint>, cut);
        QFETCH(QList<QPoint>, kept);
        ButtonHost host(style, W, H);
        const QRegion shape = host.button->mask().isEmpty() ? QRegion(0, 0, W, H) : host.button->mask();
        for (QPoint p : cut)
            QVERIFY2(!shape.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        for (QPoint p : kept)
            QVERIFY2(shape.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        if (style == 3) { // the shaped image the window shows is clear where the shape is cut
            const QImage shaped = host.button->shapedImage();
            QCOMPARE(qAlpha(shaped.pixel(1, 0)), 0);
            QCOMPARE(qAlpha(shaped.pixel(2, 0)), 255);
        }
    }

    void coloursBesideTheTable() {
        ButtonHost etched(5, W, H); // the focus frame around the caption
        etched.focusIn();
        const QRect t = etched.button->textRect();
        CHECK_PIXELS(etched, {t.left() - 2, t.top() + 2, 0xCC9999}, {t.right() + 2, t.top() + 2, 0xCC9999});

        ButtonHost flat(8, W, H);
        flat.button->setBackOver(0xC0FFC0);
        flat.hover();
        CHECK_PIXELS(flat, {5, 5, 0xC0FFC0}, {W - 1, 5, 0x80BF80}); // BackOver and its shadow
        QCOMPARE(flat.button->colors().cFace, kFace);               // restored after the drawing

        ButtonHost highlight(9, W, H);
        highlight.button->setColorScheme(3);
        highlight.hover();
        highlight.press();
        CHECK_PIXELS(highlight, {5, 5, buttoncolor::BlendColor(0x800000, 128)});
    }

    void plainFaceAndUnknownTypes() {
        ButtonHost plain(10, W, H);
        plain.hover();
        plain.press();
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                QCOMPARE(plain.px(x, y), kFace); // no caption, no frame
        for (int type : {0, 15, -3})             // drawn as the plain face
            QCOMPARE(ButtonHost(type, W, H).button->surface(), ButtonHost(10, W, H).button->surface());
    }

    void gradientFramedDefaultButtonIsBold() {
        ButtonHost host(14, W, H);
        host.button->setFontBold(false);
        const QImage before = host.button->surface();
        const QRect layout = host.button->textRect();
        host.button->setDefaultButton(true);
        QVERIFY(host.button->surface() != before); // drawn in bold
        QCOMPARE(host.button->textRect(), layout); // the layout follows the kept font
        QVERIFY(!host.button->FontBold());
    }
};

QTEST_MAIN(TestButtonStyles)
#include "tst_buttonstyles.moc"
