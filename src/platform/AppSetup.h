#pragma once

namespace platform {

// Runs before the QApplication is created: the settings the web engine needs from the
// start, and its sandbox turned off when we run as root (it cannot start there).
void prepareApplication();

} // namespace platform
