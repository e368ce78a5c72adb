// The file actions without a window: which entries are refused and with what message,
// the document's exact bytes, lenient reading of documents from elsewhere, saves that
// either replace a document whole or leave it be, and deleting exactly the named file.
#include "filelist/BlockedTypes.h"
#include "filelist/FileActions.h"
#include "filelist/FileListDocument.h"
#include "platform/PathCodec.h"
#include "search/ResultList.h"
#include "support/FakeServices.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/TreeBuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/stat.h>

using filelist::BlockedAction;
using filelist::DeleteOutcome;
using platform::MessageBoxRequest;
using testsupport::readBytes;
using testsupport::ScriptedMessageBoxes;
using testsupport::writeBytes;

namespace {

QList<QByteArray> entriesOf(QByteArrayView document) {
    QList<QByteArray> out;
    filelist::readFileList(document, [&out](QByteArrayView e) { out.append(e.toByteArray()); });
    return out;
}

QList<QByteArray> entriesOf(const search::ResultList& list) {
    QList<QByteArray> out;
    for (int i = 0; i < list.count(); ++i)
        out.append(list.entryBytes(i));
    return out;
}

// Each box as "title|text|buttons icon default".
QStringList described(const QList<MessageBoxRequest>& boxes) {
    QStringList out;
    for (const MessageBoxRequest& b : boxes)
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

} // namespace

class TestFileList : public QObject {
    Q_OBJECT
private slots:
    void blockedTypesLookAtTheLastThreeCharacters_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("type"); // as the messages name it; empty: passes
        const auto row = [](const char* path, const char* type) {
            QTest::newRow(path) << QString::fromUtf8(path) << type;
        };
        row("C:\\WINDOWS\\notepad.EXE", "an EXE");
        row("/opt/myexe", "an EXE"); // no dot needed
        row("C:\\a\\setup.exe.txt", "");
        row("C:\\exe\\notes.txt", "");
        row("ini", "an INI");
        row("/skins/blue.Sk2", "SK2");
        row("/w/sys/kernel32.dll", "DLL");
        row("/w/ctl.OCX", "an OCX");
        row("C:\\DATA\\report.Zip", "ZIP");
        row("C:\\b\\archive.rar", "RAR");
        row("C:\\c\\picture.jpg", "");
        row("C:\\c\\readme", "");
        row("xe", "");
        row("", "");
        row("/a/b.exe ", "");
        row("/d/\xc3\xa9t\xc3\xa9.zip", "ZIP");
    }
    void blockedTypesLookAtTheLastThreeCharacters() {
        QFETCH(QString, path);
        QFETCH(QString, type);
        const QString message = "  Due to security reasons , " + type + " file cannot be %1 !";
        QCOMPARE(filelist::blockedTypeMessage(path, BlockedAction::Open),
                 type.isEmpty() ? QString() : message.arg("opened"));
        QCOMPARE(filelist::blockedTypeMessage(path, BlockedAction::Delete),
                 type.isEmpty() ? QString() : message.arg("deleted"));
        QCOMPARE(filelist::blockedTypeMessage(path, BlockedAction::Open).isNull(), type.isEmpty());
        QCOMPARE(filelist::blockedTypeMessage(path, BlockedAction::Delete).isNull(), type.isEmpty());
    }

    void checkShowsTheRefusalWithTheCallersTitle() {
        ScriptedMessageBoxes boxes;
        QVERIFY(filelist::CheckBlockedType(boxes, nullptr, "/b/archive.rar", BlockedAction::Open,
                                           filelist::kShowTitle));
        QVERIFY(filelist::CheckBlockedType(boxes, nullptr, "/b/old.INI", BlockedAction::Delete,
                                           filelist::kSearcherTitle));
        QVERIFY(!filelist::CheckBlockedType(boxes, nullptr, "/c/picture.jpg", BlockedAction::Open,
                                            filelist::kShowTitle));
        QCOMPARE(
            described(boxes.shown),
            (QStringList{
                " Orvik File Searcher Message |  Due to security reasons , RAR file cannot be opened !|0 0 0",
                " Orvik Searcher Message |  Due to security reasons , an INI file cannot be deleted !|0 0 "
                "0"}));
    }

