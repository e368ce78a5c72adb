#include "ButtonCanvas.h"

#include "ButtonColor.h"

#include <algorithm>
#include <cstdlib>

using buttoncolor::toQRgb;

void ButtonCanvas::DrawPixel(int x, int y, quint32 colour) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = toQRgb(colour);
}

void ButtonCanvas::DrawRectangle(int x, int y, int w, int h, quint32 colour, bool frameOnly) {
    if (w <= 0 || h <= 0) return;
    if (frameOnly) {
        // The border lies inside the rectangle: top and bottom rows, then the two columns.
        DrawRectangle(x, y, w, 1, colour, false);
        DrawRectangle(x, y + h - 1, w, 1, colour, false);
        DrawRectangle(x, y, 1, h, colour, false);
        DrawRectangle(x + w - 1, y, 1, h, colour, false);
        return;
    }
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + w, image_.width());
    const int bottom = std::min(y + h, image_.height());
    if (left >= right || top >= bottom) return;
    const QRgb p = toQRgb(colour);
    for (int row = top; row < bottom; ++row) {
        QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(row));
        std::fill(line + left, line + right, p);
    }
}

void ButtonCanvas::DrawLine(int x1, int y1, int x2, int y2, quint32 colour) {
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    if (dx == 0 && dy == 0) return;
    if (dy == 0) { // horizontal: x1 .. x2 exclusive
        if (x1 < x2)
            DrawRectangle(x1, y1, dx, 1, colour, false);
        else
            DrawRectangle(x2 + 1, y1, dx, 1, colour, false);
        return;
    }
    if (dx == 0) {
        if (y1 < y2)
            DrawRectangle(x1, y1, 1, dy, colour, false);
        else
            DrawRectangle(x1, y2 + 1, 1, dy, colour, false);
        return;
    }
    // Steps along the major axis; the minor coordinate of step i is the start plus
    // i * minor / major rounded to the nearest integer, halves away from the start.
    const int sx = x2 > x1 ? 1 : -1;
    const int sy = y2 > y1 ? 1 : -1;
    const int major = std::max(dx, dy);
    for (int i = 0; i < major; ++i) {
        if (dx >= dy) {
            const int off = (2 * i * dy + dx) / (2 * dx);
            DrawPixel(x1 + sx * i, y1 + sy * off, colour);
        } else {
            const int off = (2 * i * dx + dy) / (2 * dy);
            DrawPixel(x1 + sx * off, y1 + sy * i, colour);
        }
    }
}

bool ButtonCanvas::insideEllipse(int px, int py, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return false;
    const double rx = w / 2.0;
    const double ry = h / 2.0;
    const double ex = (px + 0.5 - (x + rx)) / rx;
    const double ey = (py + 0.5 - (y + ry)) / ry;
    return ex * ex + ey * ey <= 1.0;
}

void ButtonCanvas::DrawEllipse(int x, int y, int w, int h, quint32 pen, quint32 fill) {
    if (w <= 0 || h <= 0) return;
    const QRgb penPixel = toQRgb(pen);
    const QRgb fillPixel = toQRgb(fill);
    const int top = std::max(y - 1, 0);
    const int bottom = std::min(y + h + 1, image_.height());
    const int left = std::max(x - 1, 0);
    const int right = std::min(x + w + 1, image_.width());
    for (int py = top; py < bottom; ++py) {
        QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(py));
        for (int px = left; px < right; ++px) {
            // The pen is two pixels wide and centred on the ellipse's edge: one pixel ring
            // outside the ellipse and one inside it.
            if (insideEllipse(px, py, x + 1, y + 1, w - 2, h - 2))
                line[px] = fillPixel;
            else if (insideEllipse(px, py, x - 1, y - 1, w + 2, h + 2))
                line[px] = penPixel;
        }
    }
}

void ButtonCanvas::lineTo(int x, int y, quint32 colour) {
    DrawLine(curX_, curY_, x, y, colour);
    curX_ = x;
    curY_ = y;
}

void ButtonCanvas::DrawFrame(quint32 c1, quint32 c2, quint32 c3, quint32 c4, int offset, bool singleRing) {
    const int a = std::abs(offset);
    const int r = image_.width() - 1 + offset;
    const int b = image_.height() - 1 + offset;
    moveTo(a, b);
    lineTo(a, a, c1);
    lineTo(r, a, c1);
    lineTo(r, b, c2);
    lineTo(a - 1, b, c2);
    if (singleRing) return;
    moveTo(a + 1, b - 1);
    lineTo(a + 1, a + 1, c3);
    lineTo(r - 1, a + 1, c3);
    lineTo(r - 1, b - 1, c4);
    lineTo(a, b - 1, c4);
}

void ButtonCanvas::DrawFocusFrame(const QRect& r, quint32 textColour) {
    if (r.width() <= 0 || r.height() <= 0) return;
    const QRgb white = 0x00FFFFFF;
    const QRgb text = toQRgb(textColour) & 0x00FFFFFF;
    auto xorPixel = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
        QRgb& p = reinterpret_cast<QRgb*>(image_.scanLine(y))[x];
        p ^= ((x + y) & 1) == 0 ? white : text;
    };
    const int left = r.left();
    const int top = r.top();
    const int right = r.left() + r.width() - 1;
    const int bottom = r.top() + r.height() - 1;
    for (int x = left; x <= right; ++x) {
        xorPixel(x, top);
        if (bottom != top) xorPixel(x, bottom);
    }
    for (int y = top + 1; y < bottom; ++y) {
        xorPixel(left, y);
        if (right != left) xorPixel(right, y);
    }
}

void ButtonCanvas::CopyFrom(const QImage& source) {
    if (source.isNull()) return;
    const QImage src = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    const int w = std::min(src.width(), image_.width());
    const int h = std::min(src.height(), image_.height());
    for (int y = 0; y < h; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = 0; x < w; ++x)
            out[x] = in[x] | 0xFF000000u;
    }
}
