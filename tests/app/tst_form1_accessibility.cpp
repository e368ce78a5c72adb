// The main window as a screen reader meets it, on an accessibility bus of its own: the window's role
// and name as the bus reports them, a press that answers at once, and what the value labels say and
// announce after a search and after a selection.
#include "search/SearchJob.h"
#include "support/TreeBuilder.h"
#include "support/Window.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
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
        if (e->type() == QAccessible::NameChanged) announced[e->object()] << e->accessibleInterface()->text(QAccessible::Name);
    }
    QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(record);
    AccessibleEvents() { announced.clear(); }
    ~AccessibleEvents() { QAccessible::installUpdateHandler(previous); }
};
QString heard(QWidget* w) { // what a label is heard as, and what it is described as
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i->text(QAccessible::Name) + " (" + i->text(QAccessible::Description) + ')';
}
QString objectPath(QObject* o) {
    return QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(o)));
}
} // namespace

class TestForm1Accessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Starts the accessibility bus (D-Bus activation); the program then joins it.
        const QDBusMessage reply = QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
        if (reply.type() != QDBusMessage::ReplyMessage) QSKIP("no accessibility bus in this D-Bus session");
        address_ = reply.arguments().value(0).toString();
        reader_ = QDBusConnection::connectToBus(address_, "reader"); // a client, as a screen reader is one
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive() && QDBusConnection("a11y").isConnected(), 10000);
    }

    void theWindowIsAFrameAndItsButtonsAnswerAtOnce() {
        // With the desktop's own message boxes, which run an event loop of their own.
        FakeServices fake(QDir::tempPath());
        platform::Services services = fake.services();
        services.messageBoxes = std::make_shared<platform::QtMessageBoxes>();
        Form1 form(services);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(QAccessible::queryAccessibleInterface(&form)->role(), QAccessible::Window);
        const QString service = QDBusConnection("a11y").baseService(); // the program's own name on the bus
        const auto ask = [&](const QString& interface, const QString& method, const QVariantList& args = {}) {
            QDBusMessage m = QDBusMessage::createMethodCall(service, objectPath(&form), interface, method);
            m.setArguments(args);
            return reader_.call(m, QDBus::BlockWithGui, 5000).arguments().value(0);
        };
        QCOMPARE(ask("org.a11y.atspi.Accessible", "GetRoleName").toString(), "frame");
        QCOMPARE(ask("org.freedesktop.DBus.Properties", "Get", {"org.a11y.atspi.Accessible", "Name"}).value<QDBusVariant>().variant(),
                 form.windowTitle());

        // Save with an empty list opens a message box. A screen reader in a process of its own presses
        // Save over the bus: the answer comes at once, the box after it.
        QProcess press;
        QElapsedTimer clock;
        qint64 answeredAfter = -1;
        bool boxShown = false;
        QObject::connect(&press, &QProcess::finished, [&] { answeredAfter = clock.elapsed(); });
        QTimer closer; // closes the box a while after it came
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && clock.elapsed() > 1500)
                boxShown = box->text().contains("Filelist is Empty!"), box->done(0);
        });
        closer.start(50);
        clock.start();
        press.start("dbus-send", {"--bus=" + address_, "--print-reply", "--dest=" + service, objectPath(form.chameleonButton7),
                                  "org.a11y.atspi.Action.DoAction", "int32:0"});
        QTRY_VERIFY_WITH_TIMEOUT(boxShown && answeredAfter >= 0, 8000);
        QVERIFY2(answeredAfter < 1000 && press.exitCode() == 0, qPrintable(QString::number(answeredAfter) + press.readAllStandardError()));
    }

    void valueLabelsSayAndAnnounceTheirValues() {
        TreeBuilder tree;
        tree.folder("docs");
        tree.file("docs/a.txt"), tree.file("docs/b.txt");
        AccessibleEvents events;
        Window w(tree.root());
        QTRY_VERIFY(!w->Label5->text().isEmpty());
        QCOMPARE(heard(w->Label5) + '|' + heard(w->Label4), "Friday , 04 December , 2026  (Date)|9:05:07 AM (Time)");
        w.fake.clock->time = QDateTime(QDate(2027, 1, 31), QTime(23, 59, 58)); // the long date and the long time
        QTRY_COMPARE(heard(w->Label4) + '|' + heard(w->Label5), "11:59:58 PM (Time)|Sunday , 31 January , 2027  (Date)");
        QCOMPARE(events.announced.value(w->Label4).last(), "11:59:58 PM");
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
        events.announced.clear(); // after a selection: the chosen path and its position; the count did not change
        w.clickRow(1);
        QCOMPARE(heard(w->Label1) + '|' + heard(w->Label7), w->List1->List(1) + " (Status)|2 (Current file position)");
        QCOMPARE(events.announced.value(w->Label1) + events.announced.value(w->Label7), (QStringList{w->List1->List(1), "2"}));
        QVERIFY(!events.announced.contains(w->Label3));
    }

private:
    QString address_;
    QDBusConnection reader_ = QDBusConnection(QString());
};

QTEST_MAIN(TestForm1Accessibility)
#include "tst_form1_accessibility.moc"
