#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QListView>
#include <QStaticText>

namespace search {

class ResultList;

// The result list control: an unsorted single-selection list over a ResultList. Every
// row is as high as the first, so placing, painting and scrolling cost the same with a
// million entries as with ten, and entries appended below what is on the screen cost
// the view nothing but its scroll bar. The list is as wide as the widest entry it has
// shown since it was last emptied.
//
// It is a QListView to everything outside (assistive technology hears a list of
// entries), but places its rows itself: QListView lays out every row again whenever
// rows are added. So every QListView function that would use that layout is replaced
// here, by the plain item view's or by this class's own.
class ResultListView : public QListView {
    Q_OBJECT
public:
    explicit ResultListView(ResultList* entries, QWidget* parent = nullptr);

    ResultList* entries() const { return entries_; }
    // The selected position (-1 for none); setting it selects and shows that entry.
    int ListIndex() const;
    void setListIndex(int row);
    int ListCount() const;
    QString List(int row) const;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    // Type to find: the letters typed move the selection to the next entry whose file name
    // starts with them (without regard to case); a pause starts a new prefix.
    void keyboardSearch(const QString& search) override;

signals:
    // The selected entry changed (by mouse, keyboard or setListIndex).
    void Click();
    void DblClick();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void reset() override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

    // The plain item view's, in place of QListView's.
    void doItemsLayout() override { QAbstractItemView::doItemsLayout(); }
    void setRootIndex(const QModelIndex& index) override { QAbstractItemView::setRootIndex(index); }
    void scrollContentsBy(int dx, int dy) override { QAbstractItemView::scrollContentsBy(dx, dy); }
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    }
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override {
        QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    }
    bool event(QEvent* e) override { return QAbstractItemView::event(e); }
    void mouseMoveEvent(QMouseEvent* e) override { QAbstractItemView::mouseMoveEvent(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { QAbstractItemView::mouseReleaseEvent(e); }
    void wheelEvent(QWheelEvent* e) override { QAbstractItemView::wheelEvent(e); }
    void timerEvent(QTimerEvent* e) override { QAbstractItemView::timerEvent(e); }
    void resizeEvent(QResizeEvent* e) override { QAbstractItemView::resizeEvent(e); }
    void dragMoveEvent(QDragMoveEvent* e) override { QAbstractItemView::dragMoveEvent(e); }
    void dragLeaveEvent(QDragLeaveEvent* e) override { QAbstractItemView::dragLeaveEvent(e); }
    void dropEvent(QDropEvent* e) override { QAbstractItemView::dropEvent(e); }
    void startDrag(Qt::DropActions actions) override { QAbstractItemView::startDrag(actions); }
    QModelIndexList selectedIndexes() const override { return QAbstractItemView::selectedIndexes(); }
    QSize viewportSizeHint() const override { return QAbstractItemView::viewportSizeHint(); }

private:
    int rows() const;
    int rowHeight() const;
    int rowAt(int y) const; // the row at viewport height y, unclamped
    const QStaticText& shapedText(int row, const QFont& font) const;

    ResultList* entries_;
    mutable int rowHeight_ = 0; // 0: to be measured
    int contentWidth_ = 0;
    bool widerPending_ = false;
    static constexpr int kShapedRows = 256;    // a few pages' worth
    mutable QHash<int, QStaticText> shaped_; // the texts of the rows painted lately, shaped
    QString typed_;                          // the prefix typed so far
    QElapsedTimer sinceKey_; // since its last letter
};

} // namespace search
