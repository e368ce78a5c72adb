#pragma once

namespace platform {

// Names the buses the display announces, where none is named. Runs after the QApplication
// is created and before any window; asks its questions of the display all at once, so
// that it waits on the display three times at most.
//
// The session bus: where none is named, the D-Bus library runs dbus-launch at the first
// connection (the accessibility bridge makes one as the first control gets its text), and
// dbus-launch looks on the X display for the bus it started for an earlier program. This
// does that lookup directly, on the application's own X connection, and names the bus it
// finds, so that no program is launched before the window shows. Where none is found,
// nothing changes: the library still launches one.
//
// The accessibility bus: names the one the desktop's accessibility service announces on
// the display (the root window's AT_SPI_BUS), where AT-SPI's own library looks first.
// Qt's accessibility bridge then connects to it once the event loop runs, instead of
// asking the session bus for it, and for whether assistive technology is on, in calls it
// waits for as the first control gets its text. Named so, the bridge serves assistive
// technology whether or not one was running when the program started.
void findDisplayBuses();

} // namespace platform
