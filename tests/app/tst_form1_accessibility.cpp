// The main window as a screen reader meets it: the real program on a desktop set up as desktops set one
// up, found through the registry and pressed through it; and what the value labels say and announce.
#include "search/SearchJob.h"
#include "support/DesktopMain.h"
#include "support/TreeBuilder.h"
#include "support/Window.h"

#include <QtDBus>
#include <QtTest>
#include <QtWidgets>
#include <optional>

using namespace testsupport;

namespace {
// For each object, the names it announced, each as read when its change arrived.
struct AccessibleEvents {
    static inline QHash<QObject*, QStringList> announced;
    static void record(QAccessibleEvent* e) {
        if (e->type() == QAccessible::NameChanged)
            announced[e->object()] << e->accessibleInterface()->text(QAccessible::Name);
    }
    QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(record);
    AccessibleEvents() { announced.clear(); }
    ~AccessibleEvents() { QAccessible::installUpdateHandler(previous); }
};
QString heard(QWidget* w) { // what a label is heard as, and what it is described as
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i->text(QAccessible::Name) + " (" + i->text(QAccessible::Description) + ')';
}
// An object on the accessibility bus, as the registry and the applications name them.
struct Accessible {
    QString service, path;
};
QVariant ask(const QDBusConnection& bus, const Accessible& of, const QString& interface,
             const QString& method, const QVariantList& arguments = {}) {
    QDBusMessage m = QDBusMessage::createMethodCall(of.service, of.path, interface, method);
    m.setArguments(arguments);
    return bus.call(m, QDBus::Block, 5000).arguments().value(0);
}
QString nameOf(const QDBusConnection& bus, const Accessible& of) {
    return ask(bus, of, "org.freedesktop.DBus.Properties", "Get", {"org.a11y.atspi.Accessible", "Name"})
        .value<QDBusVariant>()
        .variant()
        .toString();
}
QList<Accessible> childrenOf(const QDBusConnection& bus, const Accessible& of) {
    QList<Accessible> children;
    const QDBusArgument list =
        ask(bus, of, "org.a11y.atspi.Accessible", "GetChildren").value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString service;
        QDBusObjectPath path;
        list.beginStructure(), list >> service >> path, list.endStructure();
        children.append({service, path.path()});
    }
    list.endArray();
    return children;
}
// The first object under of, or of itself, with that role and name.
std::optional<Accessible> find(const QDBusConnection& bus, const Accessible& of, const QString& role,
                               const QString& name) {
    if (ask(bus, of, "org.a11y.atspi.Accessible", "GetRoleName").toString() == role &&
        nameOf(bus, of) == name)
        return of;
    for (const Accessible& child : childrenOf(bus, of))
        if (auto found = find(bus, child, role, name)) return found;
    return std::nullopt;
}

// A desktop as a session sets one up: an X server, a session bus, and the accessibility bus
// launcher, started on the display (it then announces its bus on the root window, as on every X
// desktop) or not (as on a Wayland desktop); the screen reader asks for assistive technology.
struct Desktop {
    QTemporaryDir home;
    QProcess display, sessionBus, launcher;
    QProcessEnvironment environment;
    QDBusConnection session = QDBusConnection(QString()), accessibility = QDBusConnection(QString());

    explicit Desktop(bool launcherOnTheDisplay) {
        display.start("Xvfb",
                      {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"});
        QVERIFY(display.waitForReadyRead(10000));
        sessionBus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(sessionBus.waitForReadyRead(10000));
        environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : environment.keys())
            if (name.startsWith("QT_") || name.startsWith("AT_SPI") || name.startsWith("XDG_") ||
                name.startsWith("DBUS_") || name.startsWith("WAYLAND_"))
                environment.remove(name);
        environment.insert("HOME", home.path());
        environment.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromLatin1(sessionBus.readLine().trimmed()));
        QProcessEnvironment launcherEnvironment = environment;
        environment.insert("DISPLAY", ':' + QString::fromLatin1(display.readLine().trimmed()));
        if (launcherOnTheDisplay) launcherEnvironment.insert("DISPLAY", environment.value("DISPLAY"));
        launcher.setProcessEnvironment(launcherEnvironment);
        launcher.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"});
        session =
            QDBusConnection::connectToBus(environment.value("DBUS_SESSION_BUS_ADDRESS"), "desktop session");
        const Accessible bus{"org.a11y.Bus", "/org/a11y/bus"};
        QTRY_VERIFY_WITH_TIMEOUT(session.interface()->isServiceRegistered("org.a11y.Bus"), 10000);
        ask(session, bus, "org.freedesktop.DBus.Properties", "Set",
            {"org.a11y.Status", "ScreenReaderEnabled", QVariant::fromValue(QDBusVariant(true))});
        accessibility = QDBusConnection::connectToBus(
            ask(session, bus, "org.a11y.Bus", "GetAddress").toString(), "desktop accessibility");
        QProcess root;
        root.setProcessEnvironment(environment);
        root.start("xprop", {"-root", "AT_SPI_BUS"});
        root.waitForFinished(10000);
        QCOMPARE(root.readAllStandardOutput().startsWith("AT_SPI_BUS(STRING)"), launcherOnTheDisplay);
    }
    ~Desktop() {
        QDBusConnection::disconnectFromBus("desktop session");
        QDBusConnection::disconnectFromBus("desktop accessibility");
        for (QProcess* p : {&sessionBus, &launcher, &display}) { // the launcher ends with the session bus
            p->terminate();
            if (!p->waitForFinished(5000)) p->kill();
        }
    }
};

} // namespace