    void writesOneLineAnEntryEndedByCrLf() {
        QCOMPARE(filelist::writeFileList({"C:\\a.txt", "C:\\b c\\d.doc"}),
                 QByteArray("C:\\a.txt\r\nC:\\b c\\d.doc\r\n"));
        // UTF-8 without a byte-order mark; a name that is not UTF-8 goes back as its bytes.
        const QString odd = platform::decodePath("/m\xc3\xbcsic/caf\xe9.mp3");
        QCOMPARE(
            filelist::writeFileList({QStringLiteral("/home/\u00e9t\u00e9/r\u00e9sum\u00e9.pdf"), odd}),
            QByteArray("/home/\xc3\xa9t\xc3\xa9/r\xc3\xa9sum\xc3\xa9.pdf\r\n/m\xc3\xbcsic/caf\xe9.mp3\r\n"));
        QCOMPARE(filelist::writeFileList({QString(), QStringLiteral("x")}), QByteArray("\r\nx\r\n"));
    }

    void readsLinesLeniently_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QList<QByteArray>>("entries");
        using L = QList<QByteArray>;
        QTest::newRow("CR LF") << QByteArray("/a.txt\r\n/b c/d.doc\r\n") << L{"/a.txt", "/b c/d.doc"};
        QTest::newRow("lone CR") << QByteArray("/a\r/b\r") << L{"/a", "/b"};
        QTest::newRow("lone LF stays") << QByteArray("/a\nb\r\n/c\n") << L{"/a\nb", "/c\n"};
        QTest::newRow("no final end") << QByteArray("/a\r\n/b") << L{"/a", "/b"};
        QTest::newRow("trailing blanks only") << QByteArray("  /a b  \r\n/c\t \r\n") << L{"  /a b", "/c\t"};
        QTest::newRow("empty lines") << QByteArray("\r\n/a\r\n\r\n") << L{"", "/a", ""};
        QTest::newRow("CR CR LF") << QByteArray("/a\r\r\n/b") << L{"/a", "", "/b"};
        QTest::newRow("blank line") << QByteArray("   \r\n") << L{""};
        QTest::newRow("empty document") << QByteArray() << L{};
        QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf/a\r\n") << L{"/a"};
        QTest::newRow("only a mark") << QByteArray("\xef\xbb\xbf") << L{};
        QTest::newRow("a NUL ends the entry") << QByteArray("/a  \0b\r\n\0\r\n/c", 13) << L{"/a", "", "/c"};
        QTest::newRow("Windows line, this system's bytes")
            << QByteArray("/m\xc3\xbcsic/caf\xe9.mp3\r\n") << L{"/m\xc3\xbcsic/caf\xe9.mp3"};
    }
    void readsLinesLeniently() {
        QFETCH(QByteArray, document);
        QFETCH(QList<QByteArray>, entries);
        QCOMPARE(entriesOf(document), entries);
    }

    void readsWindowsDocumentsLongLinesAndManyCrs() {
        // A line of the Windows program: Windows-1252, including the bytes 0x80..0x9F; lines
        // are judged one by one.
        QCOMPARE(filelist::readFileListEntries(
                     "C:\\Docs\\caf\xe9 \x80\x96\x9f.txt\r\nD:\\\xc3\xa9\r\nD:\\\xe9\r\n"),
                 (QStringList{QStringLiteral("C:\\Docs\\caf\u00e9 \u20ac\u2013\u0178.txt"),
                              QStringLiteral("D:\\\u00e9"), QStringLiteral("D:\\\u00e9")}));
        // Broken UTF-8 of every kind counts as not UTF-8.
        for (const char* bad : {"x\xc0\xaf", "x\xed\xa0\x80", "x\xf4\x90\x80\x80", "x\xe2\x82", "x\xbf"}) {
            const QString got = filelist::readFileListEntries(bad).value(0);
            QVERIFY2(!got.isEmpty(), bad);
            for (QChar c : got)
                QVERIFY2(!c.isSurrogate() && c != QChar(0xFFFD), bad);
        }
        QByteArray longLine(4 << 20, 'a');
        longLine.append(QByteArray(1 << 20, ' '));
        const QList<QByteArray> got = entriesOf(longLine);
        QCOMPARE(got.size(), 1);
        QCOMPARE(got[0].size(), qsizetype(4 << 20));
        int count = 0;
        filelist::readFileList(QByteArray(1 << 20, '\r'),
                               [&count](QByteArrayView e) { count += e.isEmpty() ? 1 : 1000000; });
        QCOMPARE(count, 1 << 20);
    }

    void savesAndOpensAListAgain() {
        QTemporaryDir dir;
        search::ResultList list;
        list.setFolder("/data/m\xc3\xbcsic");
        list.appendName("bad\xff\xfe.mp3");
        for (const char* e : {"C:\\b c\\d.doc", "/with\nnewline", "/trailing  ", "/x//y", ""})
            list.append(QString::fromLatin1(e));
        const QString name = dir.filePath(QStringLiteral("list.f4u"));
        filelist::PlaylistResult saved = filelist::SavePlaylist(name, list);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(saved.entriesWithCr, 0);
        QCOMPARE(readBytes(name),
                 QByteArray("/data/m\xc3\xbcsic/bad\xff\xfe.mp3\r\nC:\\b c\\d.doc\r\n/with\nnewline\r\n"
                            "/trailing  \r\n/x//y\r\n\r\n"));
        search::ResultList back;
        back.append(QStringLiteral("/kept")); // opening adds to what the list holds
        const filelist::PlaylistResult opened = filelist::OpenPlaylist(name, back);
        QVERIFY(opened.ok);
        QCOMPARE(opened.entries, 6);
        QCOMPARE(back.rowCount(), 7); // the views hear of the entries
        QList<QByteArray> expected = QList<QByteArray>{"/kept"} + entriesOf(list);
        expected[4] = "/trailing";
        QCOMPARE(entriesOf(back), expected);

        // Entries longer than the blocks the save writes in, around one that fits.
        search::ResultList longOnes;
        const QByteArray huge = "/" + QByteArray(3 << 20, 'h');
        longOnes.appendBytes(huge);
        longOnes.appendBytes("/short");
        longOnes.appendBytes(huge + "\r");
        saved = filelist::SavePlaylist(name, longOnes);
        QVERIFY(saved.ok);
        QCOMPARE(saved.entriesWithCr, 1); // an entry holding a CR is saved and counted
        QCOMPARE(readBytes(name), huge + "\r\n/short\r\n" + huge + "\r\r\n");
        search::ResultList split;
        filelist::OpenPlaylist(name, split);
        QCOMPARE(split.count(), 4); // it loads back as two entries
        QCOMPARE(split.entryBytes(3), QByteArray());

        // Empty and unnamed documents add nothing; unreadable ones say why.
        writeBytes(dir.filePath(QStringLiteral("empty.f4u")), QByteArray());
        QVERIFY(filelist::OpenPlaylist(dir.filePath(QStringLiteral("empty.f4u")), split).ok);
        QVERIFY(filelist::OpenPlaylist(QString(), split).ok);
        for (const QString& bad : {dir.filePath(QStringLiteral("missing.f4u")), dir.path()}) {
            const filelist::PlaylistResult r = filelist::OpenPlaylist(bad, split);
            QVERIFY2(!r.ok && !r.error.isEmpty(), qPrintable(bad));
        }
        QCOMPARE(split.count(), 4);
    }

    void aDocumentReadInBlocksCutShortOrFailing() {
        // A reader that hands out the first bytes of a document, then the end of it (the
        // file was cut short while it loaded) or a read error.
        struct Cut : QIODevice {
            QByteArray data;
            qint64 stopAt = 0, at = 0;
            bool fails = false;
            qint64 readData(char* to, qint64 max) override {
                const qint64 n = std::min(max, stopAt - at);
                if (n > 0) {
                    std::memcpy(to, data.constData() + at, size_t(n));
                    at += n;
                    return n;
                }
                if (fails) setErrorString(QStringLiteral("Input/output error"));
                return fails ? -1 : 0;
            }
            qint64 writeData(const char*, qint64) override { return -1; }
            bool isSequential() const override { return true; }
        };
        // Read in blocks of every small size, a document gives the entries it gives whole:
        // lines and CR LF pairs across blocks, a mark only at the start, a long line.
        const QByteArray document =
            "\xef\xbb\xbf/a\r\n\r\r\n\xef\xbb\xbf/b  \r/c\0d\n" + QByteArray(40, 'x') + "\r\n/e";
        const QList<QByteArray> whole = entriesOf(document);
        for (qint64 block = 1; block <= 13; ++block) {
            Cut device;
            device.data = document;
            device.stopAt = document.size();
            QVERIFY(device.open(QIODevice::ReadOnly));
            search::ResultList list;
            QVERIFY(filelist::ReadPlaylist(device, list, block).ok);
            QCOMPARE(entriesOf(list), whole);
        }
        for (const bool fails : {false, true}) {
            Cut device;
            device.data = "/a\r\n/b\r\n/c\r\n";
            device.stopAt = 6; // "/a\r\n/b"
            device.fails = fails;
            QVERIFY(device.open(QIODevice::ReadOnly));
            search::ResultList list;
            list.append(QStringLiteral("/kept"));
            const filelist::PlaylistResult r = filelist::ReadPlaylist(device, list, 4);
            QCOMPARE(r.ok, !fails);
            QCOMPARE(r.error, fails ? QStringLiteral("Input/output error") : QString());
            // Cut short, the last line counts as it stands; a failed read leaves out a line it broke off.
            QCOMPARE(entriesOf(list),
                     (fails ? QList<QByteArray>{"/kept", "/a"} : QList<QByteArray>{"/kept", "/a", "/b"}));
        }
    }

    void failedSavesKeepTheOldDocument() {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("old.f4u"));
        const QByteArray old("/the/old/list.txt\r\n");
        writeBytes(name, old);
        search::ResultList list;
        list.setFolder("/a/rather/long/folder/name/for/the/test");
        for (int i = 0; i < 20000; ++i)
            list.appendName("file" + std::to_string(i) + ".txt");
        {
            const FileSizeLimit diskFull(64 * 1024); // the disk fills up half way through
            const filelist::PlaylistResult r = filelist::SavePlaylist(name, list);
            QVERIFY(!r.ok && !r.error.isEmpty());
        }
        QCOMPARE(readBytes(name), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("old.f4u")});
        // A folder as the name, and a folder that does not exist.
        QVERIFY(!filelist::SavePlaylist(dir.path(), list).ok);
        QVERIFY(QFileInfo(dir.path()).isDir());
        QVERIFY(!filelist::SavePlaylist(dir.filePath(QStringLiteral("no/such/x.f4u")), list).ok);
        // And a save that works replaces the document as a whole.
        QVERIFY(filelist::SavePlaylist(name, list).ok);
        const QByteArray now = readBytes(name);
        QVERIFY(now.startsWith("/a/rather/long/folder/name/for/the/test/file0.txt\r\n"));
        QVERIFY(now.endsWith("/file19999.txt\r\n"));
        QCOMPARE(now.count("\r\n"), 20000);
    }

    void deleteAsksOnlyAboutAUsableSelection_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("position");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("empty selection") << QString() << "3" << QStringList{};
        QTest::newRow("no entry chosen since the list was filled")
            << "a.txt"
            << "0" << QStringList{" File Selection Error |  Please select file from the file list!|0 0 0"};
        QTest::newRow("a DLL")
            << "a.dll"
            << "1"
            << QStringList{
                   " Orvik Searcher Message |  Due to security reasons , DLL file cannot be deleted !|0 0 0"};
        QTest::newRow("an EXE in capitals") << "SETUP.EXE"
                                            << "2"
                                            << QStringList{" Orvik Searcher Message |  Due to security "
                                                           "reasons , an EXE file cannot be deleted !|0 0 0"};
    }
    void deleteAsksOnlyAboutAUsableSelection() {
        QFETCH(QString, name);
        QFETCH(QString, position);
        QFETCH(QStringList, boxes);
        testsupport::TreeBuilder tree;
        if (!name.isEmpty()) tree.file(name.toUtf8());
        const QString entry = name.isEmpty() ? QString() : tree.root() + '/' + name;
        ScriptedMessageBoxes shown;
        QCOMPARE(filelist::DeleteSelectedFile(shown, nullptr, entry, position), DeleteOutcome::NotAsked);
        QCOMPARE(described(shown.shown), boxes);
        if (!name.isEmpty()) QVERIFY(QFile::exists(entry));
    }

    void deleteRemovesExactlyTheNamedFileAfterYes() {
        testsupport::TreeBuilder tree;
        tree.file("notes.txt");
        const QString entry = tree.root() + QStringLiteral("/notes.txt");
        ScriptedMessageBoxes boxes;
        boxes.answers = {MessageBoxRequest::Answer::No};
        QCOMPARE(filelist::DeleteSelectedFile(boxes, nullptr, entry, "1"), DeleteOutcome::Kept);
        QVERIFY(QFile::exists(entry));
        QCOMPARE(filelist::DeleteSelectedFile(boxes, nullptr, entry, "1"), DeleteOutcome::Deleted);
        QVERIFY(!QFile::exists(entry));
        const QString question =
            "Delete Selected File !| Are you sure, you want to delete this file?|1 4 2"; // Yes and No, a
                                                                                         // question, No by
                                                                                         // default
        QCOMPARE(described(boxes.shown),
                 (QStringList{question, question,
                              "File Delete Message|Your selected file has been deleted forever!|0 1 0"}));

        // Only the named file, by its real bytes: wildcards taken literally, a link itself.
        const QByteArray folder = tree.rootBytes() + '/';
        for (const QByteArray& name : {QByteArray("caf\xe9 \xff.txt"), QByteArray("*.txt"),
                                       QByteArray("-r  old .txt"), QByteArray("link.txt")}) {
            for (const char* other : {"neighbour.txt", "caf.txt"})
                tree.file(other);
            if (name == "link.txt")
                tree.link("neighbour.txt", "link.txt");
            else
                tree.file(name);
            QCOMPARE(filelist::DeleteSelectedFile(boxes, nullptr, platform::decodePath(folder + name), "2"),
                     DeleteOutcome::Deleted);
            QVERIFY2(!exists(folder + name), name.constData());
            QVERIFY(exists(folder + "neighbour.txt") && exists(folder + "caf.txt"));
        }
        // A file that vanished, or a folder, is reported and kept.
        QVERIFY(QDir(tree.root()).mkpath(QStringLiteral("gone.txt/inside")));
        for (const QString& e : {tree.root() + "/vanished.txt", tree.root() + "/gone.txt"}) {
            boxes.shown.clear();
            QCOMPARE(filelist::DeleteSelectedFile(boxes, nullptr, e, "1"), DeleteOutcome::Failed);
            QCOMPARE(boxes.shown.size(), 2);
            QVERIFY(boxes.shown[1].text.startsWith(QStringLiteral("The selected file could not be deleted")));
            QCOMPARE(boxes.shown[1].title, QStringLiteral("File Delete Message"));
            QCOMPARE(boxes.shown[1].icon, MessageBoxRequest::Icon::Warning);
        }
        QVERIFY(QFile::exists(tree.root() + "/gone.txt/inside"));
        ::unlink((folder + "caf\xe9 \xff.txt").constData());
    }
};

QTEST_GUILESS_MAIN(TestFileList)
#include "tst_filelist.moc"
