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

// The X connection of the application, or none where it does not run on X.
xcb_connection_t* x11Connection() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_intern_atom_cookie_t askAtom(xcb_connection_t* c, const QByteArray& name) {
    return xcb_intern_atom(c, 1, uint16_t(name.size()), name.constData());
}

xcb_atom_t atom(xcb_connection_t* c, xcb_intern_atom_cookie_t asked) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, asked, nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

xcb_get_property_cookie_t askStringProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name) {
    return xcb_get_property(c, 0, window, name, XCB_ATOM_STRING, 0, 1024);
}

// The text a window's property holds; empty where it holds none.
QByteArray stringProperty(xcb_connection_t* c, xcb_get_property_cookie_t asked) {
    xcb_get_property_reply_t* value = xcb_get_property_reply(c, asked, nullptr);
    QByteArray text;
    if (value && value->format == 8)
        text = QByteArray(static_cast<const char*>(xcb_get_property_value(value)), xcb_get_property_value_length(value));
    std::free(value);
    return text;
}

} // namespace

void findSessionBusOnDisplay() {
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) return;
    xcb_connection_t* c = x11Connection();
    const passwd* user = c ? ::getpwuid(::getuid()) : nullptr;
    const QByteArray id = user ? machineId() : QByteArray();
    if (id.isEmpty()) return; // not on X, or no machine to name the bus by
    // dbus-launch owns this selection with a window that carries the bus's address. Both
    // names are asked for together: two waits on the display, not one per question.
    const xcb_intern_atom_cookie_t selectionAsked =
        askAtom(c, "_DBUS_SESSION_BUS_SELECTION_" + QByteArray(user->pw_name) + '_' + id);
    const xcb_intern_atom_cookie_t addressAsked = askAtom(c, "_DBUS_SESSION_BUS_ADDRESS");
    const xcb_atom_t selection = atom(c, selectionAsked), address = atom(c, addressAsked);
    if (selection == XCB_ATOM_NONE || address == XCB_ATOM_NONE) return;
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const xcb_window_t owner = reply ? reply->owner : xcb_window_t(XCB_NONE);
    std::free(reply);
    if (owner == XCB_NONE) return;
    if (const QByteArray bus = stringProperty(c, askStringProperty(c, owner, address)); !bus.isEmpty())
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
}

} // namespace platform
