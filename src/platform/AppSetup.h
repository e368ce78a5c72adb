#pragma once

#include "platform/DriveList.h"

#include <future>
#include <thread>
#include <vector>

namespace platform {

// Runs before the QApplication is created: the web engine's sandbox turned off when we
// run as root (it cannot start there).
void prepareApplication();

// The command line the QApplication is made with: the program's own, and "-platform xcb" where
// an X display is there (on a Wayland desktop, XWayland) and no platform is named. As a Wayland
// client the program could not place its dialogs, grey a dialog's close box or turn away the
// compositor's close request; on X it does all of that, on every desktop. The choice goes on
// the command line, not into the environment, so the programs it starts choose for themselves.
class ApplicationArguments {
public:
    ApplicationArguments(int argc, char** argv);
    int& argc() { return argc_; }
    char** argv() { return argv_.data(); }

private:
    int argc_;
    std::vector<char*> argv_;
};

// Font faces the windows name that Linux does not have get the nearest face that is
// there: "MS Sans Serif" is drawn with Liberation Sans (Arial's metrics) rather than
// fontconfig's wide default. Safe to call more than once.
void substituteFonts();

// Reads what the window's first look needs from the disk, on a thread of its own from its
// creation on, while the application connects to the display: the font configuration
// (fontconfig's files, which the first control with text reads otherwise) and the mounted
// volumes (the drive list's). wait() returns once both are read; a control that asks for a
// font before that is still served, at the price of a second reading.
class StartupReader {
public:
    StartupReader();
    ~StartupReader();
    void wait();
    std::shared_future<QList<Volume>> volumes() const { return volumes_; }

private:
    std::promise<QList<Volume>> volumesRead_;
    std::shared_future<QList<Volume>> volumes_ = volumesRead_.get_future().share();
    std::thread reading_;
};

} // namespace platform
