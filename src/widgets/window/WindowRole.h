#pragma once

#include <QAccessible>

class QWidget;

// Qt shows a top-level window made from a plain QWidget to assistive technology as an
// unnamed part of the screen (the "filler" of the accessibility bus), so a screen
// reader does not announce it as a window. Call this from the window's constructor,
// before anything asks for its accessible interface: the window is then seen with the
// given role (a frame for Window, a dialog for Dialog) and its title as its name.
void giveWindowRole(QWidget* window, QAccessible::Role role = QAccessible::Window);
