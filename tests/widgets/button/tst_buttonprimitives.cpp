// The pixel rules of the drawing primitives and the window shapes.
#include "widgets/button/ButtonCanvas.h"
#include "widgets/button/ButtonColor.h"
#include "widgets/button/ButtonShape.h"

#include <QtTest>

namespace {

constexpr quint32 kA = 0x0000FF, kB = 0x00FF00, kC = 0xFF0000, kD = 0xFFFF00;
constexpr quint32 kBack = 0x101010;

QImage blank(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(buttoncolor::toQRgb(kBack));
    return img;
}

quint32 at(const QImage& img, int x, int y) {
    return buttoncolor::fromQRgb(img.pixel(x, y));
}

// The set of pixels of a given colour, as "x,y" strings in row order.
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
    void linesStopShortOfTheirEnd() {
        QImage img = blank(10, 10);
        ButtonCanvas c(img);
        c.DrawLine(1, 1, 5, 1, kA);
        QCOMPARE(pixelsOf(img, kA), QStringList({"1,1", "2,1", "3,1", "4,1"}));
        c.DrawLine(8, 8, 8, 5, kB); // upward
        QCOMPARE(pixelsOf(img, kB), QStringList({"8,6", "8,7", "8,8"}));
        c.DrawLine(3, 3, 3, 3, kC); // empty
        QVERIFY(pixelsOf(img, kC).isEmpty());
        c.DrawLine(5, 5, 2, 5, kC); // leftward
        QCOMPARE(pixelsOf(img, kC), QStringList({"3,5", "4,5", "5,5"}));
    }

    void diagonalLines() {
        QImage img = blank(8, 8);
        ButtonCanvas c(img);
        c.DrawLine(6, 3, 4, 5, kA); // 45 degrees, down and left
        QCOMPARE(pixelsOf(img, kA), QStringList({"6,3", "5,4"}));
        c.DrawLine(1, 2, 2, 0, kB); // steep, up: two pixels, the end left out
        const QStringList steep = pixelsOf(img, kB);
        QCOMPARE(steep.size(), 2);
        QCOMPARE(steep.last(), QStringLiteral("1,2"));
        QVERIFY(!steep.contains(QStringLiteral("2,0")));
    }

    void rectanglesFillAndFrameInside() {
        QImage img = blank(8, 6);
        ButtonCanvas c(img);
        c.DrawRectangle(1, 1, 3, 2, kA, false);
        QCOMPARE(pixelsOf(img, kA), QStringList({"1,1", "2,1", "3,1", "1,2", "2,2", "3,2"}));
        img = blank(8, 6);
        ButtonCanvas f(img);
        f.DrawRectangle(0, 0, 4, 3, kB, true);
        QCOMPARE(pixelsOf(img, kB),
                 QStringList({"0,0", "1,0", "2,0", "3,0", "0,1", "3,1", "0,2", "1,2", "2,2", "3,2"}));
        f.DrawRectangle(5, 0, 0, 3, kC, true);     // empty rectangles draw nothing
        f.DrawRectangle(-3, -3, 20, 20, kC, true); // clipped, the inside untouched
        QCOMPARE(at(img, 1, 1), kBack);
    }

    void frameIsOneContinuousPath() {
        QImage img = blank(6, 5);
        ButtonCanvas c(img);
        c.DrawFrame(kA, kB, kC, kD, 0, false);
        // Outer ring: left and top in c1, right and bottom in c2; the bottom-left corner
        // belongs to c2 (the last segment runs to x = -1).
        for (int y = 0; y < 4; ++y)
            QCOMPARE(at(img, 0, y), kA);
        for (int x = 0; x < 5; ++x)
            QCOMPARE(at(img, x, 0), kA);
        for (int y = 0; y < 5; ++y)
            QCOMPARE(at(img, 5, y), kB);
        QCOMPARE(at(img, 0, 4), kB);
        // Inner ring: the same in c3 / c4, one pixel in.
        QCOMPARE(at(img, 1, 1), kC);
        QCOMPARE(at(img, 3, 1), kC);
        QCOMPARE(at(img, 1, 2), kC);
        QCOMPARE(at(img, 4, 1), kD);
        QCOMPARE(at(img, 4, 3), kD);
        QCOMPARE(at(img, 1, 3), kD);
        QCOMPARE(at(img, 2, 2), kBack);
    }

    void frameInsetAndSingleRing() {
        QImage img = blank(7, 6);
        ButtonCanvas c(img);
        c.DrawFrame(kA, kB, kC, kD, -1, false);
        for (int x = 0; x < 7; ++x)
            QCOMPARE(at(img, x, 0), kBack);
        QCOMPARE(at(img, 1, 1), kA);
        QCOMPARE(at(img, 5, 1), kB);
        QCOMPARE(at(img, 1, 4), kB); // the bottom segment runs toward a - 1 = 0 and stops at 1
        QCOMPARE(at(img, 0, 4), kBack);
        QCOMPARE(at(img, 2, 2), kC);
        QCOMPARE(at(img, 4, 3), kD);

        img = blank(5, 4);
        ButtonCanvas s(img);
        s.DrawFrame(kA, kB, kC, kD, 0, true);
        QVERIFY(pixelsOf(img, kC).isEmpty());
        QVERIFY(pixelsOf(img, kD).isEmpty());
        QCOMPARE(at(img, 1, 1), kBack);
    }

