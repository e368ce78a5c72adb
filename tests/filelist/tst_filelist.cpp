// The file actions without a window: the blocked types and their messages, the document's exact
// bytes, lenient reading, saves that replace a document whole or leave it be, and deleting
// exactly the named file.
#include "filelist/BlockedTypes.h"
#include "filelist/FileActions.h"
#include "filelist/FileListDocument.h"
#include "platform/PathCodec.h"
#include "search/ResultList.h"
#include "support/FakeServices.h"
#include "support/FileBytes.h"
#include "support/TreeBuilder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace testsupport;
using filelist::BlockedAction;
using filelist::DeleteOutcome;
using Answer = platform::MessageBoxRequest::Answer;
using Entries = QList<QByteArray>;

namespace {
Entries entriesOf(QByteArrayView document) {
    Entries out;
    filelist::readFileList(document, [&out](QByteArrayView e) { out.append(e.toByteArray()); });
    return out;
}
Entries entriesOf(const search::ResultList& list) {
    Entries out;
    for (int i = 0; i < list.count(); ++i) out.append(list.entryBytes(i));
    return out;
}
// Each box as "title|text|buttons icon default", then forgotten.
QStringList taken(ScriptedMessageBoxes& boxes) {
    QStringList out;
    for (const auto& b : std::exchange(boxes.shown, {}))
        out << QStringLiteral("%1|%2|%3 %4 %5").arg(b.title, b.text).arg(int(b.buttons)).arg(int(b.icon)).arg(int(b.defaultButton));
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
} // namespace

class TestFileList : public QObject {
    Q_OBJECT
private slots:
    void blockedTypesLookAtTheLastThreeCharacters_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("type"); // as the messages name it; empty: passes
        for (const auto& [path, type] : std::initializer_list<std::pair<const char*, const char*>>{
                 {"C:\\WINDOWS\\notepad.EXE", "an EXE"}, {"/opt/myexe", "an EXE"}, {"C:\\a\\setup.exe.txt", ""},
                 {"C:\\exe\\notes.txt", ""}, {"ini", "an INI"}, {"/skins/blue.Sk2", "SK2"}, {"/w/k.dll", "DLL"},
                 {"/w/ctl.OCX", "an OCX"}, {"C:\\DATA\\report.Zip", "ZIP"}, {"C:\\b\\archive.rar", "RAR"},
                 {"C:\\c\\picture.jpg", ""}, {"C:\\c\\readme", ""}, {"xe", ""}, {"", ""}, {"/a/b.exe ", ""},
                 {"/d/\xc3\xa9t\xc3\xa9.zip", "ZIP"}})
            QTest::newRow(path) << QString::fromUtf8(path) << type;
    }
    void blockedTypesLookAtTheLastThreeCharacters() {
        QFETCH(QString, path);
        QFETCH(QString, type);
        for (const auto& [action, verb] : {std::pair{BlockedAction::Open, "opened"}, {BlockedAction::Delete, "deleted"}}) {
            const QString got = filelist::blockedTypeMessage(path, action);
            QCOMPARE(got, type.isEmpty() ? QString() : "  Due to security reasons , " + type + " file cannot be " + verb + " !");
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
        QTest::newRow("trailing blanks only") << QByteArray("  /a b  \r\n/c\t \r\n") << Entries{"  /a b", "/c\t"};
        QTest::newRow("empty lines") << QByteArray("\r\n/a\r\n\r\n") << Entries{"", "/a", ""};
        QTest::newRow("CR CR LF") << QByteArray("/a\r\r\n/b") << Entries{"/a", "", "/b"};
        QTest::newRow("blank line") << QByteArray("   \r\n") << Entries{""};
        QTest::newRow("empty document") << QByteArray() << Entries{};
        QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf/a\r\n") << Entries{"/a"};
        QTest::newRow("only a mark") << QByteArray("\xef\xbb\xbf") << Entries{};
        QTest::newRow("a NUL ends the entry") << QByteArray("/a  \0b\r\n\0\r\n/c", 13) << Entries{"/a", "", "/c"};
        QTest::newRow("raw bytes") << QByteArray("/m\xc3\xbcsic/caf\xe9.mp3\r\n") << Entries{"/m\xc3\xbcsic/caf\xe9.mp3"};
    }
    void readsLinesLeniently() {
        QFETCH(QByteArray, document);
        QTEST(entriesOf(document), "entries");
    }

    void readsWindowsDocumentsLineByLine() {
        // Windows-1252 (0x80..0x9F included), judged line by line; broken UTF-8 is not UTF-8.
        QCOMPARE(entriesOf("C:\\Docs\\caf\xe9 \x80\x96\x9f.txt\r\nD:\\\xc3\xa9\r\nD:\\\xe9\r\n"),
                 (Entries{"C:\\Docs\\caf\xc3\xa9 \xe2\x82\xac\xe2\x80\x93\xc5\xb8.txt", "D:\\\xc3\xa9", "D:\\\xc3\xa9"}));
        for (const char* bad : {"x\xc0\xaf", "x\xed\xa0\x80", "x\xf4\x90\x80\x80", "x\xe2\x82", "x\xbf"}) {
            const QString got = platform::decodePath(entriesOf(bad).value(0));
            QVERIFY2(!got.isEmpty(), bad);
            for (QChar c : got) QVERIFY2(!c.isSurrogate() && c != QChar(0xFFFD), bad);
        }
    }

    void savesAndOpensAListAgain() {
        QTemporaryDir dir;
        search::ResultList list;
        list.setFolder("/data/m\xc3\xbcsic");
        list.appendName("bad\xff\xfe.mp3");
        for (const char* e : {"C:\\b c\\d.doc", "/with\nnewline", "/trailing  ", "/x//y", ""}) list.append(e);
        const QString name = dir.filePath("list.f4u");
        auto saved = filelist::SavePlaylist(name, list);
        QVERIFY(saved.ok && saved.entriesWithCr == 0);
        QCOMPARE(readBytes(name), "/data/m\xc3\xbcsic/bad\xff\xfe.mp3\r\nC:\\b c\\d.doc\r\n/with\nnewline\r\n/trailing  \r\n/x//y\r\n\r\n");
        search::ResultList back;
        back.append("/kept"); // opening adds to what the list holds, and the views hear of the entries
        QVERIFY(filelist::OpenPlaylist(name, back).entries == 6 && back.rowCount() == 7);
        Entries expected = Entries{"/kept"} + entriesOf(list);
        expected[4] = "/trailing";
        QCOMPARE(entriesOf(back), expected);

        // Entries longer than the blocks the save writes in, around one that fits; a CR is counted.
        search::ResultList longOnes;
        const QByteArray huge = "/" + QByteArray(3 << 20, 'h');
        for (const QByteArray& e : {huge, QByteArray("/short"), huge + "\r"}) longOnes.appendBytes(e);
        QCOMPARE(filelist::SavePlaylist(name, longOnes).entriesWithCr, 1);
        QCOMPARE(readBytes(name), huge + "\r\n/short\r\n" + huge + "\r\r\n");
        search::ResultList split;
        filelist::OpenPlaylist(name, split); // it loads back as two entries
        writeBytes(dir.filePath("empty.f4u"), {}); // empty and unnamed documents add nothing
        QVERIFY(filelist::OpenPlaylist(dir.filePath("empty.f4u"), split).ok && filelist::OpenPlaylist(QString(), split).ok);
        const auto folder = filelist::OpenPlaylist(dir.path(), split); // a folder is no document
        QVERIFY(!folder.ok && !folder.error.isEmpty());
        QCOMPARE(split.count(), 4);
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
        const QByteArray document = "\xef\xbb\xbf/a\r\n\r\r\n\xef\xbb\xbf/b  \r/c\0d\n" + QByteArray(40, 'x') + "\r\n/e";
        for (qint64 block = 1; block <= 13; ++block) {
            Cut device;
            device.data = document, device.stopAt = document.size(), device.open(QIODevice::ReadOnly);
            search::ResultList list;
            QVERIFY(filelist::ReadPlaylist(device, list, block).ok);
            QCOMPARE(entriesOf(list), entriesOf(document));
        }
        for (const bool fails : {false, true}) {
            Cut device;
            device.data = "/a\r\n/b\r\n/c\r\n", device.stopAt = 6, device.fails = fails, device.open(QIODevice::ReadOnly); // "/a\r\n/b"
            search::ResultList list;
            list.append("/kept");
            const auto r = filelist::ReadPlaylist(device, list, 4);
            QCOMPARE(r.error + (r.ok ? "ok" : ""), fails ? "Input/output error" : "ok");
            // Cut short, the last line counts as it stands; a failed read leaves out the line it broke.
            QCOMPARE(entriesOf(list), (fails ? Entries{"/kept", "/a"} : Entries{"/kept", "/a", "/b"}));
        }
    }

    void failedSavesKeepTheOldDocument() {
        QTemporaryDir dir;
        const QString name = dir.filePath("old.f4u");
        writeBytes(name, "/the/old/list.txt\r\n");
        search::ResultList list;
        list.setFolder("/a/rather/long/folder/name/for/the/test");
        for (int i = 0; i < 20000; ++i) list.appendName("file" + std::to_string(i) + ".txt");
        {
            const FileSizeLimit diskFull(64 * 1024); // the disk fills up half way through
            const auto r = filelist::SavePlaylist(name, list);
            QVERIFY(!r.ok && !r.error.isEmpty());
        }
        QCOMPARE(readBytes(name), "/the/old/list.txt\r\n");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.f4u"});
        QVERIFY(!filelist::SavePlaylist(dir.path(), list).ok && QFileInfo(dir.path()).isDir()); // a folder as the name
        QVERIFY(!filelist::SavePlaylist(dir.filePath("no/such/x.f4u"), list).ok);
        QVERIFY(filelist::SavePlaylist(name, list).ok); // a save that works replaces it whole
        const QByteArray now = readBytes(name);
        QVERIFY(now.startsWith("/a/rather/long/folder/name/for/the/test/file0.txt\r\n") && now.endsWith("/file19999.txt\r\n"));
        QCOMPARE(now.count("\r\n"), 20000);
    }

    void deleteAsksOnlyAboutAUsableSelectionThenRemovesExactlyThatFile() {
        TreeBuilder tree;
        ScriptedMessageBoxes boxes;
        const auto del = [&](const QString& e, const char* position = "1") {
            return filelist::DeleteSelectedFile(boxes, nullptr, e, position);
        };
        for (const char* name : {"a.txt", "a.dll", "SETUP.EXE"}) tree.file(name);
        QCOMPARE(del(QString(), "3"), DeleteOutcome::NotAsked);
        QCOMPARE(del(tree.root() + "/a.txt", "0"), DeleteOutcome::NotAsked); // nothing chosen since filled
        QCOMPARE(del(tree.root() + "/a.dll"), DeleteOutcome::NotAsked);
        QCOMPARE(del(tree.root() + "/SETUP.EXE", "2"), DeleteOutcome::NotAsked);
        QCOMPARE(taken(boxes), (QStringList{" File Selection Error |  Please select file from the file list!|0 0 0",
                                            " Orvik Searcher Message |  Due to security reasons , DLL file cannot be deleted !|0 0 0",
                                            " Orvik Searcher Message |  Due to security reasons , an EXE file cannot be deleted !|0 0 0"}));
        boxes.answers = {Answer::No};
        QCOMPARE(del(tree.root() + "/a.txt"), DeleteOutcome::Kept);
        QVERIFY(QFile::exists(tree.root() + "/a.txt") && QFile::exists(tree.root() + "/a.dll"));
        QVERIFY(del(tree.root() + "/a.txt") == DeleteOutcome::Deleted && !QFile::exists(tree.root() + "/a.txt"));
        const QString question = "Delete Selected File !| Are you sure, you want to delete this file?|1 4 2"; // No by default
        QCOMPARE(taken(boxes), (QStringList{question, question, "File Delete Message|Your selected file has been deleted forever!|0 1 0"}));

        // Only the named file, by its real bytes: wildcards taken literally, a link itself.
        const QByteArray folder = tree.rootBytes() + '/';
        for (const QByteArray name : {"caf\xe9 \xff.txt", "*.txt", "-r  old .txt", "link.txt"}) {
            tree.file("neighbour.txt"), tree.file("caf.txt");
            name == "link.txt" ? tree.link("neighbour.txt", name) : tree.file(name);
            QCOMPARE(del(platform::decodePath(folder + name), "2"), DeleteOutcome::Deleted);
            QVERIFY2(!exists(folder + name), name.constData());
            QVERIFY(exists(folder + "neighbour.txt") && exists(folder + "caf.txt"));
        }
        QVERIFY(QDir(tree.root()).mkpath("gone.txt/inside")); // a vanished file, a folder: reported, kept
        boxes.shown.clear();
        for (const QString& e : {tree.root() + "/vanished.txt", tree.root() + "/gone.txt"}) {
            QCOMPARE(del(e), DeleteOutcome::Failed);
            const QStringList said = taken(boxes);
            QVERIFY2(said.size() == 2 && said[1].startsWith("File Delete Message|The selected file could not be deleted") &&
                         said[1].endsWith("|0 2 0"), qPrintable(said.join('\n'))); // a warning
        }
        QVERIFY(QFile::exists(tree.root() + "/gone.txt/inside"));
    }
};

QTEST_GUILESS_MAIN(TestFileList)
#include "tst_filelist.moc"
