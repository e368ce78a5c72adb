// The blocked types and the file list document without a window: which entries are
// refused and with what message, the document's exact bytes, lenient reading of
// documents from elsewhere, and saves that either replace a document whole or leave it be.
#include "filelist/BlockedTypes.h"
#include "filelist/FileListDocument.h"
#include "platform/PathCodec.h"
#include "search/ResultList.h"
#include "support/FakeServices.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>


using filelist::BlockedAction;

namespace {

QByteArray readBytes(const QString& name) {
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<unreadable>");
    return f.readAll();
}

void writeBytes(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

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

} // namespace

class TestFileList : public QObject {
    Q_OBJECT
private slots:
    void blockedTypesLookAtTheLastThreeCharacters_data();
    void blockedTypesLookAtTheLastThreeCharacters();
    void checkShowsTheRefusalWithTheCallersTitle();

    void writesOneLineAnEntryEndedByCrLf();
    void readsLinesLeniently_data();
    void readsLinesLeniently();
    void readsWindowsDocumentsAndKeepsThisSystemsBytes();
    void readsLongLinesAndManyCrs();

    void savesAndOpensAListAgain();
    void openAddsToTheListAndReportsWhatItCannotRead();
    void failedSavesKeepTheOldDocument();
};

// --- blocked types -------------------------------------------------------------------

void TestFileList::blockedTypesLookAtTheLastThreeCharacters_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("open");   // empty: passes
    QTest::addColumn<QString>("remove"); // the delete refusal
    const auto row = [](const char* name, const char* path, const char* open, const char* remove) {
        QTest::newRow(name) << QString::fromUtf8(path) << QString::fromLatin1(open)
                            << QString::fromLatin1(remove);
    };
    row("EXE any case", "C:\\WINDOWS\\notepad.EXE",
        "  Due to security reasons , an EXE file cannot be opened !",
        "  Due to security reasons , an EXE file cannot be deleted !");
    row("exe without a dot", "/opt/myexe", "  Due to security reasons , an EXE file cannot be opened !",
        "  Due to security reasons , an EXE file cannot be deleted !");
    row("exe inside the name", "C:\\a\\setup.exe.txt", "", "");
    row("exe as a folder", "C:\\exe\\notes.txt", "", "");
    row("INI alone", "ini", "  Due to security reasons , an INI file cannot be opened !",
        "  Due to security reasons , an INI file cannot be deleted !");
    row("SK2", "/skins/blue.Sk2", "  Due to security reasons , SK2 file cannot be opened !",
        "  Due to security reasons , SK2 file cannot be deleted !");
    row("DLL", "/w/sys/kernel32.dll", "  Due to security reasons , DLL file cannot be opened !",
        "  Due to security reasons , DLL file cannot be deleted !");
    row("OCX", "/w/ctl.OCX", "  Due to security reasons , an OCX file cannot be opened !",
        "  Due to security reasons , an OCX file cannot be deleted !");
    row("ZIP mixed case", "C:\\DATA\\report.Zip", "  Due to security reasons , ZIP file cannot be opened !",
        "  Due to security reasons , ZIP file cannot be deleted !");
    row("RAR", "C:\\b\\archive.rar", "  Due to security reasons , RAR file cannot be opened !",
        "  Due to security reasons , RAR file cannot be deleted !");
    row("picture", "C:\\c\\picture.jpg", "", "");
    row("no extension", "C:\\c\\readme", "", "");
    row("two characters", "xe", "", "");
    row("empty", "", "", "");
    row("blank after the type", "/a/b.exe ", "", "");
    row("non-ASCII before the type", "/d/\xc3\xa9t\xc3\xa9.zip",
        "  Due to security reasons , ZIP file cannot be opened !",
        "  Due to security reasons , ZIP file cannot be deleted !");
}

void TestFileList::blockedTypesLookAtTheLastThreeCharacters() {
    QFETCH(QString, path);
    QFETCH(QString, open);
    QFETCH(QString, remove);
    const QString gotOpen = filelist::blockedTypeMessage(path, BlockedAction::Open);
    const QString gotDelete = filelist::blockedTypeMessage(path, BlockedAction::Delete);
    QCOMPARE(gotOpen.isNull(), open.isEmpty());
    QCOMPARE(gotDelete.isNull(), remove.isEmpty());
    QCOMPARE(gotOpen, open.isEmpty() ? QString() : open);
    QCOMPARE(gotDelete, remove.isEmpty() ? QString() : remove);
}

