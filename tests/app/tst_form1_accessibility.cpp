// The main window as a screen reader meets it, on an accessibility bus of its own: the window's role
// and name as the bus reports them, a press that answers at once, and what the value labels say and
// announce after a search and after a selection.
#include "search/SearchJob.h"
#include "support/TreeBuilder.h"
#include "support/Window.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

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
// A client of the accessibility bus, as a screen reader is one.
struct AtspiClient {
    QDBusConnection bus = QDBusConnection(QString());
    using Object = QPair<QString, QString>; // service, path
    QString address;
    bool connect() {
        const QDBusMessage reply = QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
        address = reply.arguments().first().toString();
        bus = QDBusConnection::connectToBus(address, "reader");
        return bus.isConnected();
    }
    // The call lets the window's own event loop run, so that the program can answer.
    QVariant call(const Object& o, const QString& interface, const QString& method, const QVariantList& args = {}) const {
        QDBusMessage m = QDBusMessage::createMethodCall(o.first, o.second, interface, method);
        m.setArguments(args);
        return bus.call(m, QDBus::BlockWithGui, 5000).arguments().value(0);
    }
    QList<Object> children(const Object& o) const {
        QList<Object> out;
        const QDBusArgument list = call(o, "org.a11y.atspi.Accessible", "GetChildren").value<QDBusArgument>();
        if (list.currentType() != QDBusArgument::ArrayType) return out;
        list.beginArray();
        while (!list.atEnd()) {
            QDBusObjectPath path;
            out.append(Object());
            list.beginStructure();
            list >> out.last().first >> path;
            list.endStructure();
            out.last().second = path.path();
        }
        list.endArray();
        return out;
    }
    QString roleAndName(const Object& o) const {
        const QVariant name = call(o, "org.freedesktop.DBus.Properties", "Get", {"org.a11y.atspi.Accessible", "Name"});
        return call(o, "org.a11y.atspi.Accessible", "GetRoleName").toString() + '|' + name.value<QDBusVariant>().variant().toString();
    }
};

} // namespace

class TestForm1Accessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Starts the accessibility bus (D-Bus activation); the program then joins it.
        if (!reader_.connect()) QSKIP("no accessibility bus in this D-Bus session");
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
    }

    void theWindowIsAFrameAndItsButtonsAnswerAtOnce() {
        // With the desktop's own message boxes, which run an event loop of their own.
        FakeServices fake(QDir::tempPath());
        platform::Services services = fake.services();
        services.messageBoxes = std::make_shared<platform::QtMessageBoxes>();
        Form1 form(services);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&form);
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), form.windowTitle());
        QString service; // the bus reports the window as a frame with the window's title
        for (const auto& app : reader_.children({"org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root"}))
            for (const auto& top : reader_.children(app))
                if (reader_.roleAndName(top) == "frame|" + form.windowTitle()) service = app.first;
        QVERIFY(!service.isEmpty());

        // Save with an empty list opens a message box. A screen reader in a process of its own presses
        // Save over the bus: the answer comes at once, the box after it.
        const QString save = QStringLiteral("/org/a11y/atspi/accessible/%1")
                                 .arg(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(form.chameleonButton7)));
        QProcess press;
        QElapsedTimer clock;
        qint64 answeredAfter = -1;
        bool boxShown = false;
        QObject::connect(&press, &QProcess::finished, [&] { answeredAfter = clock.elapsed(); });
        QTimer closer; // closes the box a while after it came
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && clock.elapsed() > 1500) {
                boxShown = box->text().contains("Filelist is Empty!");
                box->done(0);
            }
        });
        closer.start(50);
        clock.start();
        press.start("dbus-send", {"--bus=" + reader_.address, "--print-reply", "--dest=" + service, save,
                                  "org.a11y.atspi.Action.DoAction", "int32:0"});
        QTRY_VERIFY2_WITH_TIMEOUT(boxShown && answeredAfter >= 0, qPrintable(QString("answered after %1 ms, box %2: %3")
            .arg(answeredAfter).arg(boxShown).arg(QString(press.readAllStandardError() + press.readAllStandardOutput()))), 8000);
        QVERIFY2(answeredAfter < 1000, qPrintable(QString::number(answeredAfter)));
        QCOMPARE(press.exitCode(), 0);
    }

    void valueLabelsSayAndAnnounceTheirValues() {
        TreeBuilder tree;
        tree.folder("docs");
        tree.file("docs/a.txt"), tree.file("docs/b.txt");
        AccessibleEvents events;
        Window w(tree.root());
        QTRY_VERIFY(!w->Label5->text().isEmpty());
        QCOMPARE(heard(w->Label5) + '|' + heard(w->Label4), "Friday , 04 December , 2026  (Date)|9:05:07 AM (Time)");
        w.fake.clock->time = w.fake.clock->time.addSecs(1);
        QTRY_COMPARE(heard(w->Label4), "9:05:08 AM (Time)");
        QCOMPARE(events.announced.value(w->Label4).last(), "9:05:08 AM");
        // During and after a search: the status line is announced (it shows the root once its files are
        // listed); the end text, the count and the position are heard.
        events.announced.clear();
        w->searchJob().setPause(std::chrono::milliseconds(1)); // every folder shows in the status line
        w.search("*.txt");
        QStringList status = events.announced.value(w->Label1);
        status.removeDuplicates();
        QVERIFY2(status.endsWith("\r\nSEARCH OVER") && status.contains("                              SEARCHING \r\n" + tree.root() + "..."),
                 qPrintable(status.join('|')));
        QVERIFY(events.announced.value(w->Label3).contains("2"));
        QCOMPARE(heard(w->Label1) + '|' + heard(w->Label3) + '|' + heard(w->Label7),
                 "\r\nSEARCH OVER (Status)|2 (Files found count)|0 (Current file position)");
        // After a selection: the chosen path and its position; the count did not change.
        events.announced.clear();
        w.clickRow(1);
        QVERIFY(w->List1->List(1).startsWith(tree.root() + "/docs/"));
        QCOMPARE(heard(w->Label1), w->List1->List(1) + " (Status)");
        QCOMPARE(events.announced.value(w->Label1), QStringList{w->List1->List(1)});
        QCOMPARE(events.announced.value(w->Label7), QStringList{"2"});
        QVERIFY(!events.announced.contains(w->Label3));
        QCOMPARE(heard(w->Label7), "2 (Current file position)");
    }

private:
    AtspiClient reader_;
};

QTEST_MAIN(TestForm1Accessibility)
#include "tst_form1_accessibility.moc"
