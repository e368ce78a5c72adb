// The main window as a screen reader meets it: on an accessibility bus of its own (the
// test runs in a D-Bus session of its own), the window's role and name as the bus
// reports them, and what the value labels say, and announce, after a search and after
// a selection.
#include "app/Form1.h"
#include "search/FolderWalk.h"
#include "search/ResultListView.h"
#include "support/FakeServices.h"
#include "support/TreeBuilder.h"
#include "widgets/button/chameleonButton.h"

#include <QAccessible>
#include <QComboBox>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

using testsupport::FakeServices;

namespace {

// What reaches assistive technology while it is installed: for each object, the names
// it announced, each as read when its change arrived.
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

QString heard(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}
QString what(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
}

// A client of the accessibility bus, as a screen reader is one.
struct AtspiClient {
    QDBusConnection bus = QDBusConnection(QString());
    struct Object {
        QString service;
        QString path;
    };

    bool connect() {
        QDBusMessage ask =
            QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                           QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
        const QDBusMessage reply = QDBusConnection::sessionBus().call(ask);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
        bus = QDBusConnection::connectToBus(reply.arguments().first().toString(), QStringLiteral("reader"));
        return bus.isConnected();
    }
    // The call lets the window's own event loop run, so that the program can answer.
    QDBusMessage call(const Object& o, const QString& interface, const QString& method,
                      const QVariantList& args = {}) const {
        QDBusMessage m = QDBusMessage::createMethodCall(o.service, o.path, interface, method);
        m.setArguments(args);
        return bus.call(m, QDBus::BlockWithGui, 5000);
    }
    QList<Object> children(const Object& o) const {
        QList<Object> out;
        const QDBusMessage r =
            call(o, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetChildren"));
        if (r.type() != QDBusMessage::ReplyMessage || r.arguments().isEmpty()) return out;
        const QDBusArgument list = r.arguments().first().value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            Object child;
            QDBusObjectPath path;
            list.beginStructure();
            list >> child.service >> path;
            list.endStructure();
            child.path = path.path();
            out << child;
        }
        list.endArray();
        return out;
    }
    QString roleName(const Object& o) const {
        const QDBusMessage r =
            call(o, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetRoleName"));
        return r.arguments().value(0).toString();
    }
    QString name(const Object& o) const {
        const QDBusMessage r =
            call(o, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                 {QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("Name")});
        return r.arguments().value(0).value<QDBusVariant>().variant().toString();
    }
};

} // namespace

class TestForm1Accessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void theWindowIsAFrameOnTheBus();
    void valueLabelsSayAndAnnounceTheirValues();

private:
    AtspiClient reader_;
};

void TestForm1Accessibility::initTestCase() {
    // Starts the accessibility bus (D-Bus activation); the program then joins it.
    if (!reader_.connect()) QSKIP("no accessibility bus in this D-Bus session");
    QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
}

void TestForm1Accessibility::theWindowIsAFrameOnTheBus() {
    FakeServices fake(QDir::tempPath());
    Form1 form(fake.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&form);
    QVERIFY(window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), form.windowTitle());

    // The program among the bus's applications, and its window as the bus reports it.
    QStringList windows;
    const AtspiClient::Object desktop{QStringLiteral("org.a11y.atspi.Registry"),
                                      QStringLiteral("/org/a11y/atspi/accessible/root")};
    for (const AtspiClient::Object& app : reader_.children(desktop))
        for (const AtspiClient::Object& w : reader_.children(app))
            windows << reader_.roleName(w) + QLatin1Char('|') + reader_.name(w);
    QVERIFY2(windows.contains(QStringLiteral("frame|") + form.windowTitle()), qPrintable(windows.join(", ")));
}

void TestForm1Accessibility::valueLabelsSayAndAnnounceTheirValues() {
    testsupport::TreeBuilder tree;
    tree.folder("docs");
    tree.file("docs/a.txt");
    tree.file("docs/b.txt");
    FakeServices fake(tree.root());
    Form1 form(fake.services());
    AccessibleEvents events;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // The clock is heard as the date and the time; what they are is the description.
    QTRY_VERIFY(!form.Label5->text().isEmpty());
    QCOMPARE(heard(form.Label5), QStringLiteral("Friday , 04 December , 2026 "));
    QCOMPARE(heard(form.Label4), QStringLiteral("9:05:07 AM"));
    QCOMPARE(what(form.Label5), QStringLiteral("Date"));
    QCOMPARE(what(form.Label4), QStringLiteral("Time"));
    fake.clock->time = fake.clock->time.addSecs(1);
    QTRY_COMPARE(heard(form.Label4), QStringLiteral("9:05:08 AM"));
    QCOMPARE(events.announced.value(form.Label4).last(), QStringLiteral("9:05:08 AM"));

    // During and after a search: the status line is announced (it shows the root once
    // its files are listed, before its sub-folder is entered); the end text, the count
    // and the position are heard.
    events.announced.clear();
    form.Option2->click();
    form.Combo1->setEditText(QStringLiteral("*.txt"));
    form.folderWalk().setYieldInterval(0); // every folder shows in the status line
    QTest::mouseClick(form.chameleonButton1, Qt::LeftButton);
    QTRY_VERIFY(!form.isSearching());
    const QString R = tree.root();
    const QString searching = QStringLiteral("                              SEARCHING \r\n");
    QStringList status = events.announced.value(form.Label1);
    status.removeDuplicates();
    QVERIFY2(status.endsWith(QStringLiteral("\r\nSEARCH OVER")), qPrintable(status.join('|')));
    QVERIFY2(status.contains(searching + R + QStringLiteral("...")), qPrintable(status.join('|')));
    QVERIFY(events.announced.value(form.Label3).contains(QStringLiteral("2")));
    QCOMPARE(heard(form.Label1), QStringLiteral("\r\nSEARCH OVER"));
    QCOMPARE(what(form.Label1), QStringLiteral("Status"));
    QCOMPARE(heard(form.Label3), QStringLiteral("2"));
    QCOMPARE(what(form.Label3), QStringLiteral("Files found count"));
    QCOMPARE(heard(form.Label7), QStringLiteral("0"));
    QCOMPARE(what(form.Label7), QStringLiteral("Current file position"));

    // After a selection: the chosen path and its position.
    events.announced.clear();
    const QRect second = form.List1->visualRect(form.List1->model()->index(1, 0));
    QTest::mouseClick(form.List1->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(form.List1->ListIndex(), 1);
    QVERIFY(heard(form.Label1).startsWith(R + QStringLiteral("/docs/")));
    QCOMPARE(heard(form.Label1), form.List1->List(1));
    QCOMPARE(events.announced.value(form.Label1), QStringList{form.List1->List(1)});
    QCOMPARE(events.announced.value(form.Label7), QStringList{QStringLiteral("2")});
    QVERIFY(!events.announced.contains(form.Label3)); // the count did not change
    QCOMPARE(heard(form.Label7), QStringLiteral("2"));
    QCOMPARE(heard(form.Label3), QStringLiteral("2"));
}

QTEST_MAIN(TestForm1Accessibility)
#include "tst_form1_accessibility.moc"
