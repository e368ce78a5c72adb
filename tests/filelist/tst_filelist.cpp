// The file list without a window: blocked types, the document's bytes read and written, failed saves,
// deleting exactly the named file, and registering the document type with the desktop.
#include "filelist/BlockedTypes.h"
#include "filelist/FileActions.h"
#include "filelist/FileListDocument.h"
#include "filelist/modRegistry.h"
#include "platform/DesktopData.h"
#include "platform/PathCodec.h"
#include "search/ResultList.h"
#include "support/FakeServices.h"
#include "support/FileBytes.h"
#include "support/TreeBuilder.h"
#include "support/WalkEvents.h"

#include <QtTest>
#include <QtWidgets>
#include <csignal>
#include <cstring>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testsupport;
using filelist::BlockedAction;
using Answer = platform::MessageBoxRequest::Answer;
using Entries = QList<QByteArray>;

namespace {
Entries entriesOf(QByteArrayView document) {
    Entries out;
    filelist::readFileList(document, [&out](QByteArrayView e) { out.append(e.toByteArray()); });
    return out;
}
filelist::EntrySink into(search::ResultList& list) {
    return [&list](QByteArrayView e) { list.appendBytes(e); };
}
Entries entriesOf(const search::ResultList& list) {
    Entries out;
    for (int i = 0; i < list.count(); ++i)
        out.append(list.entryBytes(i));
    return out;
}
// Each box as "title|text|buttons icon default", then forgotten.
QStringList taken(ScriptedMessageBoxes& boxes) {
    QStringList out;
    for (const auto& b : std::exchange(boxes.shown, {}))
        out << QStringLiteral("%1|%2|%3 %4 %5")
                   .arg(b.title, b.text)
                   .arg(int(b.buttons))
                   .arg(int(b.icon))
                   .arg(int(b.defaultButton));
    return out;
}
bool exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}
// While it lives, lowers the largest file this process may write, as a full disk would stop a write;
// the write then fails instead of the process getting a signal.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit lower{bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    rlimit old{};
};
const QString kIcon = ORVIK_SOURCE_DIR "/resources/icons/ICON2.ico";
const QString kPackage = "mime/packages/orvik-searcher-f4u.xml",
              kEntry = "applications/orvik-searcher.desktop",
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
QByteArray source(const char* relative) {
    return readBytes(QString(ORVIK_SOURCE_DIR "/") + relative);
}
const QByteArray kMimePackage = source("packaging/orvik-searcher-f4u.xml");
QByteArray expectedEntry(const QByteArray& execLine) {
    return source("packaging/orvik-searcher.desktop.in")
        .replace("Exec=\"@ORVIK_INSTALLED_PROGRAM@\" %f", execLine);
}
} // namespace

