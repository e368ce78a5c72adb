#include "widgets/ColorValue.h"

#include <QGuiApplication>
#include <QPalette>

namespace colorvalue {

namespace {

// System colour indexes mapped to roles of a Qt palette:
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
QColor paletteColor(int index, const QPalette& pal) {
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

quint32 systemColorValue(int index, const QPalette& palette) {
    return fromQRgb(paletteColor(index, palette).rgb());
}

quint32 systemColorValue(int index) {
    return systemColorValue(index, QGuiApplication::palette());
}

quint32 TranslateColor(quint32 c, const QPalette& palette) {
    if (isSystemColor(c)) return systemColorValue(int(c & 255), palette);
    return c & 0x00FFFFFFu;
}

quint32 TranslateColor(quint32 c) {
    return TranslateColor(c, QGuiApplication::palette());
}

QColor toQColor(quint32 c, const QPalette& palette) {
    return QColor::fromRgb(toQRgb(TranslateColor(c, palette)));
}

} // namespace colorvalue
