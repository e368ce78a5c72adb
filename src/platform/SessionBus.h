#pragma once

namespace platform {

// Names the session bus that dbus-launch started on the display, where none is named. Runs
// after the QApplication is created and before any window.
//
// Where no session bus is named, the D-Bus library runs dbus-launch at the first connection
// (the accessibility bridge makes one as the first control gets its text), and dbus-launch
// looks on the X display for the bus it started for an earlier program, by the user's name
// and the machine's identity. This does that very lookup directly, on the application's own
// X connection, so that no program is launched before the window shows; the bus it names is
// the one the library would have connected to, for this program and for the programs it
// starts. Where none is found, nothing changes: the library still launches one.
//
// Nothing else that Qt's accessibility bridge reads is touched: the bridge finds the
// accessibility bus through the session bus, as on every desktop.
void findSessionBusOnDisplay();

} // namespace platform
