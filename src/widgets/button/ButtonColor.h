#pragma once

#include "widgets/ColorValue.h"

// The button's colour arithmetic on colour values (see widgets/ColorValue.h).
namespace buttoncolor {

using namespace colorvalue;

// Brightens (a > 0) or darkens (a < 0) every channel by a. With softBevel the amount is
// halved first. In gradient mode the blue channel is scaled by a/192 instead of shifted.
// Channels are limited to 0..255 only when a >= 1 or a < 0.
quint32 ShiftColor(quint32 c, int a, bool gradient, bool softBevel);

// Tints every channel toward white by alpha (0..255).
quint32 BlendColor(quint32 c, int alpha);

} // namespace buttoncolor
