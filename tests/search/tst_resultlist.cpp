// The result list: its store keeps every entry byte for byte, announces batches to views and survives
// a Clear in between; its control places and finds rows at any scroll position, moves the selection by
// key, click and typing, lets assistive technology hear the entries and keeps its scroll bars with them.
#include "platform/PathCodec.h"
#include "search/ResultList.h"
#include "search/ResultListView.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>

namespace {
QStringList entries(const search::ResultList& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.entry(i);
    return out;
}
struct Fixture {
    search::ResultList list;
    search::ResultListView view{&list};
    explicit Fixture(int entries) {
        list.setFolder("/data/photos");
        for (int i = 0; i < entries; ++i) list.appendName("picture-" + std::to_string(i) + ".jpg");
        list.flush();
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    QRect rect(int row) const { return view.visualRect(list.index(row)); }
    int rowHeight() const { return rect(0).height(); }
};
} // namespace

class TestResultList : public QObject {
    Q_OBJECT
private slots:
    void keepsEveryEntryAsTextAndBytes() {
        search::ResultList list;
        for (int folder = 0; folder < 100; ++folder) {
            list.setFolder("/data/f" + std::to_string(folder));
            for (int i = 0; i < 1000; ++i) list.appendName("file" + std::to_string(i) + ".txt");
        }
        list.flush();
        QCOMPARE(list.count() + list.rowCount(), 200000);
        QCOMPARE(list.entry(0) + list.entry(32767) + list.data(list.index(70001)).toString() + list.entry(99999) + list.entry(100000) +
                     list.entry(-1), "/data/f0/file0.txt/data/f32/file767.txt/data/f70/file1.txt/data/f99/file999.txt");

        list.clear();
        list.setFolder("/"), list.appendName("root.txt"); // the root is not doubled
        list.setFolder("/m\xc3\xbcsic"), list.appendName("bad\xff.mp3");
        list.append("C:\\Docs\\old.txt"); // an entry from a Windows list document
        list.append("relative.txt"), list.appendBytes(""), list.flush();
        QCOMPARE(entries(list), (QStringList{"/root.txt", QString::fromUtf8("/m\xc3\xbcsic/bad") + QChar(0xDCFF) + ".mp3",
                                             "C:\\Docs\\old.txt", "relative.txt", ""}));
        list.append(list.entry(1)); // text given back as an entry leads to the same bytes
        QCOMPARE(list.entryBytes(1) + '|' + list.entryBytes(5), "/m\xc3\xbcsic/bad\xff.mp3|/m\xc3\xbcsic/bad\xff.mp3");

        list.clear(); // empty entries anywhere, also first, and entries longer than the store's blocks
        list.appendBytes(""), list.appendBytes(QByteArray(2 << 20, 'x')), list.appendBytes(""), list.flush();
        QCOMPARE(list.entryBytes(0) + '|' + QByteArray::number(list.entryBytes(1).size()) + '|' + list.entryBytes(2), "|2097152|");
    }

    void announcesBatchesAndSurvivesClearAndRemovals() {
        search::ResultList list;
        QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
        list.setFolder("/walk/here");
        list.appendName("1"), list.appendName("2");
        QVERIFY(list.count() == 2 && list.rowCount() == 0); // views hear of them at the next flush
        list.flush(), list.flush(); // nothing new: no announcement
        list.appendName("3"), list.flush();
        QCOMPARE(inserted.size(), 2);
        QCOMPARE(inserted[0].mid(1) + inserted[1].mid(1), (QList<QVariant>{0, 1, 2, 2}));

        list.clear(); // the user clears the list while the walk is inside /walk/here
        list.appendName("two");
        list.append("/elsewhere/doc.txt"); // or opens a document
        list.appendName("three"), list.flush();
        QCOMPARE(entries(list), (QStringList{"/walk/here/two", "/elsewhere/doc.txt", "/walk/here/three"}));
        QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
        list.removeEntry(1), list.removeEntry(7); // out of range: nothing
        QVERIFY(removed.size() == 1 && entries(list) == QStringList({"/walk/here/two", "/walk/here/three"}));
        list.clear();
        QCOMPARE(list.count() + list.rowCount(), 0);
    }

    void placesAndFindsRowsAnywhere() {
        Fixture f(200000);
        const int h = f.rowHeight();
        QVERIFY(h > 0);
        QCOMPARE(f.view.verticalScrollBar()->maximum(), 200000 * h - f.view.viewport()->height());
        const QRect viewport = f.view.viewport()->rect();
        for (const int row : {0, 1, 99999, 123457, 199999}) {
            for (const auto hint : {QAbstractItemView::PositionAtCenter, QAbstractItemView::EnsureVisible, QAbstractItemView::PositionAtTop,
                                    QAbstractItemView::PositionAtBottom}) {
                f.view.scrollTo(f.list.index(row), hint);
                const QRect r = f.rect(row);
                QVERIFY2(viewport.contains(r.topLeft()) && viewport.bottom() >= r.bottom(), qPrintable(QString("row %1 hint %2").arg(row).arg(int(hint))));
                QCOMPARE(f.view.indexAt(r.center()).row(), row);
                QCOMPARE(f.view.indexAt(r.topLeft()).row(), row);
                QCOMPARE(f.view.indexAt(r.bottomLeft() + QPoint(0, 1)).row(), row + 1 < 200000 ? row + 1 : -1);
            }
        }
        f.view.scrollTo(f.list.index(0));
        QCOMPARE(f.view.verticalScrollBar()->value(), 0);
        QCOMPARE(f.view.indexAt(QPoint(5, viewport.bottom())).row(), viewport.bottom() / h);
    }

