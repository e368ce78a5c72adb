#pragma once

// What a window manager does to a window that a test needs to do by hand: the close
// request of the title bar's close box and of Alt+F4 (WM_DELETE_WINDOW).
#include <X11/Xlib.h>

namespace testsupport {

inline void sendCloseRequest(Display* dpy, Window window) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, window, False, NoEventMask, &ev);
    XFlush(dpy);
}

} // namespace testsupport
