// The platform layer's own logic: file names as text and back, dialog filters and the
// volumes the drive list offers; and file properties: the desktop's file manager is asked
// over D-Bus (a private bus with a scripted file manager here); where none answers, the
// program's own window shows them.
#include "platform/DriveList.h"
#include "platform/FileDialogs.h"
#include "platform/FileProperties.h"
#include "platform/PathCodec.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file manager that records what it is asked to show; it can also never answer.
class ScriptedFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;
    bool answer = true;
    QList<QDBusMessage> pending;

public slots:
    void ShowItemProperties(const QStringList& uris, const QString&, const QDBusMessage& message) {
        shown += uris;
        if (!answer) {
            message.setDelayedReply(true);
            pending << message;
        }
    }
};

QList<QDialog*> propertiesWindows() {
    QList<QDialog*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("propertiesWindow") && w->isVisible())
            out << qobject_cast<QDialog*>(w);
    return out;
}

QString value(QDialog* window, const char* name) {
    auto* label = window->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<none>");
}

void closeAll() {
    for (QDialog* w : propertiesWindows())
        w->close();
    QTest::qWait(0);
}

} // namespace

class TestFileProperties : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup() { closeAll(); }
    void theFileManagerIsAskedWithTheRealBytes();
    void withoutAFileManagerOurOwnWindowShows();
    void aFileManagerThatNeverAnswersGetsTheWindowToo();
    void ownWindowShowsTheFilesFacts();
    void ownWindowForNothingSelectedOrAMissingFile();
    void fileNamesRoundTrip_data();
    void fileNamesRoundTrip();
    void filtersBecomeQtFilters();
    void drivesAreRealVolumes();

private:
    QProcess bus_;
    QString address_;
    QTemporaryDir dir_;
};

void TestFileProperties::initTestCase() {
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    QVERIFY2(bus_.waitForStarted(), "dbus-daemon is needed (package dbus-daemon)");
    QTRY_VERIFY(bus_.canReadLine());
    address_ = QString::fromLatin1(bus_.readLine().trimmed());
    QVERIFY(!address_.isEmpty());
}

void TestFileProperties::cleanupTestCase() {
    bus_.terminate();
    bus_.waitForFinished();
}

void TestFileProperties::theFileManagerIsAskedWithTheRealBytes() {
    QDBusConnection fmBus = QDBusConnection::connectToBus(address_, QStringLiteral("fm"));
    QVERIFY(fmBus.isConnected());
    ScriptedFileManager fm;
    QVERIFY(fmBus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &fm,
                                 QDBusConnection::ExportAllSlots));
    QVERIFY(fmBus.registerService(QStringLiteral("org.freedesktop.FileManager1")));

    const QByteArray name = QFile::encodeName(dir_.path()) + "/r\xe9sum\xe9 #1.txt";
    const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);
    platform::DesktopFileProperties props(QDBusConnection::connectToBus(address_, QStringLiteral("app1")));
    props.show(platform::decodePath(name));
    // Nothing waits: the call is answered while the event loop runs.
    QVERIFY(fm.shown.isEmpty());
    QTRY_COMPARE(fm.shown.size(), 1);
    QCOMPARE(fm.shown[0],
             QStringLiteral("file://") + QFile::encodeName(dir_.path()) + "/r%E9sum%E9%20%231.txt");
    QTest::qWait(100);
    QVERIFY(propertiesWindows().isEmpty());

    fmBus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    fmBus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fm"));
}

void TestFileProperties::withoutAFileManagerOurOwnWindowShows() {
    platform::DesktopFileProperties props(QDBusConnection::connectToBus(address_, QStringLiteral("app2")));
    props.show(dir_.path()); // a folder
    QVERIFY(propertiesWindows().isEmpty());
    QTRY_COMPARE(propertiesWindows().size(), 1);
    QDialog* window = propertiesWindows().first();
    QVERIFY(!window->isModal());
    QCOMPARE(value(window, "type"), QStringLiteral("Folder"));

    // And without any bus at all, at once.
    platform::DesktopFileProperties noBus(QDBusConnection(QStringLiteral("not connected")));
    noBus.show(dir_.path());
    QCOMPARE(propertiesWindows().size(), 2);
}

void TestFileProperties::aFileManagerThatNeverAnswersGetsTheWindowToo() {
    QDBusConnection fmBus = QDBusConnection::connectToBus(address_, QStringLiteral("fm2"));
    ScriptedFileManager fm;
    fm.answer = false;
    QVERIFY(fmBus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &fm,
                                 QDBusConnection::ExportAllSlots));
    QVERIFY(fmBus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    platform::DesktopFileProperties props(QDBusConnection::connectToBus(address_, QStringLiteral("app3")),
                                          300);
    props.show(dir_.path());
    QTRY_COMPARE(fm.shown.size(), 1);
    QTRY_COMPARE(propertiesWindows().size(), 1);
    fmBus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fm2"));
}

