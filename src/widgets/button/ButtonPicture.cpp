#include "ButtonPicture.h"

#include "ButtonColor.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace buttonpicture {

namespace {

constexpr double kHiMetricPerInch = 2540.0;
constexpr double kScreenDpi = 96.0;

int hiMetricOf(int pixels, int dotsPerMeter) {
    if (dotsPerMeter <= 0) return int(std::lround(pixels * kHiMetricPerInch / kScreenDpi));
    return int(std::lround(pixels * 100000.0 / dotsPerMeter));
}

// The picture as w x h RGB32 pixels: a bitmap's top-left part (black where it is smaller),
// an icon drawn in its own size over the mask colour.
QImage offscreen(const QImage& picture, int w, int h, quint32 mask) {
    QImage out(w, h, QImage::Format_RGB32);
    if (isIcon(picture)) {
        out.fill(QColor::fromRgb(buttoncolor::toQRgb(mask)));
        QPainter p(&out);
        p.drawImage(0, 0, picture);
    } else {
        out.fill(Qt::black);
        const QImage src = picture.format() == QImage::Format_RGB32
                               ? picture
                               : picture.convertToFormat(QImage::Format_RGB32);
        const int cw = std::min(w, src.width());
        const int ch = std::min(h, src.height());
        for (int row = 0; row < ch; ++row)
            std::copy_n(reinterpret_cast<const QRgb*>(src.constScanLine(row)), cw,
                        reinterpret_cast<QRgb*>(out.scanLine(row)));
    }
    return out;
}

int grey(int r, int g, int b) {
    // The red part is rounded on its own first; both roundings send halves to the even integer.
    const double redPart = std::nearbyint(0.3 * r);
    return int(std::nearbyint(redPart + 0.59 * g + 0.11 * b));
}

} // namespace

bool isIcon(const QImage& picture) {
    return !picture.isNull() && picture.hasAlphaChannel();
}

QSize storedSize(const QImage& picture) {
    if (picture.isNull()) return QSize(0, 0);
    return QSize(hiMetricOf(picture.width(), picture.dotsPerMeterX()),
                 hiMetricOf(picture.height(), picture.dotsPerMeterY()));
}

int hiMetricToPixels(double hiMetric) {
    return int(std::nearbyint(hiMetric * kScreenDpi / kHiMetricPerInch));
}

void DrawPictureTransparent(QImage& surface, int x, int y, int w, int h, const QImage& picture,
                            const Transfer& t) {
    if (w <= 0 || h <= 0 || picture.isNull()) return;
    const QImage pic = offscreen(picture, w, h, t.mask);
    const QRgb maskPixel = buttoncolor::toQRgb(t.mask) & 0x00FFFFFFu;
    const QRgb solidPixel = buttoncolor::toQRgb(t.solid) | 0xFF000000u;
    const int left = std::max(0, -x), top = std::max(0, -y);
    const int right = std::min(w, surface.width() - x), bottom = std::min(h, surface.height() - y);
    for (int row = top; row < bottom; ++row) {
        const QRgb* in = reinterpret_cast<const QRgb*>(pic.constScanLine(row));
        QRgb* out = reinterpret_cast<QRgb*>(surface.scanLine(y + row)) + x;
        for (int col = left; col < right; ++col) {
            const QRgb v = in[col] & 0x00FFFFFFu;
            if (t.hasMask && v == maskPixel) continue;
            const int r = qRed(v), g = qGreen(v), b = qBlue(v);
            if (t.hasSolid) {
                if (t.darkOnly && r + g + b > 384) continue;
                out[col] = solidPixel;
            } else if (t.greyscale) {
                const int k = grey(r, g, b);
                out[col] = qRgb(k, k, k);
            } else if (t.fade) {
                const QRgb d = out[col];
                out[col] = qRgb((2 * r + qRed(d)) / 3, (2 * g + qGreen(d)) / 3, (2 * b + qBlue(d)) / 3);
            } else {
                out[col] = v | 0xFF000000u;
            }
        }
    }
}

} // namespace buttonpicture
