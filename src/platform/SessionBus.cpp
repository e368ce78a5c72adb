#include "platform/SessionBus.h"

#include <QFile>
#include <QGuiApplication>
#include <QtGlobal>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace platform {

namespace {

// The machine's identity as D-Bus reads it: its own file first, then the system's.
QByteArray machineId() {
    for (const char* name : {"/var/lib/dbus/machine-id", "/etc/machine-id"}) {
        QFile f(QString::fromLatin1(name));
        if (f.open(QIODevice::ReadOnly))
            if (const QByteArray id = f.readLine().trimmed(); !id.isEmpty()) return id;
    }
    return {};
}

xcb_atom_t atom(xcb_connection_t* c, const QByteArray& name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(name.size()), name.constData()), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

// The X connection of the application, or none where it does not run on X.
xcb_connection_t* x11Connection() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The text a window's property holds; empty where it holds none.
QByteArray stringProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name) {
    xcb_get_property_reply_t* value =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, XCB_ATOM_STRING, 0, 1024), nullptr);
    QByteArray text;
    if (value && value->format == 8)
        text = QByteArray(static_cast<const char*>(xcb_get_property_value(value)), xcb_get_property_value_length(value));
    std::free(value);
    return text;
}

} // namespace

void findAutolaunchedSessionBus() {
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) return;
    xcb_connection_t* c = x11Connection();
    if (!c) return; // not on X: no display to look on
    const passwd* user = ::getpwuid(::getuid());
    const QByteArray id = machineId();
    if (!user || id.isEmpty()) return;
    // dbus-launch owns this selection with a window that carries the bus's address.
    const xcb_atom_t selection = atom(c, "_DBUS_SESSION_BUS_SELECTION_" + QByteArray(user->pw_name) + '_' + id);
    const xcb_atom_t address = atom(c, "_DBUS_SESSION_BUS_ADDRESS");
    if (selection == XCB_ATOM_NONE || address == XCB_ATOM_NONE) return;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const xcb_window_t window = owner ? owner->owner : xcb_window_t(XCB_NONE);
    std::free(owner);
    if (window == XCB_NONE) return;
    if (const QByteArray bus = stringProperty(c, window, address); !bus.isEmpty())
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
}

void findAccessibilityBus() {
    if (qEnvironmentVariableIsSet("AT_SPI_BUS_ADDRESS")) return;
    xcb_connection_t* c = x11Connection();
    if (!c) return;
    const xcb_atom_t announced = atom(c, "AT_SPI_BUS");
    if (announced == XCB_ATOM_NONE) return;
    if (const QByteArray bus = stringProperty(c, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root, announced);
        !bus.isEmpty())
        qputenv("AT_SPI_BUS_ADDRESS", bus);
}

} // namespace platform
