// The result list control over many entries: where rows are and which row is where at
// any scroll position, the keyboard and mouse moving the selection, assistive technology
// hearing a list of the entries, the scroll bars following appends, removals and wide
// entries.
#include "search/ResultList.h"
#include "search/ResultListView.h"

#include <QAccessible>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

class TestResultListView : public QObject {
    Q_OBJECT
private slots:
    void placesAndFindsRowsAnywhere();
    void keysAndClicksMoveTheSelection();
    void scrollBarsFollowTheEntries();
};

namespace {

struct Fixture {
    search::ResultList list;
    search::ResultListView view{&list};
    explicit Fixture(int entries) {
        list.setFolder("/data/photos");
        for (int i = 0; i < entries; ++i)
            list.appendName("picture-" + std::to_string(i) + ".jpg");
        list.flush();
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    int rowHeight() const { return view.visualRect(list.index(0)).height(); }
};

} // namespace

void TestResultListView::placesAndFindsRowsAnywhere() {
    Fixture f(200000);
    const int h = f.rowHeight();
    QVERIFY(h > 0);
    QCOMPARE(f.view.verticalScrollBar()->maximum(), 200000 * h - f.view.viewport()->height());
    const QRect viewport = f.view.viewport()->rect();
    for (const int row : {0, 1, 99999, 123457, 199999}) {
        for (const auto hint : {QAbstractItemView::PositionAtCenter, QAbstractItemView::EnsureVisible,
                                QAbstractItemView::PositionAtTop, QAbstractItemView::PositionAtBottom}) {
            f.view.scrollTo(f.list.index(row), hint);
            const QRect r = f.view.visualRect(f.list.index(row));
            QVERIFY2(viewport.contains(r.topLeft()) && viewport.bottom() >= r.bottom(),
                     qPrintable(QStringLiteral("row %1 hint %2").arg(row).arg(int(hint))));
            QCOMPARE(f.view.indexAt(r.center()).row(), row);
            QCOMPARE(f.view.indexAt(r.topLeft()).row(), row);
            QCOMPARE(f.view.indexAt(r.bottomLeft() + QPoint(0, 1)).row(), row + 1 < 200000 ? row + 1 : -1);
        }
    }
    f.view.scrollTo(f.list.index(0));
    QCOMPARE(f.view.verticalScrollBar()->value(), 0);
    QCOMPARE(f.view.indexAt(QPoint(5, viewport.bottom())).row(), viewport.bottom() / h);
}

void TestResultListView::keysAndClicksMoveTheSelection() {
    Fixture f(5000);
    QSignalSpy clicked(&f.view, &search::ResultListView::Click);
    QSignalSpy doubleClicked(&f.view, &search::ResultListView::DblClick);
    const QRect third = f.view.visualRect(f.list.index(2));
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(f.view.ListIndex(), 2);
    QCOMPARE(clicked.size(), 1);
    QTest::mouseDClick(f.view.viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(doubleClicked.size(), 1);

    const int page = f.view.viewport()->height() / f.rowHeight() - 1;
    const struct {
        Qt::Key key;
        int row;
    } steps[] = {{Qt::Key_Down, 3}, {Qt::Key_Up, 2}, {Qt::Key_End, 4999}, {Qt::Key_Down, 4999},
                 {Qt::Key_PageUp, 4999 - page}, {Qt::Key_Home, 0}, {Qt::Key_Up, 0}, {Qt::Key_PageDown, page}};
    for (const auto& s : steps) {
        QTest::keyClick(&f.view, s.key);
        QCOMPARE(f.view.ListIndex(), s.row);
        QVERIFY(f.view.viewport()->rect().contains(f.view.visualRect(f.list.index(s.row))));
    }
    f.view.setListIndex(4321);
    QCOMPARE(f.view.indexAt(f.view.visualRect(f.list.index(4321)).center()).row(), 4321);
    QVERIFY(f.view.viewport()->rect().contains(f.view.visualRect(f.list.index(4321))));
    f.view.setListIndex(-1);
    QCOMPARE(f.view.ListIndex(), -1);

    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&f.view);
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->childCount(), 5000);
    QCOMPARE(list->child(4321)->text(QAccessible::Name), f.list.entry(4321));
    QCOMPARE(list->child(4321)->rect(), QRect(f.view.viewport()->mapToGlobal(f.view.visualRect(f.list.index(4321)).topLeft()),
                                              f.view.visualRect(f.list.index(4321)).size()));
}

void TestResultListView::scrollBarsFollowTheEntries() {
    Fixture f(10);
    const int h = f.rowHeight();
    QCOMPARE(f.view.verticalScrollBar()->maximum(), 0);
    for (int i = 0; i < 90; ++i)
        f.list.appendName("more.jpg");
    QCOMPARE(f.view.verticalScrollBar()->maximum(), 0); // not yet announced
    f.list.flush();
    QCOMPARE(f.view.verticalScrollBar()->maximum(), 100 * h - f.view.viewport()->height());
    f.list.removeEntry(0);
    QCOMPARE(f.view.verticalScrollBar()->maximum(), 99 * h - f.view.viewport()->height());

    // An entry wider than the list, once on the screen, can be scrolled into view.
    QCOMPARE(f.view.horizontalScrollBar()->maximum(), 0);
    f.list.append(QStringLiteral("/wide/") + QString(200, QLatin1Char('w')));
    f.list.flush();
    f.view.scrollToBottom();
    QTRY_VERIFY(f.view.horizontalScrollBar()->maximum() > 0);
    const int textWidth = f.view.fontMetrics().horizontalAdvance(f.list.entry(99));
    QVERIFY(f.view.horizontalScrollBar()->maximum() + f.view.viewport()->width() >= textWidth);
    QVERIFY(f.view.visualRect(f.list.index(99)).width() >= textWidth);
    f.list.clear();
    QCOMPARE(f.view.verticalScrollBar()->maximum(), 0);
    QTRY_COMPARE(f.view.horizontalScrollBar()->maximum(), 0);
}

QTEST_MAIN(TestResultListView)
#include "tst_resultlistview.moc"