class TestForm1Accessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Starts the accessibility bus (D-Bus activation); the program then joins it.
        const QDBusMessage reply = QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
        if (reply.type() != QDBusMessage::ReplyMessage) QSKIP("no accessibility bus in this D-Bus session");
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive() && QDBusConnection("a11y").isConnected(), 10000);
    }

    void aScreenReaderFindsTheProgramAndPressesItsButtons_data() {
        QTest::addColumn<bool>("launcherOnTheDisplay");
        QTest::newRow("bus announced on the display") << true;
        QTest::newRow("bus found through the session bus") << false;
    }

    void aScreenReaderFindsTheProgramAndPressesItsButtons() {
        QFETCH(bool, launcherOnTheDisplay);
        Desktop desktop(launcherOnTheDisplay);
        QProcess program;
        program.setProcessEnvironment(desktop.environment);
        program.start(QStringLiteral(ORVIK_PROGRAM));
        const auto quit = qScopeGuard([&] { program.kill(), program.waitForFinished(); });
        // The registry lists the applications that registered with it, as a screen reader sees them.
        std::optional<Accessible> window;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const Accessible& app :
                     childrenOf(desktop.accessibility,
                                {"org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root"}))
                    if (nameOf(desktop.accessibility, app) == "orvik-searcher")
                        window = find(desktop.accessibility, app, "frame", "ORVIK  SEARCHER   V 1.00");
                return window.has_value();
            }(),
            15000);
        const std::optional<Accessible> about = find(desktop.accessibility, *window, "push button", "About");
        QVERIFY(about);
        QCOMPARE(ask(desktop.accessibility, *about, "org.a11y.atspi.Action", "DoAction", {0}), true);
        const Accessible app{window->service, "/org/a11y/atspi/accessible/root"};
        QTRY_VERIFY_WITH_TIMEOUT(find(desktop.accessibility, app, "dialog", "About  ORVIK SEARCHER  v 1.0"),
                                 10000);
    }

    void valueLabelsSayAndAnnounceTheirValues() {
        TreeBuilder tree;
        tree.folder("docs");
        tree.file("docs/a.txt"), tree.file("docs/b.txt");
        AccessibleEvents events;
        Window w(tree.root());
        QTRY_VERIFY(!w->Label5->text().isEmpty());
        QCOMPARE(heard(w->Label5) + '|' + heard(w->Label4),
                 "Friday , 04 December , 2026  (Date)|9:05:07 AM (Time)");
        w.fake.clock->time =
            QDateTime(QDate(2027, 1, 31), QTime(23, 59, 58)); // the long date and the long time
        QTRY_COMPARE(heard(w->Label4) + '|' + heard(w->Label5),
                     "11:59:58 PM (Time)|Sunday , 31 January , 2027  (Date)");
        QCOMPARE(events.announced.value(w->Label4).last(), "11:59:58 PM");
        // During and after a search: the status line is announced (it shows the root once its files are
        // listed); the end text, the count and the position are heard.
        events.announced.clear();
        w->searchJob().setPause(std::chrono::milliseconds(1)); // every folder shows in the status line
        w.search("*.txt");
        QStringList status = events.announced.value(w->Label1);
        status.removeDuplicates();
        QVERIFY2(status.endsWith("\r\nSEARCH OVER") &&
                     status.contains("                              SEARCHING \r\n" + tree.root() + "..."),
                 qPrintable(status.join('|')));
        QVERIFY(events.announced.value(w->Label3).contains("2"));
        QCOMPARE(heard(w->Label1) + '|' + heard(w->Label3) + '|' + heard(w->Label7),
                 "\r\nSEARCH OVER (Status)|2 (Files found count)|0 (Current file position)");
        events.announced
            .clear(); // after a selection: the chosen path and its position; the count did not change
        w.clickRow(1);
        QCOMPARE(heard(w->Label1) + '|' + heard(w->Label7),
                 w->List1->List(1) + " (Status)|2 (Current file position)");
        QCOMPARE(events.announced.value(w->Label1) + events.announced.value(w->Label7),
                 (QStringList{w->List1->List(1), "2"}));
        QVERIFY(!events.announced.contains(w->Label3));
    }
};

ORVIK_DESKTOP_TEST_MAIN(TestForm1Accessibility)
#include "tst_form1_accessibility.moc"
