#pragma once

namespace platform {

// Runs before the QApplication is created: the web engine's sandbox turned off when we
// run as root (it cannot start there).
void prepareApplication();

// Font faces the windows name that Linux does not have get the nearest face that is
// there: "MS Sans Serif" is drawn with Liberation Sans (Arial's metrics) rather than
// fontconfig's wide default. Safe to call more than once.
void substituteFonts();

} // namespace platform
