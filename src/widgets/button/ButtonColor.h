#pragma once

#include <QRgb>
#include <QtGlobal>

// Colour values are written the way the button's stored settings write them: 0x00BBGGRR
// (red + 256 * green + 65536 * blue). A value with the high bit set refers to a system
// colour whose index is the low byte. Conversion to Qt's 0xAARRGGBB happens only where
// pixels are written.
namespace buttoncolor {

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

// The current RGB value of a system colour index, taken from the application palette.
quint32 systemColorValue(int index);

// A system-colour reference becomes the current RGB of that system colour; an RGB value
// passes unchanged (the unused top byte is dropped).
quint32 TranslateColor(quint32 c);

// Brightens (a > 0) or darkens (a < 0) every channel by a. With softBevel the amount is
// halved first. In gradient mode the blue channel is scaled by a/192 instead of shifted.
// Channels are limited to 0..255 only when a >= 1 or a < 0.
quint32 ShiftColor(quint32 c, int a, bool gradient, bool softBevel);

// Tints every channel toward white by alpha (0..255).
quint32 BlendColor(quint32 c, int alpha);

} // namespace buttoncolor
