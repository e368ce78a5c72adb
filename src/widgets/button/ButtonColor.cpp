#include "ButtonColor.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

namespace buttoncolor {

namespace {

// System colour indexes mapped to roles of the application palette:
//   15 button face -> Button         16 button shadow -> Dark       18 button text -> ButtonText
//   20 button highlight -> Light     21 3-D dark shadow -> Shadow   22 3-D light -> Midlight
//   13 selection -> Highlight        14 selected text -> HighlightedText
//    5 window -> Base                 8 window text -> Text          7 menu text -> WindowText
//    1 desktop, 4 menu, 30 menu bar -> Window
//    2 active caption, 27, 29 -> Highlight;  9 caption text -> HighlightedText
//    0 scroll bar, 3 inactive caption, 12 work space, 28 -> Mid
//    6 window frame -> Shadow        10, 11 borders -> Button
//   17 grey text, 19 inactive caption text -> disabled Text
//   23 tooltip text -> ToolTipText   24 tooltip -> ToolTipBase      26 hot-track -> Link
// Any other index falls back to the button face.
QColor paletteColor(int index) {
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 0:
    case 3:
    case 12:
    case 28:
        return pal.color(QPalette::Active, QPalette::Mid);
    case 1:
    case 4:
    case 30:
        return pal.color(QPalette::Active, QPalette::Window);
    case 2:
    case 13:
    case 27:
    case 29:
        return pal.color(QPalette::Active, QPalette::Highlight);
    case 5:
        return pal.color(QPalette::Active, QPalette::Base);
    case 6:
    case 21:
        return pal.color(QPalette::Active, QPalette::Shadow);
    case 7:
        return pal.color(QPalette::Active, QPalette::WindowText);
    case 8:
        return pal.color(QPalette::Active, QPalette::Text);
    case 9:
    case 14:
        return pal.color(QPalette::Active, QPalette::HighlightedText);
    case 16:
        return pal.color(QPalette::Active, QPalette::Dark);
    case 17:
    case 19:
        return pal.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return pal.color(QPalette::Active, QPalette::ButtonText);
    case 20:
        return pal.color(QPalette::Active, QPalette::Light);
    case 22:
        return pal.color(QPalette::Active, QPalette::Midlight);
    case 23:
        return pal.color(QPalette::Active, QPalette::ToolTipText);
    case 24:
        return pal.color(QPalette::Active, QPalette::ToolTipBase);
    case 26:
        return pal.color(QPalette::Active, QPalette::Link);
    default:
        return pal.color(QPalette::Active, QPalette::Button);
    }
}

} // namespace

quint32 systemColorValue(int index) {
    return fromQRgb(paletteColor(index).rgb());
}

quint32 TranslateColor(quint32 c) {
    if (isSystemColor(c)) return systemColorValue(int(c & 255));
    return c & 0x00FFFFFFu;
}

quint32 ShiftColor(quint32 c, int a, bool gradient, bool softBevel) {
    if (softBevel) a = a / 2;
    int r = int(c & 255);
    int g = int((c / 256) % 256);
    int b = int((c / 65536) % 256);
    r += a;
    g += a;
    b += gradient ? (b * a) / 192 : a;
    if (a >= 1) {
        r = std::min(r, 255);
        g = std::min(g, 255);
        b = std::min(b, 255);
    } else if (a < 0) {
        r = std::max(r, 0);
        g = std::max(g, 0);
        b = std::max(b, 0);
    }
    return quint32(r) + 256u * quint32(g) + 65536u * quint32(b);
}

quint32 BlendColor(quint32 c, int alpha) {
    auto channel = [alpha](int v) { return std::min(255, (v * (255 - alpha)) / 255 + alpha); };
    return rgb(channel(red(c)), channel(green(c)), channel(blue(c)));
}

} // namespace buttoncolor
