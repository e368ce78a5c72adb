#pragma once

class QWidget;

// Greys out a top-level window's close box: the title bar offers no close button and
// the window manager's close requests (the title bar, Alt+F4) are refused, so the
// window closes only through its own buttons. A second call changes nothing.
void DisableCloseButton(QWidget* window);
