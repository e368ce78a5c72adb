#pragma once

#include <QColor>
#include <QRgb>
#include <QtGlobal>

class QPalette;

// Colour values are written the way the controls' stored settings write them: 0x00BBGGRR
// (red + 256 * green + 65536 * blue). A value with the high bit set refers to a system
// colour whose index is the low byte. Conversion to Qt's 0xAARRGGBB happens only where
// pixels are written.
namespace colorvalue {

constexpr quint32 kSystemColorFlag = 0x80000000u;

constexpr quint32 rgb(int r, int g, int b) {
    return quint32(r & 255) | (quint32(g & 255) << 8) | (quint32(b & 255) << 16);
}
constexpr int red(quint32 c) {
    return int(c & 255);
}
constexpr int green(quint32 c) {
    return int((c >> 8) & 255);
}
constexpr int blue(quint32 c) {
    return int((c >> 16) & 255);
}

constexpr QRgb toQRgb(quint32 c) {
    return 0xFF000000u | (quint32(red(c)) << 16) | (quint32(green(c)) << 8) | quint32(blue(c));
}
constexpr quint32 fromQRgb(QRgb p) {
    return rgb(qRed(p), qGreen(p), qBlue(p));
}

constexpr bool isSystemColor(quint32 c) {
    return (c & kSystemColorFlag) != 0;
}
constexpr quint32 systemColor(int index) {
    return kSystemColorFlag | quint32(index & 255);
}

// The current RGB value of a system colour index, taken from a palette (by default the
// application's).
quint32 systemColorValue(int index);
quint32 systemColorValue(int index, const QPalette& palette);

// A system-colour reference becomes the current RGB of that system colour; an RGB value
// passes unchanged (the unused top byte is dropped).
quint32 TranslateColor(quint32 c);
quint32 TranslateColor(quint32 c, const QPalette& palette);

// The colour as Qt draws it, system colours resolved against palette.
QColor toQColor(quint32 c, const QPalette& palette);

} // namespace colorvalue