void TestFileProperties::ownWindowShowsTheFilesFacts() {
    const QString path = dir_.path() + QStringLiteral("/notes.txt");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("hello");
    }
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    QDialog* window = platform::showPropertiesWindow(path);
    QVERIFY(window->isVisible() && !window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("Properties of notes.txt"));
    QCOMPARE(value(window, "name"), QStringLiteral("notes.txt"));
    QCOMPARE(value(window, "folder"), dir_.path());
    QVERIFY(value(window, "type").contains(QStringLiteral("text/plain")));
    QCOMPARE(value(window, "size"), QStringLiteral("5 bytes"));
    QCOMPARE(value(window, "permissions"), QStringLiteral("rw-r----- (0640)"));
    QVERIFY(value(window, "owner").endsWith(QStringLiteral("(%1)").arg(::getuid())));
    QVERIFY(value(window, "group").endsWith(QStringLiteral("(%1)").arg(::getgid())));
    QVERIFY(!value(window, "modified").isEmpty());

    // Assistive technology: a dialog, each value heard as it reads.
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(window);
    QCOMPARE(iface->role(), QAccessible::Dialog);
    for (const char* n : {"name", "size", "permissions"}) {
        QLabel* label = window->findChild<QLabel*>(QLatin1String(n));
        QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), label->text());
    }

    QPointer<QDialog> guard(window);
    QPushButton* close = window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close);
    QTest::mouseClick(close, Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());
}

void TestFileProperties::ownWindowForNothingSelectedOrAMissingFile() {
    platform::DesktopFileProperties props(QDBusConnection::connectToBus(address_, QStringLiteral("app4")));
    props.show(QString());
    QCOMPARE(propertiesWindows().size(), 1);
    QCOMPARE(value(propertiesWindows().first(), "name"), QStringLiteral("No file is selected."));
    QPointer<QDialog> guard(propertiesWindows().first());
    QTest::keyClick(guard, Qt::Key_Escape); // Escape closes it for good too
    QTRY_VERIFY(guard.isNull());

    props.show(dir_.path() + QStringLiteral("/vanished.txt"));
    QCOMPARE(propertiesWindows().size(), 1);
    QCOMPARE(value(propertiesWindows().first(), "name"), QStringLiteral("vanished.txt"));
    QVERIFY(value(propertiesWindows().first(), "status").contains(QStringLiteral("does not exist")));
}

void TestFileProperties::fileNamesRoundTrip_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("/home/a b.txt") << QStringLiteral("/home/a b.txt");
    QTest::newRow("utf-8") << QByteArray("/m\xc3\xbcsic/\xe2\x82\xac/\xf0\x9f\x98\x80")
                           << QString::fromUtf8("/m\xc3\xbcsic/\xe2\x82\xac/\xf0\x9f\x98\x80");
    QTest::newRow("latin-1 byte") << QByteArray("caf\xe9.txt")
                                  << QStringLiteral("caf") + QChar(0xDCE9) + ".txt";
    QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf")
                                    << QStringLiteral("a") + QChar(0xDCC0) + QChar(0xDCAF);
    QTest::newRow("encoded surrogate")
        << QByteArray("\xed\xb2\x80") << QString() + QChar(0xDCED) + QChar(0xDCB2) + QChar(0xDC80);
    QTest::newRow("cut short at the end")
        << QByteArray("x\xe2\x82") << QStringLiteral("x") + QChar(0xDCE2) + QChar(0xDC82);
    QTest::newRow("beyond unicode") << QByteArray("\xf4\x90\x80\x80")
                                    << QString() + QChar(0xDCF4) + QChar(0xDC90) + QChar(0xDC80) +
                                           QChar(0xDC80);
}

void TestFileProperties::fileNamesRoundTrip() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(platform::decodePath(bytes), text);
    QCOMPARE(platform::encodePath(text), bytes);
    QVERIFY(!platform::decodePath(bytes).contains(QChar(0xFFFD)));
}

void TestFileProperties::filtersBecomeQtFilters() {
    QCOMPARE(platform::toQtFilter(QStringLiteral("File List (*.f4u)|*.f4u|All Files|*.*")),
             QStringLiteral("File List (*.f4u) (*.f4u);;All Files (*.*)"));
    QCOMPARE(platform::toQtFilter(QStringLiteral("Pictures|*.jpg;*.gif")),
             QStringLiteral("Pictures (*.jpg *.gif)"));
    QCOMPARE(platform::toQtFilter(QString()), QString());
}

void TestFileProperties::drivesAreRealVolumes() {
    platform::MountedVolumes drives;
    const QList<platform::Volume> volumes = drives.volumes();
    QVERIFY(!volumes.isEmpty());
    bool hasRoot = false;
    for (const platform::Volume& v : volumes) {
        QVERIFY2(!v.rootPath.startsWith(QLatin1String("/proc")) &&
                     !v.rootPath.startsWith(QLatin1String("/sys")),
                 qPrintable(v.rootPath));
        QVERIFY(platform::driveEntryText(v).startsWith(v.rootPath));
        hasRoot = hasRoot || v.rootPath == QLatin1String("/");
    }
    QVERIFY(hasRoot);
    const int start = drives.startIndex(volumes);
    QVERIFY(start >= 0 && start < volumes.size());
    QVERIFY(QDir::homePath().startsWith(volumes[start].rootPath));
    QCOMPARE(platform::driveEntryText({QStringLiteral("/mnt/usb"), QStringLiteral("STICK")}),
             QStringLiteral("/mnt/usb  [STICK]"));
}

QTEST_MAIN(TestFileProperties)
#include "tst_platform.moc"