class TestFileList : public QObject {
    Q_OBJECT
private slots:
    void blockedTypesLookAtTheLastThreeCharacters_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("type"); // as the messages name it; empty: passes
        for (const auto& [path, type] : std::initializer_list<std::pair<const char*, const char*>>{
                 {"C:\\WINDOWS\\notepad.EXE", "an EXE"},
                 {"/opt/myexe", "an EXE"},
                 {"C:\\a\\setup.exe.txt", ""},
                 {"ini", "an INI"},
                 {"/skins/blue.Sk2", "SK2"},
                 {"/w/k.dll", "DLL"},
                 {"/w/ctl.OCX", "an OCX"},
                 {"C:\\DATA\\report.Zip", "ZIP"},
                 {"C:\\b\\archive.rar", "RAR"},
                 {"xe", ""},
                 {"/a/b.exe ", ""},
                 {"/d/\xc3\xa9t\xc3\xa9.zip", "ZIP"}})
            QTest::newRow(path) << QString::fromUtf8(path) << type;
    }

    void blockedTypesLookAtTheLastThreeCharacters() {
        QFETCH(QString, path);
        QFETCH(QString, type);
        for (const auto& [action, verb] :
             {std::pair{BlockedAction::Open, "opened"}, {BlockedAction::Delete, "deleted"}}) {
            const QString got = filelist::blockedTypeMessage(path, action);
            QCOMPARE(got, type.isEmpty()
                              ? QString()
                              : "  Due to security reasons , " + type + " file cannot be " + verb + " !");
            QCOMPARE(got.isNull(), type.isEmpty());
        }
    }

    void readsLinesLeniently_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<Entries>("entries");
        QTest::newRow("CR LF") << QByteArray("/a.txt\r\n/b c/d.doc\r\n") << Entries{"/a.txt", "/b c/d.doc"};
        QTest::newRow("lone CR") << QByteArray("/a\r/b\r") << Entries{"/a", "/b"};
        QTest::newRow("lone LF stays") << QByteArray("/a\nb\r\n/c\n") << Entries{"/a\nb", "/c\n"};
        QTest::newRow("no final end") << QByteArray("/a\r\n/b") << Entries{"/a", "/b"};
        QTest::newRow("trailing blanks only")
            << QByteArray("  /a b  \r\n/c\t \r\n") << Entries{"  /a b", "/c\t"};
        QTest::newRow("CR CR LF, a blank line")
            << QByteArray("/a\r\r\n   \r\n/b") << Entries{"/a", "", "", "/b"};
        QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf/a\r\n") << Entries{"/a"};
        QTest::newRow("a NUL ends the entry")
            << QByteArray("/a  \0b\r\n\0\r\n/c", 13) << Entries{"/a", "", "/c"};
        QTest::newRow("raw bytes") << QByteArray("/m\xc3\xbcsic/caf\xe9.mp3\r\n")
                                   << Entries{"/m\xc3\xbcsic/caf\xe9.mp3"};
        // Windows-1252 (0x80..0x9F included), judged line by line; broken UTF-8 is not UTF-8 (the fuzzer
        // holds that).
        QTest::newRow("windows-1252")
            << QByteArray("C:\\Docs\\caf\xe9 \x80\x96\x9f.txt\r\nD:\\\xc3\xa9\r\nD:\\\xe9\r\nx\xc0\xaf")
            << Entries{"C:\\Docs\\caf\xc3\xa9 \xe2\x82\xac\xe2\x80\x93\xc5\xb8.txt", "D:\\\xc3\xa9",
                       "D:\\\xc3\xa9", "x\xc3\x80\xc2\xaf"};
    }

    void readsLinesLeniently() {
        QFETCH(QByteArray, document);
        QTEST(entriesOf(document), "entries");
    }

    void savesAndOpensAListAgain() {
        QTemporaryDir dir;
        search::ResultList list;
        list.setFolder("/data/m\xc3\xbcsic");
        list.appendName("bad\xff\xfe.mp3");
        for (const char* e : {"C:\\b c\\d.doc", "/with\nnewline", "/trailing  ", "/x//y", ""})
            list.append(e);
        const QString name = dir.filePath("list.f4u");
        auto saved = filelist::SavePlaylist(name, list.entries());
        QVERIFY(saved.ok && saved.entriesWithCr == 0);
        QCOMPARE(readBytes(name), "/data/m\xc3\xbcsic/bad\xff\xfe.mp3\r\nC:\\b "
                                  "c\\d.doc\r\n/with\nnewline\r\n/trailing  \r\n/x//y\r\n\r\n");
        search::ResultList back;
        back.append("/kept"); // opening gives the entries in order
        QVERIFY(filelist::OpenPlaylist(name, into(back)).entries == 6 && back.count() == 7);
        Entries expected = Entries{"/kept"} + entriesOf(list);
        expected[4] = "/trailing";
        QCOMPARE(entriesOf(back), expected);

        // Entries longer than the blocks the save writes in, around one that fits; a CR is counted.
        search::ResultList longOnes;
        const QByteArray huge = "/" + QByteArray(3 << 20, 'h');
        for (const QByteArray& e : {huge, QByteArray("/short"), huge + "\r"})
            longOnes.appendBytes(e);
        QCOMPARE(filelist::SavePlaylist(name, longOnes.entries()).entriesWithCr, 1);
        QCOMPARE(readBytes(name), huge + "\r\n/short\r\n" + huge + "\r\r\n");
        const auto folder = filelist::OpenPlaylist(dir.path(), into(back)); // a folder is no document
        QVERIFY(!folder.ok && !folder.error.isEmpty() && back.count() == 7);
    }

    void aDocumentReadInBlocksCutShortOrFailing() {
        // Hands out the document's first stopAt bytes, then its end (cut short) or a read error.
        struct Cut : QIODevice {
            QByteArray data;
            qint64 stopAt = 0, at = 0;
            bool fails = false;
            qint64 readData(char* to, qint64 max) override {
                const qint64 n = std::min(max, stopAt - at);
                if (n > 0) return std::memcpy(to, data.constData() + at, size_t(n)), at += n, n;
                if (fails) setErrorString("Input/output error");
                return fails ? -1 : 0;
            }
            qint64 writeData(const char*, qint64) override { return -1; }
            bool isSequential() const override { return true; }
        };
        // In blocks of every small size: lines and CR LF across blocks, a mark only at the start.
        const QByteArray document =
            "\xef\xbb\xbf/a\r\n\r\r\n\xef\xbb\xbf/b  \r/c\0d\n" + QByteArray(40, 'x') + "\r\n/e";
        for (qint64 block = 1; block <= 13; ++block) {
            Cut device;
            device.data = document, device.stopAt = document.size(), device.open(QIODevice::ReadOnly);
            search::ResultList list;
            QVERIFY(filelist::ReadPlaylist(device, into(list), block).ok);
            QCOMPARE(entriesOf(list), entriesOf(document));
        }
        for (const bool fails : {false, true}) {
            Cut device;
            device.data = "/a\r\n/b\r\n/c\r\n", device.stopAt = 6, device.fails = fails,
            device.open(QIODevice::ReadOnly); // "/a\r\n/b"
            search::ResultList list;
            list.append("/kept");
            const auto r = filelist::ReadPlaylist(device, into(list), 4);
            QCOMPARE(r.error + (r.ok ? "ok" : ""), fails ? "Input/output error" : "ok");
            // Cut short, the last line counts as it stands; a failed read leaves out the line it broke.
            QCOMPARE(entriesOf(list), (fails ? Entries{"/kept", "/a"} : Entries{"/kept", "/a", "/b"}));
        }
        // A document on disk cut short by another program while it is read: the last line only where it
        // ended, and the change is told.
        QTemporaryDir dir;
        QFile file(dir.filePath("shrinks.f4u"));
        writeBytes(file.fileName(), "/a\r\n/b\r\n/c\r\n");
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        search::ResultList list;
        const auto r = filelist::ReadPlaylist(
            file,
            [&](QByteArrayView entry) {
                list.appendBytes(entry);
                if (list.count() == 1)
                    QVERIFY(::truncate(QFile::encodeName(file.fileName()).constData(), 6) == 0); // "/a\r\n/b"
            },
            4);
        QVERIFY(r.ok && r.changed);
        QCOMPARE(entriesOf(list), Entries{"/a"});
    }

    void failedSavesKeepTheOldDocument() {
        QTemporaryDir dir;
        const QString name = dir.filePath("old.f4u");
        writeBytes(name, "/the/old/list.txt\r\n");
        search::ResultList list;
        list.setFolder("/a/rather/long/folder/name/for/the/test");
        for (int i = 0; i < 20000; ++i)
            list.appendName("file" + std::to_string(i) + ".txt");
        {
            const FileSizeLimit diskFull(64 * 1024); // the disk fills up half way through
            const auto r = filelist::SavePlaylist(name, list.entries());
            QVERIFY(!r.ok && !r.error.isEmpty());
        }
        QCOMPARE(readBytes(name), "/the/old/list.txt\r\n");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.f4u"});
        QVERIFY(!filelist::SavePlaylist(dir.filePath("no/such/x.f4u"), list.entries()).ok);
        QVERIFY(filelist::SavePlaylist(name, list.entries()).ok); // a save that works replaces it whole
        QCOMPARE(readBytes(name).count("/test/file"), 20000);
    }

    void deleteAsksOnlyAboutAUsableSelectionThenRemovesExactlyThatFile() {
        TreeBuilder tree;
        ScriptedMessageBoxes boxes;
        // -1 where nothing was deleted, else what the deletion answered (0, or the system's error).
        const auto del = [&](const QString& e, const char* position = "1") {
            if (!filelist::AskToDelete(boxes, nullptr, e, position)) return -1;
            const int error = filelist::DeleteFile(platform::encodePath(e));
            filelist::ReportDelete(boxes, nullptr, error);
            return error;
        };
        for (const char* name : {"a.txt", "a.dll", "SETUP.EXE"})
            tree.file(name);
        QCOMPARE(del(QString(), "3"), -1);
        QCOMPARE(del(tree.root() + "/a.txt", "0"), -1); // nothing chosen since filled
        QCOMPARE(del(tree.root() + "/a.dll"), -1);
        QCOMPARE(del(tree.root() + "/SETUP.EXE", "2"), -1);
        QCOMPARE(
            taken(boxes),
            (QStringList{
                " File Selection Error |  Please select file from the file list!|0 0 0",
                " Orvik Searcher Message |  Due to security reasons , DLL file cannot be deleted !|0 0 0",
                " Orvik Searcher Message |  Due to security reasons , an EXE file cannot be deleted !|0 0 "
                "0"}));
        boxes.answers = {Answer::No};
        QCOMPARE(del(tree.root() + "/a.txt"), -1);
        QVERIFY(QFile::exists(tree.root() + "/a.txt") && QFile::exists(tree.root() + "/a.dll"));
        QVERIFY(del(tree.root() + "/a.txt") == 0 && !QFile::exists(tree.root() + "/a.txt"));
        const QString question =
            "Delete Selected File !| Are you sure, you want to delete this file?|1 4 2"; // No by default
        QCOMPARE(taken(boxes),
                 (QStringList{question, question,
                              "File Delete Message|Your selected file has been deleted forever!|0 1 0"}));

        // Only the named file, by its real bytes: wildcards taken literally, a link itself.
        const QByteArray folder = tree.rootBytes() + '/';
        for (const QByteArray name : {"caf\xe9 \xff.txt", "*.txt", "-r  old .txt", "link.txt"}) {
            tree.file("neighbour.txt"), tree.file("caf.txt");
            name == "link.txt" ? tree.link("neighbour.txt", name) : tree.file(name);
            QCOMPARE(del(platform::decodePath(folder + name), "2"), 0);
            QVERIFY2(!exists(folder + name), name.constData());
            QVERIFY(exists(folder + "neighbour.txt") && exists(folder + "caf.txt"));
        }
        QVERIFY(QDir(tree.root()).mkpath("gone.txt/inside")); // a folder: a warning, and kept
        boxes.shown.clear();
        QVERIFY(del(tree.root() + "/gone.txt") > 0 && QFile::exists(tree.root() + "/gone.txt/inside"));
        const QStringList said = taken(boxes);
        QVERIFY2(said.size() == 2 &&
                     said[1].startsWith("File Delete Message|The selected file could not be") &&
                     said[1].endsWith("|0 2 0"),
                 qPrintable(said.join('\n')));
    }

    void registersTheTypeAndRewritesOnlyWhatChanged() {
        DataHome home;
        RecordingDesktopData desktop;
        desktop.associate("/opt/orvik");
        QCOMPARE(home.read(kPackage), kMimePackage);
        QCOMPARE(home.read(kEntry), expectedEntry("Exec=\"/opt/orvik/orvik-searcher\" %f"));
        QImage picture; // the type's icon: the largest picture of ICON2.ico, as the icon theme reads it
        QVERIFY(picture.loadFromData(home.read(kPng), "PNG") && picture.size() == QSize(48, 48));
        QVERIFY(qAlpha(picture.pixel(0, 0)) == 0 && qAlpha(picture.pixel(24, 24)) == 255);
        // Both caches are missing, so both tools are started, each on its folder.
        QCOMPARE(desktop.started, (QStringList{"update-mime-database " + home.path("mime"),
                                               "update-desktop-database " + home.path("applications")}));
        // Started again: nothing rewritten (inode and change time) and nothing started, once the tools
        // made their caches; the program moved: its entry follows; a removed cache is made again.
        for (const char* cache : {"mime/mime.cache", "applications/mimeinfo.cache"})
            writeBytes(home.path(cache), "made");
        const auto identity = [&] {
            struct stat st {};
            ::stat(QFile::encodeName(home.path(kEntry)).constData(), &st);
            return QStringLiteral("%1:%2.%3").arg(st.st_ino).arg(st.st_ctim.tv_sec).arg(st.st_ctim.tv_nsec);
        };
        const QString first = identity();
        desktop.started.clear(), desktop.associate("/opt/orvik");
        QVERIFY(identity() == first && desktop.started.isEmpty());
        const QByteArray entry = home.read(kEntry);
        desktop.associate("/usr/lib/orvik");
        QCOMPARE(home.read(kEntry), QByteArray(entry).replace("/opt/orvik/", "/usr/lib/orvik/"));
        QFile::remove(home.path("mime/mime.cache"));
        desktop.associate("/usr/lib/orvik");
        QCOMPARE(desktop.started, (QStringList{"update-desktop-database " + home.path("applications"),
                                               "update-mime-database " + home.path("mime")}));

        DataHome bare; // no usable icon: the type names none; a trailing '/' is not doubled
        desktop.associate("/opt/orvik/", home.path("missing.ico"));
        QCOMPARE(bare.read(kPackage),
                 QByteArray(kMimePackage).replace("    <icon name=\"application-x-f4u\"/>\n", ""));
        QVERIFY(!QFileInfo::exists(bare.path("icons")));
        QVERIFY(bare.read(kEntry).contains("Exec=\"/opt/orvik/orvik-searcher\" %f\n"));
    }

    void execLineQuotesThePathAsTheDesktopReadsIt_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("exec"); // empty: no entry can be written
        QTest::newRow("blank") << "/home/ann/My Tools"
                               << QByteArray("Exec=\"/home/ann/My Tools/orvik-searcher\" %f");
        QTest::newRow("shell characters")
            << "/t/a$b`c\"d\\e%"
            << QByteArray("Exec=\"/t/a\\\\$b\\\\`c\\\\\"d\\\\\\\\e%%/orvik-searcher\" %f");
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
        QVERIFY(QFile::exists(home.path() + "/.local/share/" + kEntry) &&
                QFile::exists(home.path() + "/.local/share/" + kPackage));
        QCOMPARE(QDir(cwd.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());

        // Without HOME, the home folder is the user database's; for a user it has no entry for, nothing
        // is registered and standard error says why.
        qunsetenv("HOME"), qunsetenv("XDG_DATA_HOME");
        QCOMPARE(desktop.folder(), QFile::decodeName(::getpwuid(::getuid())->pw_dir) + "/.local/share");
        if (::getuid() != 0)
            QSKIP("a user without an entry in the user database needs root here (the rest was checked)");
        QTemporaryFile said; // its standard error
        QVERIFY(said.open());
        const int code = inChild([&](QStringList&) { // a user the database does not know
            ::dup2(said.handle(), 2);
            if (::setgid(54321) != 0 || ::setuid(54321) != 0) return 2;
            RecordingDesktopData unknown;
            unknown.associate("/opt/orvik");
            return unknown.folder().isEmpty() && unknown.started.isEmpty() ? 0 : 1;
        });
        qputenv("HOME", previousHome);
        QCOMPARE(code, 0);
        said.seek(0);
        const QByteArray text = said.readAll();
        QCOMPARE(text, "orvik-searcher: the f4u document type is not registered: there is no home folder "
                       "(HOME is not set, "
                       "and the user database has no entry for this user).\n");
    }
};

QTEST_MAIN(TestFileList)
#include "tst_filelist.moc"