void TestFileList::checkShowsTheRefusalWithTheCallersTitle() {
    testsupport::ScriptedMessageBoxes boxes;
    using platform::MessageBoxRequest;
    QVERIFY(filelist::CheckBlockedType(boxes, nullptr, QStringLiteral("/b/archive.rar"), BlockedAction::Open,
                                       QString::fromLatin1(filelist::kShowTitle)));
    QVERIFY(filelist::CheckBlockedType(boxes, nullptr, QStringLiteral("/b/old.INI"), BlockedAction::Delete,
                                       QString::fromLatin1(filelist::kSearcherTitle)));
    QVERIFY(!filelist::CheckBlockedType(boxes, nullptr, QStringLiteral("/c/picture.jpg"), BlockedAction::Open,
                                        QString::fromLatin1(filelist::kShowTitle)));
    QCOMPARE(boxes.shown.size(), 2);
    QCOMPARE(boxes.shown[0].text, QStringLiteral("  Due to security reasons , RAR file cannot be opened !"));
    QCOMPARE(boxes.shown[0].title, QStringLiteral(" Orvik File Searcher Message "));
    QCOMPARE(boxes.shown[1].text,
             QStringLiteral("  Due to security reasons , an INI file cannot be deleted !"));
    QCOMPARE(boxes.shown[1].title, QStringLiteral(" Orvik Searcher Message "));
    for (const MessageBoxRequest& box : boxes.shown) {
        QCOMPARE(box.buttons, MessageBoxRequest::Buttons::Ok);
        QCOMPARE(box.icon, MessageBoxRequest::Icon::None);
    }
}

// --- the document's bytes --------------------------------------------------------------

void TestFileList::writesOneLineAnEntryEndedByCrLf() {
    QCOMPARE(filelist::writeFileList({QStringLiteral("C:\\a.txt"), QStringLiteral("C:\\b c\\d.doc")}),
             QByteArray("C:\\a.txt\r\nC:\\b c\\d.doc\r\n"));
    // UTF-8 without a byte-order mark; a name that is not UTF-8 goes back as its bytes.
    const QString odd = platform::decodePath("/m\xc3\xbcsic/caf\xe9.mp3");
    QCOMPARE(filelist::writeFileList({QStringLiteral("/home/\u00e9t\u00e9/r\u00e9sum\u00e9.pdf"), odd}),
             QByteArray("/home/\xc3\xa9t\xc3\xa9/r\xc3\xa9sum\xc3\xa9.pdf\r\n/m\xc3\xbcsic/caf\xe9.mp3\r\n"));
    QCOMPARE(filelist::writeFileList({QString(), QStringLiteral("x")}), QByteArray("\r\nx\r\n"));
}

void TestFileList::readsLinesLeniently_data() {
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
    QTest::newRow("NUL kept") << QByteArray("/a\0b\r\n", 6) << L{QByteArray("/a\0b", 4)};
}

void TestFileList::readsLinesLeniently() {
    QFETCH(QByteArray, document);
    QFETCH(QList<QByteArray>, entries);
    QCOMPARE(entriesOf(document), entries);
}

void TestFileList::readsWindowsDocumentsAndKeepsThisSystemsBytes() {
    // A line of the Windows program: Windows-1252, including the bytes 0x80..0x9F.
    const QByteArray windows("C:\\Docs\\caf\xe9 \x80\x96\x9f.txt\r\nC:\\ok.txt\r\n");
    QCOMPARE(filelist::readFileListEntries(windows),
             (QStringList{QStringLiteral("C:\\Docs\\caf\u00e9 \u20ac\u2013\u0178.txt"),
                          QStringLiteral("C:\\ok.txt")}));
    // Lines are judged one by one: valid UTF-8 next to a Windows-1252 line.
    QCOMPARE(filelist::readFileListEntries("D:\\\xc3\xa9\r\nD:\\\xe9\r\n"),
             (QStringList{QStringLiteral("D:\\\u00e9"), QStringLiteral("D:\\\u00e9")}));
    // A path of this system whose name is not UTF-8 keeps its bytes.
    QCOMPARE(entriesOf("/m\xc3\xbcsic/caf\xe9.mp3\r\n"), QList<QByteArray>{"/m\xc3\xbcsic/caf\xe9.mp3"});
    // Broken UTF-8 of every kind counts as not UTF-8.
    for (const char* bad : {"x\xc0\xaf", "x\xed\xa0\x80", "x\xf4\x90\x80\x80", "x\xe2\x82", "x\xbf"}) {
        const QString got = filelist::readFileListEntries(bad).value(0);
        QVERIFY2(!got.isEmpty(), bad);
        for (QChar c : got)
            QVERIFY2(!c.isSurrogate() && c != QChar(0xFFFD), bad);
    }
}

