// Registering the file list document type with the desktop: the files and their exact content,
// nothing rewritten when nothing changed, silence where nothing can be written, and the desktop's own
// tools finding the type and the program.
#include "filelist/modRegistry.h"
#include "platform/DesktopData.h"
#include "support/TreeBuilder.h"
#include "support/Window.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <sys/stat.h>

using testsupport::readBytes;

namespace {
const QString kIcon = ORVIK_SOURCE_DIR "/resources/icons/ICON2.ico";
const QString kPackage = "mime/packages/orvik-searcher-f4u.xml", kEntry = "applications/orvik-searcher.desktop",
              kPng = "icons/hicolor/48x48/mimetypes/application-x-f4u.png";

// The real data folder, with the desktop's tools recorded instead of started unless asked to run them.
class RecordingDesktopData : public platform::XdgDesktopData {
public:
    bool runTools = false;
    QStringList started;
    void startTool(const QString& program, const QStringList& arguments) override {
        started << program + ' ' + arguments.join(' ');
        if (!runTools) return;
        QProcess tool;
        tool.start(program, arguments);
        tool.waitForFinished(30000);
    }
    void associate(const QString& folder, const QString& icon = kIcon) {
        filelist::AssociateFileType("f4u", folder, "orvik-searcher", "f4u", icon, *this);
    }
};
// A data folder of its own for one test: $XDG_DATA_HOME points into it meanwhile.
struct DataHome {
    QTemporaryDir dir;
    QByteArray previous = qgetenv("XDG_DATA_HOME");
    DataHome() { qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path())); }
    ~DataHome() { qputenv("XDG_DATA_HOME", previous); }
    QString path(const QString& relative) const { return dir.path() + '/' + relative; }
    QByteArray read(const QString& relative) const { return readBytes(path(relative)); }
};
// What the package installs for every user, by hand: what a start writes for one must be the same.
QByteArray source(const char* relative) { return readBytes(QString(ORVIK_SOURCE_DIR "/") + relative); }
const QByteArray kMimePackage = source("packaging/orvik-searcher-f4u.xml");
QByteArray expectedEntry(const QByteArray& execLine) {
    return source("packaging/orvik-searcher.desktop.in").replace("Exec=\"@ORVIK_INSTALLED_PROGRAM@\" %f", execLine);
}
} // namespace

class TestFileAssociation : public QObject {
    Q_OBJECT
private slots:
    void writesTheRegistrationWithItsExactContent() {
        DataHome home;
        RecordingDesktopData desktop;
        desktop.associate("/opt/orvik");
        QCOMPARE(home.read(kPackage), kMimePackage);
        QCOMPARE(home.read(kEntry), expectedEntry("Exec=\"/opt/orvik/orvik-searcher\" %f"));
        QImage picture; // the type's icon: the largest picture of ICON2.ico, as the icon theme reads it
        QVERIFY(picture.loadFromData(home.read(kPng), "PNG") && picture.size() == QSize(48, 48));
        QVERIFY(qAlpha(picture.pixel(0, 0)) == 0 && qAlpha(picture.pixel(24, 24)) == 255);
        // Both caches are missing, so both tools are started, each on its folder.
        QCOMPARE(desktop.started, (QStringList{"update-mime-database " + home.path("mime"), "update-desktop-database " + home.path("applications")}));
        DataHome bare; // no usable icon: the type names none
        desktop.associate("/opt/orvik/", home.path("missing.ico"));
        QCOMPARE(bare.read(kPackage), QByteArray(kMimePackage).replace("    <icon name=\"application-x-f4u\"/>\n", ""));
        QVERIFY(!QFileInfo::exists(bare.path("icons")));
        QVERIFY(bare.read(kEntry).contains("Exec=\"/opt/orvik/orvik-searcher\" %f\n")); // a trailing '/' not doubled
        QCOMPARE(source("resources/icons/application-x-f4u.png"), filelist::largestIconPicture(source("resources/icons/ICON2.ico")));
    }

    void startingAgainRewritesNothingUnlessSomethingChanged() {
        DataHome home;
        RecordingDesktopData desktop;
        desktop.runTools = true; // the caches are made as on a real start
        desktop.associate("/opt/orvik");
        const auto identities = [&] { // inode and change time: a rewrite shows in either
            QStringList out;
            for (const QString& f : {kPackage, kEntry, kPng}) {
                struct stat st {};
                ::stat(QFile::encodeName(home.path(f)).constData(), &st);
                out << QStringLiteral("%1:%2.%3").arg(st.st_ino).arg(st.st_ctim.tv_sec).arg(st.st_ctim.tv_nsec);
            }
            return out;
        };
        const QStringList first = identities();
        const QByteArray entry = home.read(kEntry);
        if (!QFileInfo::exists(home.path("mime/mime.cache")) || !QFileInfo::exists(home.path("applications/mimeinfo.cache")))
            QSKIP("update-mime-database and update-desktop-database are needed");
        desktop.started.clear();
        desktop.associate("/opt/orvik");
        QVERIFY(identities() == first && desktop.started.isEmpty());
        desktop.associate("/usr/lib/orvik"); // the program moved: its entry follows, the type stays
        QCOMPARE(home.read(kEntry), QByteArray(entry).replace("/opt/orvik/", "/usr/lib/orvik/"));
        QVERIFY(identities()[0] == first[0] && identities()[1] != first[1]);
        QCOMPARE(desktop.started, QStringList{"update-desktop-database " + home.path("applications")});
        desktop.started.clear(); // a cache the user removed is made again
        QFile::remove(home.path("mime/mime.cache"));
        desktop.associate("/usr/lib/orvik");
        QCOMPARE(desktop.started, QStringList{"update-mime-database " + home.path("mime")});
    }

