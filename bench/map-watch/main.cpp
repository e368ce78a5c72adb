// The stopwatch of startup-bench: starts a program and prints the milliseconds from just
// before its start to the moment the X server maps its window whose title holds the given text, and the
// program's process id; the program is left running, and what it prints goes nowhere.
//
//   map-watch TITLE PROGRAM [ARGUMENTS...]
//
// It waits on the server's notices (the root window's substructure), so it takes no time
// of its own while the program starts, and it reads the time of the map to the
// microsecond. Exits 1 when the program ends, or 20 s pass, before such a window maps.
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr), &free);
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The window's property as bytes; empty where it has none.
std::string property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t name, xcb_atom_t type) {
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, type, 0, 1024), nullptr), &free);
    if (!r) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(r.get())),
                       size_t(xcb_get_property_value_length(r.get())));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        fprintf(stderr, "usage: map-watch TITLE PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const std::string title = argv[1];
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        fprintf(stderr, "map-watch: cannot open the display\n");
        return 2;
    }
    const xcb_atom_t netWmName = atom(c, "_NET_WM_NAME"), utf8 = atom(c, "UTF8_STRING");
    const xcb_atom_t netWmPid = atom(c, "_NET_WM_PID");
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask));

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY); // what the program prints is not ours
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    const Clock::time_point deadline = start + std::chrono::seconds(20);
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            std::unique_ptr<xcb_generic_event_t, decltype(&free)> event(e, &free);
            if ((e->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
            if (map->override_redirect) continue;
            const Clock::time_point mapped = Clock::now();
            const std::string pidBytes = property(c, map->window, netWmPid, XCB_ATOM_CARDINAL);
            uint32_t windowPid = 0;
            if (pidBytes.size() == sizeof windowPid) memcpy(&windowPid, pidBytes.data(), sizeof windowPid);
            const bool ours = windowPid == uint32_t(pid);
            if (ours && property(c, map->window, netWmName, utf8).find(title) != std::string::npos) {
                printf("%.1f %d\n", std::chrono::duration<double, std::milli>(mapped - start).count(), int(pid));
                return 0;
            }
        }
        if (xcb_connection_has_error(c)) break;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            fprintf(stderr, "map-watch: %s ended before its window was mapped\n", argv[2]);
            return 1;
        }
        poll(&fd, 1, 50);
    }
    fprintf(stderr, "map-watch: no window titled \"%s\" of %s within 20 s\n", title.c_str(), argv[2]);
    kill(pid, SIGTERM);
    return 1;
}
