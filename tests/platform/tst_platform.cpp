// The platform layer: file names as text and back, dialog filters, the volumes the drive list offers, and
// file properties: asked of the file manager over D-Bus (scripted here), else shown in our own window.
#include "platform/DriveList.h"
#include "platform/FileDialogs.h"
#include "platform/FileProperties.h"
#include "platform/PathCodec.h"
#include "support/FileBytes.h"
#include "support/HungVolume.h"

#include <QtDBus>
#include <QtTest>
#include <QtWidgets>
#include <sys/stat.h>

namespace {
// A file manager on its own connection that records what it is asked to show; it can also never answer.
class ScriptedFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    ScriptedFileManager(const QString& address, bool answer)
        : bus(QDBusConnection::connectToBus(address, "fm")), answer(answer) {
        QVERIFY(bus.registerObject("/org/freedesktop/FileManager1", this, QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService("org.freedesktop.FileManager1"));
    }
    ~ScriptedFileManager() override { QDBusConnection::disconnectFromBus("fm"); } // gives its name up
    QDBusConnection bus;
    QStringList shown;
    bool answer;
public slots:
    void ShowItemProperties(const QStringList& uris, const QString&, const QDBusMessage& message) {
        shown += uris;
        if (!answer) message.setDelayedReply(true);
    }
};
QList<QDialog*> propertiesWindows() {
    QList<QDialog*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "propertiesWindow" && w->isVisible()) out << qobject_cast<QDialog*>(w);
    return out;
}
QString value(QDialog* window, const char* name) {
    auto* label = window ? window->findChild<QLabel*>(name) : nullptr;
    return label ? label->text() : "<none>";
}
} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        QVERIFY2(bus_.waitForStarted(), "dbus-daemon is needed (package dbus-daemon)");
        QTRY_VERIFY(bus_.canReadLine());
        address_ = QString::fromLatin1(bus_.readLine().trimmed());
    }

    void cleanupTestCase() { bus_.terminate(), bus_.waitForFinished(); }
    void cleanup() {
        for (QDialog* w : propertiesWindows())
            w->close();
        QTest::qWait(0);
    }

    void theFileManagerIsAskedWithTheRealBytesElseOurWindowShows() {
        const QByteArray name = QFile::encodeName(dir_.path()) + "/r\xe9sum\xe9 #1.txt";
        testsupport::writeBytes(name, "");
        {
            ScriptedFileManager fm(address_, true);
            platform::DesktopFileProperties(QDBusConnection::connectToBus(address_, "app1"))
                .show(platform::decodePath(name));
            QVERIFY(fm.shown.isEmpty()); // nothing waits: the call is answered while the event loop runs
            QTRY_COMPARE(fm.shown,
                         QStringList{"file://" + QFile::encodeName(dir_.path()) + "/r%E9sum%E9%20%231.txt"});
            QTest::qWait(100);
            QVERIFY(propertiesWindows().isEmpty());
            ::unlink(name.constData()); // QTemporaryDir cannot remove such names
        }
        platform::DesktopFileProperties props(QDBusConnection::connectToBus(address_, "app2"));
        props.show(dir_.path()); // no file manager: our own window, after the bus said so
        QVERIFY(propertiesWindows().isEmpty());
        QTRY_COMPARE(propertiesWindows().size(), 1);
        QVERIFY(!propertiesWindows().first()->isModal() &&
                value(propertiesWindows().first(), "type") == "Folder");
        platform::DesktopFileProperties(QDBusConnection("not connected")).show(dir_.path()); // no bus at all
        QTRY_COMPARE(propertiesWindows().size(), 2);
        cleanup();
        ScriptedFileManager silent(address_, false); // one that never answers gets the window too
        platform::DesktopFileProperties waiting(QDBusConnection::connectToBus(address_, "app3"), 300);
        waiting.show(dir_.path());
        QTRY_COMPARE(propertiesWindows().size() + silent.shown.size(), 2);
    }

    void ourWindowShowsTheFilesFacts() {
        const QString path = dir_.path() + "/notes.txt";
        testsupport::writeBytes(path, "hello");
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
        QDialog* window = platform::showPropertiesWindow(path, platform::readFileFacts(path));
        QVERIFY(window->windowTitle() == "Properties of notes.txt" &&
                QAccessible::queryAccessibleInterface(window)->role() == QAccessible::Dialog);
        QCOMPARE(value(window, "name") + '|' + value(window, "folder") + '|' + value(window, "size") + '|' +
                     value(window, "permissions"),
                 "notes.txt|" + dir_.path() + "|5 bytes|rw-r----- (0640)");
        QVERIFY(value(window, "type").contains("text/plain") &&
                value(window, "owner").endsWith(QString("(%1)").arg(::getuid())));
        QCOMPARE(QAccessible::queryAccessibleInterface(window->findChild<QLabel*>("size"))
                     ->text(QAccessible::Name),
                 "5 bytes"); // each value heard as it reads
        QPointer<QDialog> guard(window);
        QTest::keyClick(window, Qt::Key_Escape); // closes it for good
        QTRY_VERIFY(guard.isNull());
        platform::DesktopFileProperties(QDBusConnection("not connected")).show(dir_.path() + "/vanished.txt");
        QTRY_VERIFY(value(propertiesWindows().value(0), "status").contains("does not exist"));
    }

    void fileInfoOfAFileWhoseVolumeHangsWaitsForNothing() {
        testsupport::HungVolume volume;
        if (!volume.mounted())
            QSKIP("a hung volume cannot be made here: it needs /dev/fuse, fuse3 and python3-fusepy");
        QElapsedTimer clock;
        clock.start();
        platform::DesktopFileProperties(QDBusConnection("not connected")).show(volume.path("stuck.txt"));
        QVERIFY(clock.elapsed() < 1000);
        QTest::qWait(100); // the window comes when the volume answers, if it ever does
        QVERIFY(propertiesWindows().isEmpty());
    }

    void fileNamesThatAreNotUtf8KeepTheirBytes() { // each byte outside UTF-8 stands for itself as U+DC00 +
                                                   // byte ("~XX")
        for (const auto& [bytes, pattern] :
             std::initializer_list<std::pair<QByteArray, QString>>{{"caf\xe9.txt", "caf~E9.txt"},
                                                                   {"a\xc0\xaf", "a~C0~AF"},
                                                                   {"\xed\xb2\x80", "~ED~B2~80"},
                                                                   {"x\xe2\x82", "x~E2~82"},
                                                                   {"\xff/\xc3\xa9", u"~FF/\u00e9"_qs}}) {
            QString text = pattern;
            for (qsizetype i; (i = text.indexOf('~')) >= 0;)
                text.replace(i, 3, QChar(char16_t(0xDC00 + text.mid(i + 1, 2).toInt(nullptr, 16))));
            QVERIFY2(platform::decodePath(bytes) == text && platform::encodePath(text) == bytes,
                     bytes.toHex().constData());
        }
    }

    void filtersAndDrives() {
        QCOMPARE(platform::toQtFilter("File List (*.f4u)|*.f4u|All Files|*.*") +
                     platform::toQtFilter(QString()) + '|' + platform::toQtFilter("Pictures|*.jpg;*.gif"),
                 "File List (*.f4u) (*.f4u);;All Files (*.*)|Pictures (*.jpg *.gif)");
        platform::MountedVolumes drives;
        const QList<platform::Volume> volumes = drives.volumes();
        const int start = drives.startIndex(volumes);
        QVERIFY(start >= 0 && start < volumes.size() && QDir::homePath().startsWith(volumes[start].rootPath));
        std::promise<QList<platform::Volume>> readAhead; // the first list given, then read afresh
        platform::MountedVolumes ahead(readAhead.get_future().share());
        readAhead.set_value({{"/mnt/x", "X"}});
        QVERIFY(ahead.volumes().value(0).rootPath == "/mnt/x" && ahead.volumes().size() == volumes.size());

        // The kernel's pseudo file systems and what is mounted below /proc, /sys and /dev are left out; a
        // FUSE volume is listed whatever size it reports; escaped blanks are blanks; the last mount of a
        // place is the one there.
        const QString table = dir_.filePath("mountinfo");
        testsupport::writeBytes(table, "21 1 0:20 / /proc rw - proc proc rw\n"
                                       "22 1 0:21 / /sys rw shared:7 - sysfs sysfs rw\n"
                                       "23 1 0:5 / /dev/shm rw - tmpfs tmpfs rw\n"
                                       "24 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                       "25 24 0:40 / /mnt/my\\040share rw - fuse.sshfs host: rw\n"
                                       "26 24 0:41 / /media/x rw - fusectl fusectl rw\n"
                                       "27 24 0:42 / /media/x rw - vfat /dev/sdb1 rw\n"
                                       "garbage\n");
        QStringList listed;
        for (const platform::Volume& v : platform::readMountedVolumes(table))
            listed << v.rootPath;
        QCOMPARE(listed, (QStringList{"/", "/media/x", "/mnt/my share"}));

        // A volume mounted and unmounted while the program runs comes and goes, and the watch says so.
        QTemporaryDir place;
        QObject receiver;
        int news = 0;
        drives.watch(&receiver, [&] { ++news; });
        const auto listedNow = [&] {
            for (const platform::Volume& v : platform::readMountedVolumes())
                if (v.rootPath == place.path()) return true;
            return false;
        };
        if (QProcess::execute("mount", {"-t", "tmpfs", "orvik-test", place.path()}) != 0)
            QSKIP("no volume can be mounted here (the rest was checked)");
        QTRY_VERIFY(news > 0 && listedNow());
        const int mounted = news;
        QCOMPARE(QProcess::execute("umount", {place.path()}), 0);
        QTRY_VERIFY(news > mounted && !listedNow());
    }

private:
    QProcess bus_;
    QString address_;
    QTemporaryDir dir_;
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