void TestFileList::readsLongLinesAndManyCrs() {
    // Runs of blanks, a long line and a document of CRs only: each entry seen once.
    QByteArray longLine(4 << 20, 'a');
    longLine.append(QByteArray(1 << 20, ' '));
    QList<QByteArray> got = entriesOf(longLine);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got[0].size(), qsizetype(4 << 20));
    const QByteArray crs(1 << 20, '\r');
    int count = 0;
    filelist::readFileList(crs, [&count](QByteArrayView e) { count += e.isEmpty() ? 1 : 1000000; });
    QCOMPARE(count, 1 << 20);
}

// --- on disk ---------------------------------------------------------------------------

void TestFileList::savesAndOpensAListAgain() {
    QTemporaryDir dir;
    search::ResultList list;
    list.setFolder("/data/m\xc3\xbcsic");
    list.appendName("bad\xff\xfe.mp3");
    list.append(QStringLiteral("C:\\b c\\d.doc"));
    list.append(QStringLiteral("/with\nnewline"));
    list.append(QStringLiteral("/trailing  "));
    list.append(QStringLiteral("/x//y"));
    list.append(QString());
    const QString name = dir.filePath(QStringLiteral("list.f4u"));
    filelist::PlaylistResult saved = filelist::SavePlaylist(name, list);
    QVERIFY2(saved.ok, qPrintable(saved.error));
    QCOMPARE(saved.entriesWithCr, 0);
    QCOMPARE(readBytes(name),
             QByteArray("/data/m\xc3\xbcsic/bad\xff\xfe.mp3\r\nC:\\b c\\d.doc\r\n/with\nnewline\r\n"
                        "/trailing  \r\n/x//y\r\n\r\n"));

    search::ResultList back;
    const filelist::PlaylistResult opened = filelist::OpenPlaylist(name, back);
    QVERIFY(opened.ok);
    QCOMPARE(opened.entries, 6);
    QCOMPARE(back.rowCount(), 6); // the views hear of the entries
    QList<QByteArray> expected = entriesOf(list);
    expected[3] = "/trailing";
    QCOMPARE(entriesOf(back), expected);

    // Entries longer than the blocks the save writes in, around one that fits.
    search::ResultList longOnes;
    const QByteArray huge = "/" + QByteArray(3 << 20, 'h');
    longOnes.appendBytes(huge);
    longOnes.appendBytes("/short");
    longOnes.appendBytes(huge + "\r");
    saved = filelist::SavePlaylist(name, longOnes);
    QVERIFY(saved.ok);
    QCOMPARE(saved.entriesWithCr, 1);
    QCOMPARE(readBytes(name), huge + "\r\n/short\r\n" + huge + "\r\r\n");

    // An entry holding a CR is saved and counted: it will load back as two entries.
    list.append(QStringLiteral("/odd\rname"));
    saved = filelist::SavePlaylist(name, list);
    QVERIFY(saved.ok);
    QCOMPARE(saved.entriesWithCr, 1);
    search::ResultList split;
    filelist::OpenPlaylist(name, split);
    QCOMPARE(split.count(), 8);
    QCOMPARE(split.entry(6), QStringLiteral("/odd"));
}

void TestFileList::openAddsToTheListAndReportsWhatItCannotRead() {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("two.F4U"));
    writeBytes(name, "/a\r\n/b");
    search::ResultList list;
    list.append(QStringLiteral("/kept"));
    QVERIFY(filelist::OpenPlaylist(name, list).ok);
    QCOMPARE(entriesOf(list), (QList<QByteArray>{"/kept", "/a", "/b"}));

    writeBytes(dir.filePath(QStringLiteral("empty.f4u")), QByteArray());
    QVERIFY(filelist::OpenPlaylist(dir.filePath(QStringLiteral("empty.f4u")), list).ok);
    QVERIFY(filelist::OpenPlaylist(QString(), list).ok);
    QCOMPARE(list.count(), 3);

    for (const QString& bad : {dir.filePath(QStringLiteral("missing.f4u")), dir.path()}) {
        const filelist::PlaylistResult r = filelist::OpenPlaylist(bad, list);
        QVERIFY2(!r.ok, qPrintable(bad));
        QVERIFY(!r.error.isEmpty());
    }
    QCOMPARE(list.count(), 3);
}

void TestFileList::failedSavesKeepTheOldDocument() {
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
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
    }
    QCOMPARE(readBytes(name), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.f4u")});

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

QTEST_GUILESS_MAIN(TestFileList)
#include "tst_filelist.moc"