    void keysAndClicksMoveTheSelection() {
        Fixture f(5000);
        QSignalSpy clicked(&f.view, &search::ResultListView::Click);
        QSignalSpy doubleClicked(&f.view, &search::ResultListView::DblClick);
        // A click anywhere in a row selects that row: its top and bottom pixel rows too.
        for (const int row : {2, 4, 3}) {
            const QRect r = f.rect(row);
            for (const QPoint at : {r.topLeft() + QPoint(3, 0), r.bottomRight() - QPoint(3, 0), r.center()}) {
                f.view.setListIndex(0);
                QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, at);
                QCOMPARE(f.view.ListIndex(), row);
            }
        }
        f.view.setListIndex(-1), clicked.clear();
        QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.rect(2).center());
        const qsizetype clicks = clicked.size();
        QTest::mouseDClick(f.view.viewport(), Qt::LeftButton, {}, f.rect(2).center());
        QVERIFY(clicks == 1 && doubleClicked.size() == 1);

        const int page = f.view.viewport()->height() / f.rowHeight() - 1;
        const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Down, 3}, {Qt::Key_Up, 2}, {Qt::Key_End, 4999}, {Qt::Key_Down, 4999},
                                                 {Qt::Key_PageUp, 4999 - page}, {Qt::Key_Home, 0}, {Qt::Key_Up, 0}, {Qt::Key_PageDown, page}};
        for (const auto& [key, row] : steps) {
            QTest::keyClick(&f.view, key);
            QCOMPARE(f.view.ListIndex(), row);
            QVERIFY(f.view.viewport()->rect().contains(f.rect(row)));
        }
        f.view.setListIndex(4321); // scrolled to
        QVERIFY(f.view.indexAt(f.rect(4321).center()).row() == 4321 && f.view.viewport()->rect().contains(f.rect(4321)));
        f.view.setListIndex(-1);
        QCOMPARE(f.view.ListIndex(), -1);

        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&f.view);
        QVERIFY(list->role() == QAccessible::List && list->childCount() == 5000);
        QCOMPARE(list->child(4321)->text(QAccessible::Name), f.list.entry(4321));
        QCOMPARE(list->child(4321)->rect(), QRect(f.view.viewport()->mapToGlobal(f.rect(4321).topLeft()), f.rect(4321).size()));
    }

    void typingFindsTheNextFileNameStartingWithIt() {
        Fixture f(0);
        f.list.setFolder("/data/Bern");
        for (const char* name : {"alpha.txt", "Beta.txt", "gamma.txt", "bravo.txt", "beta-2.txt"}) f.list.appendName(name);
        f.list.append("/b-folder/zeta.txt"); // a whole path: its folder is no file name
        f.list.append(QString::fromUtf8("/x/\xc3\x84rger.txt"));
        f.list.flush();
        const auto type = [&](const QString& keys) {
            QTest::qWait(QGuiApplication::styleHints()->keyboardInputInterval() + 50); // a pause: a new prefix
            for (const QChar c : keys) {                                              // each as the keyboard sends it
                QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
                QApplication::sendEvent(&f.view, &press);
            }
            return f.view.ListIndex();
        };
        // From the top without regard to case, the next one, a prefix typed together (the selected entry
        // no longer matches), round to the top again, nothing starts so (the selection stays).
        QCOMPARE(QList<int>({type("b"), type("b"), type("be"), type("b"), type("z"), type("q"), type(u"\u00e4"_qs)}),
                 QList<int>({1, 3, 4, 1, 5, 5, 6}));
        f.view.setListIndex(0);
        QCOMPARE(type("bet"), 1);
        QCOMPARE(f.list.findFileName("BETA-", 2), 4);
        QCOMPARE(f.list.findFileName("bern", 0), -1);
    }

    void scrollBarsFollowTheEntries() {
        Fixture f(10);
        const int h = f.rowHeight();
        QCOMPARE(f.view.verticalScrollBar()->maximum(), 0);
        for (int i = 0; i < 90; ++i) f.list.appendName("more.jpg");
        QCOMPARE(f.view.verticalScrollBar()->maximum(), 0); // not yet announced
        f.list.flush();
        QCOMPARE(f.view.verticalScrollBar()->maximum(), 100 * h - f.view.viewport()->height());
        f.list.removeEntry(0);
        QCOMPARE(f.view.verticalScrollBar()->maximum(), 99 * h - f.view.viewport()->height());
        f.list.clear();
        QCOMPARE(f.view.verticalScrollBar()->maximum(), 0);
    }
};

QTEST_MAIN(TestResultList)
#include "tst_resultlist.moc"
