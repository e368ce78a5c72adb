// Registering the file list document type with the desktop: the files and their exact
// content, nothing rewritten when nothing changed, silence where nothing can be written,
// and the desktop's own tools finding the type and the program.
#include "filelist/modRegistry.h"
#include "platform/DesktopData.h"

#include "support/TreeBuilder.h"
#include "support/Window.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <sys/stat.h>

namespace {

const QString kIcon = QStringLiteral(ORVIK_SOURCE_DIR "/resources/icons/ICON2.ico");

// The real data folder, with the desktop's tools recorded instead of started unless
// asked to run them.
class RecordingDesktopData : public platform::XdgDesktopData {
public:
    bool runTools = false;
    QStringList started;
    void startTool(const QString& program, const QStringList& arguments) override {
        started << program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
        if (runTools) {
            QProcess tool;
            tool.start(program, arguments);
            tool.waitForFinished(30000);
        }
    }
};

// A data folder of its own for one test: $XDG_DATA_HOME points into it meanwhile.
struct DataHome {
    QTemporaryDir dir;
    QByteArray previous = qgetenv("XDG_DATA_HOME");
    explicit DataHome(const QString& below = QString()) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(below)));
    }
    ~DataHome() { qputenv("XDG_DATA_HOME", previous); }
    QString path(const QString& relative = QString()) const {
        return relative.isEmpty() ? dir.path() : dir.path() + QLatin1Char('/') + relative;
    }
    QByteArray read(const QString& relative) const {
        QFile f(path(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

QString readTool(const QString& program, const QStringList& arguments, const QProcessEnvironment& env) {
    QProcess tool;
    tool.setProcessEnvironment(env);
    tool.start(program, arguments);
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

const char kMimePackage[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                            "  <mime-type type=\"application/x-f4u\">\n"
                            "    <comment>f4u</comment>\n"
                            "    <sub-class-of type=\"text/plain\"/>\n"
                            "    <icon name=\"application-x-f4u\"/>\n"
                            "    <glob pattern=\"*.f4u\"/>\n"
                            "  </mime-type>\n"
                            "</mime-info>\n";

QByteArray expectedEntry(const QByteArray& execLine) {
    return "[Desktop Entry]\nType=Application\nName=ORVIK SEARCHER\n"
           "Comment=Find files by name or type; search the web with six engines at once\n" +
           execLine +
           "\nIcon=orvik-searcher\nTerminal=false\nCategories=Utility;FileTools;\n"
           "MimeType=application/x-f4u;\n";
}

} // namespace

class TestFileAssociation : public QObject {
    Q_OBJECT
private slots:
    void writesTheRegistrationWithItsExactContent();
    void startingAgainRewritesNothingUnlessSomethingChanged();
    void execLineQuotesThePathAsTheDesktopReadsIt_data();
    void execLineQuotesThePathAsTheDesktopReadsIt();
    void installedTypeMatchesTheOneWrittenAtStart();
    void theDesktopToolsFindTheTypeAndTheProgram();
    void theWindowRegistersItselfAndStaysUsableWhereNothingCanBeWritten();
    void aRelativeDataHomeIsIgnored();
};

void TestFileAssociation::writesTheRegistrationWithItsExactContent() {
    DataHome home;
    RecordingDesktopData desktop;
    filelist::AssociateFileType(QStringLiteral("f4u"), QStringLiteral("/opt/orvik"),
                                QStringLiteral("orvik-searcher"), QStringLiteral("f4u"), kIcon, desktop);
    QCOMPARE(home.read(QStringLiteral("mime/packages/orvik-searcher-f4u.xml")), QByteArray(kMimePackage));
    QCOMPARE(home.read(QStringLiteral("applications/orvik-searcher.desktop")),
             expectedEntry("Exec=\"/opt/orvik/orvik-searcher\" %f"));

    // The type's icon: the largest picture of ICON2.ico, as the icon theme reads it.
    const QByteArray png = home.read(QStringLiteral("icons/hicolor/48x48/mimetypes/application-x-f4u.png"));
    QImage picture;
    QVERIFY(picture.loadFromData(png, "PNG"));
    QCOMPARE(picture.size(), QSize(48, 48));
    QVERIFY(qAlpha(picture.pixel(0, 0)) == 0 && qAlpha(picture.pixel(24, 24)) == 255);

    // Both caches are missing, so both tools are started, each on its folder.
    QCOMPARE(desktop.started, (QStringList{"update-mime-database " + home.path("mime"),
                                           "update-desktop-database " + home.path("applications")}));

    // Without an icon (none given, or one that cannot be read) the type names none.
    for (const QString& icon : {QString(), home.path(QStringLiteral("missing.ico"))}) {
        DataHome bare;
        filelist::AssociateFileType(QStringLiteral("f4u"), QStringLiteral("/opt/orvik/"),
                                    QStringLiteral("orvik-searcher"), QStringLiteral("f4u"), icon, desktop);
        QCOMPARE(bare.read(QStringLiteral("mime/packages/orvik-searcher-f4u.xml")),
                 QByteArray(kMimePackage).replace("    <icon name=\"application-x-f4u\"/>\n", ""));
        QVERIFY(!QFileInfo::exists(bare.path(QStringLiteral("icons"))));
        // The folder given with its trailing '/' does not double it.
        QVERIFY(bare.read(QStringLiteral("applications/orvik-searcher.desktop"))
                    .contains("Exec=\"/opt/orvik/orvik-searcher\" %f\n"));
    }
}

void TestFileAssociation::startingAgainRewritesNothingUnlessSomethingChanged() {
    DataHome home;
    RecordingDesktopData desktop;
    desktop.runTools = true; // the caches are made as on a real start
    const auto associate = [&](const QString& folder) {
        filelist::AssociateFileType(QStringLiteral("f4u"), folder, QStringLiteral("orvik-searcher"),
                                    QStringLiteral("f4u"), kIcon, desktop);
    };
    associate(QStringLiteral("/opt/orvik"));
    const QStringList files = {QStringLiteral("mime/packages/orvik-searcher-f4u.xml"),
                               QStringLiteral("applications/orvik-searcher.desktop"),
                               QStringLiteral("icons/hicolor/48x48/mimetypes/application-x-f4u.png")};
    const auto identities = [&] { // inode and change time: a rewrite shows in either
        QStringList out;
        for (const QString& f : files) {
            struct stat st {};
            ::stat(QFile::encodeName(home.path(f)).constData(), &st);
            out << QStringLiteral("%1:%2.%3").arg(st.st_ino).arg(st.st_ctim.tv_sec).arg(st.st_ctim.tv_nsec);
        }
        return out;
    };
    const QStringList first = identities();
    const QByteArray entry = home.read(files[1]);
    if (!QFileInfo::exists(home.path(QStringLiteral("mime/mime.cache"))) ||
        !QFileInfo::exists(home.path(QStringLiteral("applications/mimeinfo.cache"))))
        QSKIP("update-mime-database and update-desktop-database are needed");

    desktop.started.clear();
    associate(QStringLiteral("/opt/orvik"));
    QCOMPARE(identities(), first);
    QVERIFY(desktop.started.isEmpty());
    QCOMPARE(QDir(home.path(QStringLiteral("applications"))).entryList(QDir::Files),
             (QStringList{"mimeinfo.cache", "orvik-searcher.desktop"})); // no second entry

    // The program moved: its entry follows it, the type stays as it was.
    associate(QStringLiteral("/usr/lib/orvik"));
    QCOMPARE(home.read(files[1]), QByteArray(entry).replace("/opt/orvik/", "/usr/lib/orvik/"));
    QCOMPARE(identities()[0], first[0]);
    QVERIFY(identities()[1] != first[1]);
    QCOMPARE(desktop.started, QStringList{"update-desktop-database " + home.path("applications")});

    // A cache the user removed is made again.
    desktop.started.clear();
    QFile::remove(home.path(QStringLiteral("mime/mime.cache")));
    associate(QStringLiteral("/usr/lib/orvik"));
    QCOMPARE(desktop.started, QStringList{"update-mime-database " + home.path("mime")});
    QCOMPARE(identities()[0], first[0]);
}

void TestFileAssociation::execLineQuotesThePathAsTheDesktopReadsIt_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("exec"); // empty: no entry can be written
    QTest::newRow("blank") << "/home/ann/My Tools"
                           << QByteArray("Exec=\"/home/ann/My Tools/orvik-searcher\" %f");
    QTest::newRow("shell characters")
        << "/t/a$b`c\"d" << QByteArray(R"(Exec="/t/a\\$b\\`c\\"d/orvik-searcher" %f)");
    QTest::newRow("backslash") << "/t/a\\b" << QByteArray(R"(Exec="/t/a\\\\b/orvik-searcher" %f)");
    QTest::newRow("percent") << "/t/100%" << QByteArray("Exec=\"/t/100%%/orvik-searcher\" %f");
    QTest::newRow("not ASCII") << "/t/Ärger" << QByteArray("Exec=\"/t/\xc3\x84rger/orvik-searcher\" %f");
    QTest::newRow("line break") << "/t/a\nb" << QByteArray();
}

void TestFileAssociation::execLineQuotesThePathAsTheDesktopReadsIt() {
    QFETCH(QString, folder);
    QFETCH(QByteArray, exec);
    DataHome home;
    RecordingDesktopData desktop;
    filelist::AssociateFileType(QStringLiteral("f4u"), folder, QStringLiteral("orvik-searcher"),
                                QStringLiteral("f4u"), kIcon, desktop);
    const QString entry = QStringLiteral("applications/orvik-searcher.desktop");
    if (exec.isEmpty()) {
        QVERIFY(!QFileInfo::exists(home.path(entry)));
    } else {
        QCOMPARE(home.read(entry), expectedEntry(exec));
        // The desktop's own checker reads it as a valid entry.
        if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty()) {
            QProcess check;
            check.setProcessChannelMode(QProcess::MergedChannels);
            check.start(QStringLiteral("desktop-file-validate"), {home.path(entry)});
            QVERIFY(check.waitForFinished(30000));
            QVERIFY2(check.exitCode() == 0, check.readAll().constData());
        }
    }
    // The type is registered either way.
    QCOMPARE(home.read(QStringLiteral("mime/packages/orvik-searcher-f4u.xml")), QByteArray(kMimePackage));
}

void TestFileAssociation::installedTypeMatchesTheOneWrittenAtStart() {
    // What the package installs for every user is what a start writes for one.
    const auto read = [](const char* relative) {
        QFile f(QStringLiteral(ORVIK_SOURCE_DIR "/") + QLatin1String(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QCOMPARE(read("packaging/orvik-searcher-f4u.xml"),
             filelist::mimePackage(QStringLiteral("f4u"), QStringLiteral("f4u"), true));
    QCOMPARE(read("packaging/orvik-searcher.desktop.in"),
             filelist::desktopEntry(QStringLiteral("@ORVIK_INSTALLED_PROGRAM@"),
                                    QStringLiteral("orvik-searcher"), QStringLiteral("f4u")));
    const QByteArray png = read("resources/icons/application-x-f4u.png");
    QVERIFY(!png.isEmpty());
    QCOMPARE(png, filelist::largestIconPicture(read("resources/icons/ICON2.ico")));
}

void TestFileAssociation::theDesktopToolsFindTheTypeAndTheProgram() {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty())
        QSKIP("xdg-utils, shared-mime-info and desktop-file-utils are needed");
    DataHome home;
    RecordingDesktopData desktop;
    desktop.runTools = true;
    filelist::AssociateFileType(QStringLiteral("f4u"), QStringLiteral("/opt/orvik"),
                                QStringLiteral("orvik-searcher"), QStringLiteral("f4u"), kIcon, desktop);
    QFile document(home.path(QStringLiteral("some.f4u")));
    QVERIFY(document.open(QIODevice::WriteOnly));
    document.write("/home/ann/a.txt\r\n");
    document.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    // Without a desktop, xdg-mime asks `file`, which knows no registered type; on a
    // desktop (GNOME here) it asks the type database.
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
    QCOMPARE(readTool(QStringLiteral("xdg-mime"),
                      {QStringLiteral("query"), QStringLiteral("filetype"), document.fileName()}, env),
             QStringLiteral("application/x-f4u"));
    QCOMPARE(
        readTool(QStringLiteral("xdg-mime"),
                 {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("application/x-f4u")},
                 env),
        QStringLiteral("orvik-searcher.desktop"));
}

void TestFileAssociation::theWindowRegistersItselfAndStaysUsableWhereNothingCanBeWritten() {
    // Started normally: the entry names this very program, its icon file lies beside it.
    {
        DataHome home;
        testsupport::FakeServices fake(QDir::tempPath());
        auto desktop = std::make_shared<RecordingDesktopData>();
        platform::Services services = fake.services();
        services.desktopData = desktop;
        Form1 form(services);
        const QByteArray entry = home.read(QStringLiteral("applications/") +
                                           QFileInfo(QCoreApplication::applicationFilePath()).fileName() +
                                           QStringLiteral(".desktop"));
        QVERIFY2(entry.contains("\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\" %f\n"),
                 entry.constData());
        QCOMPARE(desktop->started.size(), 2);
    }
    // A data folder below a plain file cannot be made, by anyone: nothing is written,
    // nothing is said, and the window works.
    testsupport::TreeBuilder tree;
    tree.file("plain");
    tree.file("found.txt");
    DataHome blocked;
    qputenv("XDG_DATA_HOME", tree.path("plain/share"));
    testsupport::FakeServices fake(tree.root());
    platform::Services services = fake.services();
    services.desktopData = std::make_shared<platform::XdgDesktopData>();
    Form1 form(services);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(fake.messageBoxes->shown.isEmpty());
    form.Combo1->setEditText(QStringLiteral("*.txt"));
    QTest::mouseClick(form.chameleonButton1, Qt::LeftButton);
    QTRY_VERIFY(!form.isSearching());
    QCOMPARE(form.Label3->text(), QStringLiteral("1"));
    QCOMPARE(form.List1->List(0), tree.root() + QStringLiteral("/found.txt"));
}

void TestFileAssociation::aRelativeDataHomeIsIgnored() {
    // The base-directory rules: a relative $XDG_DATA_HOME is invalid, ~/.local/share is used.
    QTemporaryDir home, cwd;
    const QByteArray previousHome = qgetenv("HOME");
    const QString previousCwd = QDir::currentPath();
    DataHome restore; // puts $XDG_DATA_HOME back afterwards
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", "relative/share");
    QDir::setCurrent(cwd.path());
    RecordingDesktopData desktop;
    QCOMPARE(desktop.folder(), home.path() + QStringLiteral("/.local/share"));
    filelist::AssociateFileType(QStringLiteral("f4u"), QStringLiteral("/opt/orvik"),
                                QStringLiteral("orvik-searcher"), QStringLiteral("f4u"), kIcon, desktop);
    QDir::setCurrent(previousCwd);
    qputenv("HOME", previousHome);
    QVERIFY(QFile::exists(home.path() + QStringLiteral("/.local/share/applications/orvik-searcher.desktop")));
    QVERIFY(
        QFile::exists(home.path() + QStringLiteral("/.local/share/mime/packages/orvik-searcher-f4u.xml")));
    QCOMPARE(QDir(cwd.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

QTEST_MAIN(TestFileAssociation)
#include "tst_fileassociation.moc"
