#include "ButtonShape.h"

#include "ButtonCanvas.h"

namespace {

QRegion withoutPixels(int w, int h, std::initializer_list<QPoint> pixels) {
    QRegion region(0, 0, w, h);
    for (const QPoint& p : pixels)
        region -= QRegion(p.x(), p.y(), 1, 1);
    return region;
}

QRegion ellipseRegion(int w, int h) {
    QRegion region;
    for (int y = 0; y < h; ++y) {
        int left = 0;
        while (left < w && !ButtonCanvas::insideEllipse(left, y, 0, 0, w, h))
            ++left;
        if (left >= w) continue;
        const int right = w - left; // the ellipse is symmetric about the vertical axis
        region += QRegion(left, y, right - left, 1);
    }
    return region;
}

} // namespace

QRegion buttonRegion(int buttonType, int w, int h) {
    if (w <= 0 || h <= 0) return QRegion();
    switch (buttonType) {
    case 1:
    case 14:
        return withoutPixels(w, h, {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}});
    case 5:
        return withoutPixels(w, h, {{0, h - 1}, {w - 1, 0}});
    case 3:
    case 4:
        return withoutPixels(w, h,
                             {{0, 0},
                              {1, 0},
                              {0, 1},
                              {w - 2, 0},
                              {w - 1, 0},
                              {w - 1, 1},
                              {0, h - 1},
                              {1, h - 1},
                              {0, h - 2},
                              {w - 2, h - 1},
                              {w - 1, h - 1},
                              {w - 1, h - 2}});
    case 13:
        return ellipseRegion(w, h);
    default:
        return QRegion(0, 0, w, h);
    }
}

QRect buttonFocusRect(int buttonType, int w, int h) {
    QRect r(0, 0, w, h);
    if (buttonType >= 7 && buttonType <= 13) return r.adjusted(3, 3, -3, -3);
    if (buttonType == 14) return r.adjusted(5, 5, -5, -5).translated(1, 1);
    return r.adjusted(4, 4, -4, -4);
}
