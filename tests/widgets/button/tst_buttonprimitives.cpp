// Colour arithmetic, access keys and the pixel rules of the drawing primitives.
#include "widgets/button/AccessKey.h"
#include "widgets/button/ButtonCanvas.h"
#include "widgets/button/ButtonColor.h"

#include <QtTest>

using namespace buttoncolor;

namespace {

constexpr quint32 kA = 0x0000FF, kB = 0x00FF00, kC = 0xFF0000, kD = 0xFFFF00, kBack = 0x101010;

QImage blank(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(toQRgb(kBack));
    return img;
}

quint32 at(const QImage& img, int x, int y) {
    return fromQRgb(img.pixel(x, y));
}

// The pixels of a given colour, as "x,y" in row order.
QStringList pixelsOf(const QImage& img, quint32 colour) {
    QStringList out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (at(img, x, y) == colour) out << QStringLiteral("%1,%2").arg(x).arg(y);
    return out;
}

} // namespace

class TestButtonPrimitives : public QObject {
    Q_OBJECT

private slots:
    void shiftColor_data() {
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

    void shiftColor() {
        QFETCH(uint, colour);
        QFETCH(int, amount);
        QFETCH(bool, gradient);
        QFETCH(bool, soft);
        QTEST(uint(ShiftColor(colour, amount, gradient, soft)), "expected");
    }

    void blendColorTintsTowardWhite() {
        QCOMPARE(BlendColor(0x800000, 176), rgb(176, 176, 215));
        QCOMPARE(BlendColor(0x000000, 255), 0xFFFFFFu);
        QCOMPARE(BlendColor(rgb(10, 100, 200), 128), rgb(132, 177, 227));
    }

    void accessKeys_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* caption, const char* key, const char* shown) {
            QTest::newRow(caption) << QString(caption) << QString(key) << QString(shown);
        };
        row("&Open", "o", "Open");
        row("Sa&Ve", "v", "SaVe"); // lowered
        row("Save && Exit", "", "Save & Exit");
        row("A&&B&C", "c", "A&BC");
        row("Open&", "", "Open");
        row("&Copy &File", "c", "Copy File");
    }

    void accessKeys() {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        const QChar got = accessKeyOf(caption);
        QCOMPARE(got.isNull() ? QString() : QString(got), key);
        QTEST(captionWithoutMarkers(caption), "shown");
    }

    void linesStopShortOfTheirEnd_data() {
        QTest::addColumn<QRect>("from_to"); // (x1, y1) and (x2, y2) as left/top and right/bottom
        QTest::addColumn<QStringList>("pixels");
        QTest::newRow("right") << QRect(QPoint(1, 1), QPoint(5, 1))
                               << QStringList{"1,1", "2,1", "3,1", "4,1"};
        QTest::newRow("up") << QRect(QPoint(8, 8), QPoint(8, 5)) << QStringList{"8,6", "8,7", "8,8"};
        QTest::newRow("left") << QRect(QPoint(5, 5), QPoint(2, 5)) << QStringList{"3,5", "4,5", "5,5"};
        QTest::newRow("empty") << QRect(QPoint(3, 3), QPoint(3, 3)) << QStringList{};
        QTest::newRow("diagonal") << QRect(QPoint(6, 3), QPoint(4, 5)) << QStringList{"6,3", "5,4"};
    }

    void linesStopShortOfTheirEnd() {
        QFETCH(QRect, from_to);
        QImage img = blank(10, 10);
        ButtonCanvas(img).DrawLine(from_to.left(), from_to.top(), from_to.right(), from_to.bottom(), kA);
        QTEST(pixelsOf(img, kA), "pixels");
    }

    void frameIsOneContinuousPath() {
        QImage img = blank(6, 5);
        ButtonCanvas c(img);
        c.DrawFrame(kA, kB, kC, kD, 0, false);
        // Left and top in c1, right and bottom in c2; the bottom-left corner belongs to c2.
        QCOMPARE(pixelsOf(img, kA), QStringList({"0,0", "1,0", "2,0", "3,0", "4,0", "0,1", "0,2", "0,3"}));
        QCOMPARE(pixelsOf(img, kB).size(), 5 + 5);
        QCOMPARE(at(img, 0, 4), kB);
        // The inner ring the same in c3 / c4, one pixel in.
        QCOMPARE(pixelsOf(img, kC), QStringList({"1,1", "2,1", "3,1", "1,2"}));
        QCOMPARE(pixelsOf(img, kD), QStringList({"4,1", "4,2", "1,3", "2,3", "3,3", "4,3"}));

        img = blank(7, 6);
        ButtonCanvas(img).DrawFrame(kA, kB, kC, kD, -1, true); // one pixel in, outer ring only
        QCOMPARE(pixelsOf(img, kA).first(), QStringLiteral("1,1"));
        QCOMPARE(pixelsOf(img, kB).last(), QStringLiteral("5,4")); // the bottom stops at x = 1
        QCOMPARE(pixelsOf(img, kA).size() + pixelsOf(img, kB).size(), 2 * 5 + 2 * 2);
        QCOMPARE(at(img, 0, 4), kBack);
    }
};

QTEST_MAIN(TestButtonPrimitives)
#include "tst_buttonprimitives.moc"
