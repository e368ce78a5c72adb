#pragma once

namespace platform {

// Where no session bus is named, the D-Bus library runs dbus-launch at the first
// connection (the accessibility bridge makes one as the first control gets its text),
// and dbus-launch looks on the X display for the bus it started for an earlier program.
// This does that lookup directly, on the application's own X connection, and names the
// bus it finds, so that no program is launched before the window shows. Where none is
// found, nothing changes: the library still launches one. Runs after the QApplication is
// created and before any window.
void findAutolaunchedSessionBus();

} // namespace platform