    void execLineQuotesThePathAsTheDesktopReadsIt_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("exec"); // empty: no entry can be written
        QTest::newRow("blank") << "/home/ann/My Tools" << QByteArray("Exec=\"/home/ann/My Tools/orvik-searcher\" %f");
        QTest::newRow("shell characters") << "/t/a$b`c\"d" << QByteArray("Exec=\"/t/a\\\\$b\\\\`c\\\\\"d/orvik-searcher\" %f");
        QTest::newRow("backslash") << "/t/a\\b" << QByteArray("Exec=\"/t/a\\\\\\\\b/orvik-searcher\" %f");
        QTest::newRow("percent") << "/t/100%" << QByteArray("Exec=\"/t/100%%/orvik-searcher\" %f");
        QTest::newRow("not ASCII") << "/t/Ärger" << QByteArray("Exec=\"/t/\xc3\x84rger/orvik-searcher\" %f");
        QTest::newRow("line break") << "/t/a\nb" << QByteArray();
    }
    void execLineQuotesThePathAsTheDesktopReadsIt() {
        QFETCH(QString, folder);
        QFETCH(QByteArray, exec);
        DataHome home;
        RecordingDesktopData desktop;
        desktop.associate(folder);
        QCOMPARE(home.read(kPackage), kMimePackage); // the type is registered either way
        QCOMPARE(home.read(kEntry), exec.isEmpty() ? QByteArray("<unreadable>") : expectedEntry(exec));
        if (exec.isEmpty() || QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) return;
        QProcess check; // the desktop's own checker reads it as a valid entry
        check.start("desktop-file-validate", {home.path(kEntry)});
        QVERIFY(check.waitForFinished(30000) && check.exitCode() == 0);
    }

    void theDesktopToolsFindTheTypeAndTheProgram() {
        for (const char* tool : {"xdg-mime", "update-mime-database", "update-desktop-database"})
            if (QStandardPaths::findExecutable(tool).isEmpty()) QSKIP("xdg-utils, shared-mime-info and desktop-file-utils are needed");
        DataHome home;
        RecordingDesktopData desktop;
        desktop.runTools = true;
        desktop.associate("/opt/orvik");
        testsupport::writeBytes(home.path("some.f4u"), "/home/ann/a.txt\r\n");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", home.dir.path());
        // Without a desktop, xdg-mime asks `file`, which knows no registered type; on one it asks the database.
        env.insert("XDG_CURRENT_DESKTOP", "GNOME");
        const auto xdgMime = [&](const QStringList& arguments) {
            QProcess tool;
            tool.setProcessEnvironment(env);
            tool.start("xdg-mime", arguments);
            tool.waitForFinished(30000);
            return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
        };
        QCOMPARE(xdgMime({"query", "filetype", home.path("some.f4u")}), "application/x-f4u");
        QCOMPARE(xdgMime({"query", "default", "application/x-f4u"}), "orvik-searcher.desktop");
    }

    void theWindowRegistersItselfAndStaysUsableWhereNothingCanBeWritten() {
        // Started normally, the entry names this very program. Below a plain file, a data folder cannot
        // be made by anyone: nothing is written, nothing is said, and the window works.
        testsupport::TreeBuilder tree;
        tree.file("plain"), tree.file("found.txt");
        for (const bool blocked : {false, true}) {
            DataHome home;
            if (blocked) qputenv("XDG_DATA_HOME", tree.path("plain/share"));
            testsupport::FakeServices fake(tree.root());
            auto desktop = std::make_shared<RecordingDesktopData>();
            platform::Services services = fake.services();
            services.desktopData = desktop;
            Form1 form(services);
            const QByteArray entry = home.read("applications/" + QFileInfo(QCoreApplication::applicationFilePath()).fileName() + ".desktop");
            QCOMPARE(entry.contains("\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\" %f\n"), !blocked);
            QVERIFY(blocked || desktop->started.size() == 2);
            form.Option2->setChecked(true);
            form.StartSearch();
            QTRY_COMPARE(form.List1->List(0), tree.root() + "/found.txt");
            QVERIFY(fake.messageBoxes->shown.isEmpty());
        }
    }

    void aRelativeDataHomeIsIgnored() {
        // The base-directory rules: a relative $XDG_DATA_HOME is invalid, ~/.local/share is used.
        QTemporaryDir home, cwd;
        const QByteArray previousHome = qgetenv("HOME");
        const QString previousCwd = QDir::currentPath();
        DataHome restore; // puts $XDG_DATA_HOME back afterwards
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_DATA_HOME", "relative/share");
        QDir::setCurrent(cwd.path());
        RecordingDesktopData desktop;
        QCOMPARE(desktop.folder(), home.path() + "/.local/share");
        desktop.associate("/opt/orvik");
        QDir::setCurrent(previousCwd), qputenv("HOME", previousHome);
        QVERIFY(QFile::exists(home.path() + "/.local/share/" + kEntry) && QFile::exists(home.path() + "/.local/share/" + kPackage));
        QCOMPARE(QDir(cwd.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
};

QTEST_MAIN(TestFileAssociation)
#include "tst_fileassociation.moc"