    void focusFrameAlternatesAndInverts() {
        QImage img = blank(8, 6);
        ButtonCanvas c(img);
        const QRect r(1, 1, 5, 4);
        c.DrawFocusFrame(r, 0xFF0000);
        QCOMPARE(at(img, 1, 1), 0xEFEFEFu);         // x + y even: inverted
        QCOMPARE(at(img, 2, 1), kBack ^ 0xFF0000u); // odd: combined with the text colour
        QCOMPARE(at(img, 2, 2), kBack);             // inside untouched
        c.DrawFocusFrame(r, 0xFF0000);              // drawing it again restores the pixels
        QCOMPARE(pixelsOf(img, kBack).size(), 8 * 6);
    }

    void ellipseFillAndPen() {
        QImage img = blank(21, 11);
        ButtonCanvas c(img);
        c.DrawEllipse(0, 0, 21, 11, kA, kB);
        QCOMPARE(at(img, 10, 5), kB);
        QCOMPARE(at(img, 0, 5), kA);
        QCOMPARE(at(img, 20, 5), kA);
        QCOMPARE(at(img, 10, 0), kA);
        QCOMPARE(at(img, 0, 0), kBack);
    }

    void cornerCutShapes() {
        const int w = 67, h = 25;
        const QRegion rounded = buttonRegion(3, w, h);
        for (QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(w - 2, 0), QPoint(w - 1, 0),
                         QPoint(w - 1, 1), QPoint(0, h - 1), QPoint(1, h - 1), QPoint(0, h - 2),
                         QPoint(w - 2, h - 1), QPoint(w - 1, h - 1), QPoint(w - 1, h - 2)})
            QVERIFY2(!rounded.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        for (QPoint p : {QPoint(2, 0), QPoint(1, 1), QPoint(0, 2), QPoint(w - 3, 0), QPoint(w - 1, h - 3)})
            QVERIFY(rounded.contains(p));
        QCOMPARE(buttonRegion(4, w, h), rounded);

        const QRegion corners = buttonRegion(1, w, h);
        QVERIFY(!corners.contains(QPoint(0, 0)) && !corners.contains(QPoint(w - 1, h - 1)));
        QVERIFY(corners.contains(QPoint(1, 0)) && corners.contains(QPoint(0, 1)));
        QCOMPARE(buttonRegion(14, w, h), corners);

        const QRegion etched = buttonRegion(5, w, h);
        QVERIFY(!etched.contains(QPoint(0, h - 1)) && !etched.contains(QPoint(w - 1, 0)));
        QVERIFY(etched.contains(QPoint(0, 0)) && etched.contains(QPoint(w - 1, h - 1)));

        for (int type : {2, 6, 7, 8, 9, 10, 11, 12, 0, 99})
            QCOMPARE(buttonRegion(type, w, h), QRegion(0, 0, w, h));
    }

    void ovalShapeIsTheInscribedEllipse() {
        const int w = 67, h = 25;
        const QRegion oval = buttonRegion(13, w, h);
        QCOMPARE(oval.boundingRect(), QRect(0, 0, w, h));
        QVERIFY(oval.contains(QPoint(0, h / 2)) && oval.contains(QPoint(w - 1, h / 2)));
        QVERIFY(oval.contains(QPoint(w / 2, 0)) && oval.contains(QPoint(w / 2, h - 1)));
        QVERIFY(!oval.contains(QPoint(0, 0)) && !oval.contains(QPoint(w - 1, h - 1)));
        QVERIFY(!oval.contains(QPoint(4, 1)));
        // Mirror symmetric both ways, and every pixel centre inside the equation.
        int count = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool in = oval.contains(QPoint(x, y));
                QCOMPARE(in, oval.contains(QPoint(w - 1 - x, y)));
                QCOMPARE(in, oval.contains(QPoint(x, h - 1 - y)));
                const double ex = (x + 0.5 - w / 2.0) / (w / 2.0), ey = (y + 0.5 - h / 2.0) / (h / 2.0);
                QCOMPARE(in, ex * ex + ey * ey <= 1.0);
                count += in;
            }
        // Close to the ellipse's area, pi / 4 of the rectangle.
        QVERIFY(qAbs(count - 3.14159265 / 4 * w * h) < w + h);
    }
};

QTEST_MAIN(TestButtonPrimitives)
#include "tst_buttonprimitives.moc"
