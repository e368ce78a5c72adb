// The result list's store: every entry kept and given back byte for byte, folders
// shared, batches announced to views, and appends that survive a Clear in between.
#include "platform/PathCodec.h"
#include "search/ResultList.h"

#include <QSignalSpy>
#include <QTest>

class TestResultList : public QObject {
    Q_OBJECT
private slots:
    void keepsEveryEntryPastTheOldLimit();
    void givesBackTextAndBytes();
    void keepsEmptyEntriesAnywhere();
    void announcesAppendedEntriesInBatches();
    void walkAppendsSurviveClearAndTextEntries();
    void removesEntries();
};

void TestResultList::keepsEveryEntryPastTheOldLimit() {
    search::ResultList list;
    for (int folder = 0; folder < 100; ++folder) {
        const std::string path = "/data/f" + std::to_string(folder);
        list.setFolder(path);
        for (int i = 0; i < 1000; ++i) {
            const std::string name = "file" + std::to_string(i) + ".txt";
            list.appendName(name);
        }
    }
    list.flush();
    QCOMPARE(list.count(), 100000);
    QCOMPARE(list.rowCount(), 100000);
    QCOMPARE(list.entry(0), QStringLiteral("/data/f0/file0.txt"));
    QCOMPARE(list.entry(32767), QStringLiteral("/data/f32/file767.txt"));
    QCOMPARE(list.entry(99999), QStringLiteral("/data/f99/file999.txt"));
    QCOMPARE(list.data(list.index(70001)).toString(), QStringLiteral("/data/f70/file1.txt"));
    QCOMPARE(list.entry(100000), QString());
    QCOMPARE(list.entry(-1), QString());
}

void TestResultList::givesBackTextAndBytes() {
    search::ResultList list;
    list.setFolder("/");
    list.appendName("root.txt"); // the root is not doubled
    list.setFolder("/m\xc3\xbcsic");
    list.appendName("bad\xff.mp3");
    list.append(QStringLiteral("/docs/notes.txt"));
    list.append(QStringLiteral("C:\\Docs\\old.txt")); // an entry from a Windows list document
    list.append(QStringLiteral("relative.txt"));
    list.flush();
    QCOMPARE(list.entry(0), QStringLiteral("/root.txt"));
    QCOMPARE(list.entryBytes(1), QByteArray("/m\xc3\xbcsic/bad\xff.mp3"));
    QCOMPARE(list.entry(1), QString::fromUtf8("/m\xc3\xbcsic/bad") + QChar(0xDCFF) + QStringLiteral(".mp3"));
    QCOMPARE(list.entry(2), QStringLiteral("/docs/notes.txt"));
    QCOMPARE(list.entry(3), QStringLiteral("C:\\Docs\\old.txt"));
    QCOMPARE(list.entry(4), QStringLiteral("relative.txt"));
    // Text given back as an entry leads to the same bytes.
    list.append(list.entry(1));
    QCOMPARE(list.entryBytes(5), list.entryBytes(1));
}

void TestResultList::keepsEmptyEntriesAnywhere() {
    // A document's empty line is an empty entry, also as the very first one.
    search::ResultList list;
    list.appendBytes("");
    list.append(QStringLiteral("/a/"));
    list.appendBytes("/b");
    list.appendBytes("");
    list.clear();
    list.appendBytes("");
    const std::string longName(2 << 20, 'x'); // longer than the store's blocks
    list.appendBytes(QByteArrayView(longName.data(), qsizetype(longName.size())));
    list.appendBytes("");
    list.flush();
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.entryBytes(0), QByteArray());
    QCOMPARE(list.entryBytes(1).size(), qsizetype(longName.size()));
    QCOMPARE(list.entry(2), QString());
    QCOMPARE(list.data(list.index(0)).toString(), QString());
}

void TestResultList::announcesAppendedEntriesInBatches() {
    search::ResultList list;
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    list.setFolder("/a");
    list.appendName("1");
    list.appendName("2");
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.rowCount(), 0); // views hear of them at the next flush
    list.flush();
    list.flush(); // nothing new: no announcement
    list.appendName("3");
    list.flush();
    QCOMPARE(inserted.size(), 2);
    QCOMPARE(inserted[0].at(1).toInt(), 0);
    QCOMPARE(inserted[0].at(2).toInt(), 1);
    QCOMPARE(inserted[1].at(1).toInt(), 2);
    QCOMPARE(list.rowCount(), 3);
}

void TestResultList::walkAppendsSurviveClearAndTextEntries() {
    search::ResultList list;
    list.setFolder("/walk/here");
    list.appendName("one");
    list.clear(); // the user clears the list while the walk is inside /walk/here
    list.appendName("two");
    list.append(QStringLiteral("/elsewhere/doc.txt")); // or opens a document
    list.appendName("three");
    list.flush();
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.entry(0), QStringLiteral("/walk/here/two"));
    QCOMPARE(list.entry(1), QStringLiteral("/elsewhere/doc.txt"));
    QCOMPARE(list.entry(2), QStringLiteral("/walk/here/three"));
}

void TestResultList::removesEntries() {
    search::ResultList list;
    for (const char* p : {"/a/1", "/a/2", "/b/3"})
        list.append(QString::fromLatin1(p));
    list.flush();
    QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
    list.removeEntry(1);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.entry(1), QStringLiteral("/b/3"));
    list.removeEntry(7); // out of range: nothing
    QCOMPARE(list.count(), 2);
    list.clear();
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.rowCount(), 0);
}

QTEST_GUILESS_MAIN(TestResultList)
#include "tst_resultlist.moc"
