#include "ButtonColor.h"

#include <algorithm>

namespace buttoncolor {

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
