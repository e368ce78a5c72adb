#include "search/ResultListView.h"

#include "search/ResultList.h"

#include <QAccessible>
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cmath>

namespace search {

ResultListView::ResultListView(ResultList* entries, QWidget* parent) : QListView(parent), entries_(entries) {
    setModel(entries);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTextElideMode(Qt::ElideNone);
    setDragEnabled(true); // an entry dragged out goes as the file it names
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit Click(); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { emit DblClick(); });
    connect(entries, &QAbstractItemModel::rowsRemoved, this, [this] {
        shaped_.clear();
        updateGeometries();
        viewport()->update();
    });
}

void ResultListView::keyboardSearch(const QString& search) {
    if (search.isEmpty()) return;
    const bool goOn = sinceKey_.isValid() && sinceKey_.elapsed() < QApplication::keyboardInputInterval();
    sinceKey_.start();
    typed_ = goOn ? typed_ + search : search;
    // A new prefix looks from the entry after the selected one; a longer one from the
    // selected entry itself, which may still match.
    const int current = ListIndex();
    const int found = entries_->findFileName(typed_, goOn ? std::max(current, 0) : current + 1);
    if (found >= 0) setListIndex(found);
}

int ResultListView::ListIndex() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ResultListView::setListIndex(int row) {
    entries_->flush();
    if (row < 0 || row >= entries_->rowCount()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = entries_->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

int ResultListView::ListCount() const {
    return entries_->count();
}

QString ResultListView::List(int row) const {
    return entries_->entry(row);
}

int ResultListView::rows() const {
    return entries_->rowCount();
}

int ResultListView::rowHeight() const {
    if (rowHeight_ == 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QModelIndex sample = rows() > 0 ? entries_->index(0) : QModelIndex();
        rowHeight_ = sample.isValid() ? itemDelegateForIndex(sample)->sizeHint(option, sample).height() : 0;
        if (rowHeight_ <= 0) { // nothing to measure yet: the font's line, not kept
            const int line = fontMetrics().height() + 2;
            rowHeight_ = 0;
            return line;
        }
    }
    return rowHeight_;
}

int ResultListView::rowAt(int y) const {
    const qint64 contentY = qint64(y) + verticalOffset();
    if (contentY < 0) return -1;
    return int(std::min<qint64>(contentY / rowHeight(), INT_MAX));
}

int ResultListView::horizontalOffset() const {
    return horizontalScrollBar()->value();
}

int ResultListView::verticalOffset() const {
    return verticalScrollBar()->value();
}

QRect ResultListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != entries_ || index.row() >= rows()) return {};
    const int h = rowHeight();
    const qint64 y = qint64(index.row()) * h - verticalOffset();
    if (y < INT_MIN / 2 || y > INT_MAX / 2) return {}; // far away: no rectangle on the screen
    return QRect(-horizontalOffset(), int(y), std::max(contentWidth_, viewport()->width()), h);
}

QModelIndex ResultListView::indexAt(const QPoint& point) const {
    const int row = rowAt(point.y());
    if (row < 0 || row >= rows()) return {};
    return entries_->index(row);
}

void ResultListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid() || index.row() >= rows()) return;
    updateGeometries(); // the range must already cover the entry
    const int h = rowHeight(), view = viewport()->height();
    const qint64 top = qint64(index.row()) * h;
    qint64 value = verticalOffset();
    switch (hint) {
    case EnsureVisible:
        if (top < value)
            value = top;
        else if (top + h > value + view)
            value = top + h - view;
        break;
    case PositionAtTop:
        value = top;
        break;
    case PositionAtBottom:
        value = top + h - view;
        break;
    case PositionAtCenter:
        value = top + h / 2 - view / 2;
        break;
    }
    verticalScrollBar()->setValue(int(std::clamp<qint64>(value, 0, INT_MAX)));
}

QModelIndex ResultListView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int count = rows();
    if (count == 0) return {};
    const QModelIndex current = currentIndex();
    int row = current.isValid() ? current.row() : -1;
    const int page = std::max(1, viewport()->height() / rowHeight() - 1);
    switch (action) {
    case MoveUp:
    case MovePrevious:
        row = row < 0 ? 0 : row - 1;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row = row < 0 ? 0 : row - page;
        break;
    case MovePageDown:
        row = row < 0 ? 0 : row + page;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = count - 1;
        break;
    default: // left and right: a list has one column
        return current;
    }
    return entries_->index(std::clamp(row, 0, count - 1));
}

void ResultListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const QRect r = rect.normalized();
    const int first = std::max(0, rowAt(r.top())), last = std::min(rows() - 1, rowAt(r.bottom()));
    if (first > last) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    selectionModel()->select(QItemSelection(entries_->index(first), entries_->index(last)), command);
}

QRegion ResultListView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const int firstShown = std::max(0, rowAt(0)), lastShown = rowAt(viewport()->height());
    for (const QItemSelectionRange& range : selection) {
        const int first = std::max(range.top(), firstShown), last = std::min(range.bottom(), lastShown);
        if (first > last || first >= rows()) continue;
        const int lastRow = std::min(last, rows() - 1);
        region += visualRect(entries_->index(first)).united(visualRect(entries_->index(lastRow)));
    }
    return region;
}

void ResultListView::updateGeometries() {
    const int h = rowHeight();
    const qint64 height = qint64(rows()) * h;
    QScrollBar* v = verticalScrollBar();
    v->setSingleStep(h);
    v->setPageStep(viewport()->height());
    v->setRange(0, int(std::clamp<qint64>(height - viewport()->height(), 0, INT_MAX)));
    QScrollBar* hb = horizontalScrollBar();
    hb->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
    hb->setPageStep(viewport()->width());
    hb->setRange(0, std::max(0, contentWidth_ - viewport()->width()));
    QAbstractItemView::updateGeometries();
}

void ResultListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    if (rowAt(0) <= end && start <= rowAt(viewport()->height())) viewport()->update();
}

void ResultListView::reset() {
    shaped_.clear();
    rowHeight_ = 0;
    contentWidth_ = 0;
    QAbstractItemView::reset();
    updateGeometries();
}

void ResultListView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        shaped_.clear();
        rowHeight_ = 0;
        contentWidth_ = 0;
        updateGeometries();
    }
    QAbstractItemView::changeEvent(event);
}

// Paints the rows as the item views' own delegate does for an entry of text alone (the style's
// panel, the text, the focus frame), but with each row's text shaped once and kept while the row
// is on the screen: painting the page again (a selection moved by a key, a row scrolled into view)
// costs little more than drawing the glyphs.
void ResultListView::paintEvent(QPaintEvent* event) {
    const int count = rows();
    if (count == 0) return;
    QPainter painter(viewport());
    QStyleOptionViewItem o;
    initViewItemOption(&o);
    o.features |= QStyleOptionViewItem::HasDisplay;
    const bool enabled = isEnabled();
    const QPalette::ColorGroup group =
        !enabled ? QPalette::Disabled : (window()->isActiveWindow() ? QPalette::Active : QPalette::Inactive);
    o.palette.setCurrentColorGroup(group);
    QStyle::State base = o.state & ~(QStyle::State_Selected | QStyle::State_HasFocus);
    if (enabled) base |= QStyle::State_Enabled;
    const QModelIndex current = currentIndex();
    const bool focused = hasFocus() || viewport()->hasFocus();
    const QRect area = event->rect();
    const int first = std::max(0, rowAt(area.top())), last = std::min(count - 1, rowAt(area.bottom()));
    QStyle* s = style();
    const int margin = s->pixelMetric(QStyle::PM_FocusFrameHMargin, &o, this) + 1;
    const QFontMetricsF metrics(o.font);
    painter.setFont(o.font);
    int widest = contentWidth_;
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = entries_->index(row);
        o.rect = visualRect(index);
        o.state = base;
        const bool selected = selectionModel()->isSelected(index);
        if (selected) o.state |= QStyle::State_Selected;
        if (focused && index == current) o.state |= QStyle::State_HasFocus;
        s->drawPrimitive(QStyle::PE_PanelItemViewItem, &o, &painter, this);
        const QStaticText& text = shapedText(row, o.font);
        QPalette::ColorGroup cg = enabled ? QPalette::Normal : QPalette::Disabled;
        if (cg == QPalette::Normal && !(o.state & QStyle::State_Active)) cg = QPalette::Inactive;
        painter.setPen(o.palette.color(cg, selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect textRect = s->subElementRect(QStyle::SE_ItemViewItemText, &o, this);
        painter.drawStaticText(QPointF(textRect.left() + margin, textRect.top() + (textRect.height() - metrics.height()) / 2),
                               text);
        if (o.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect frame;
            frame.QStyleOption::operator=(o);
            frame.rect = s->subElementRect(QStyle::SE_ItemViewItemFocusRect, &o, this);
            frame.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
            frame.backgroundColor = o.palette.color(cg, selected ? QPalette::Highlight : QPalette::Window);
            s->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
        }
        widest = std::max(widest, int(std::ceil(text.size().width())) + 2 * margin);
    }
    if (widest > contentWidth_) {
        // Wider than the rows so far: the scroll bar grows once this painting is done.
        contentWidth_ = widest;
        if (!widerPending_) {
            widerPending_ = true;
            QTimer::singleShot(0, this, [this] {
                widerPending_ = false;
                updateGeometries();
                viewport()->update();
            });
        }
    }
}

const QStaticText& ResultListView::shapedText(int row, const QFont& font) const {
    if (shaped_.size() >= kShapedRows) shaped_.clear(); // the rows once shown and scrolled away
    auto it = shaped_.find(row);
    if (it == shaped_.end()) {
        QStaticText text(entries_->entry(row));
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), font);
        it = shaped_.insert(row, text);
    }
    return *it;
}

} // namespace search

namespace search {

// What QListView tells assistive technology, with the row as the entry's place.
void ResultListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    if (QAccessible::isActive()) {
        const QModelIndex added = selected.indexes().value(0);
        if (added.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionAdd);
            event.setChild(added.row());
            QAccessible::updateAccessibility(&event);
        }
        const QModelIndex removed = deselected.indexes().value(0);
        if (removed.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionRemove);
            event.setChild(removed.row());
            QAccessible::updateAccessibility(&event);
        }
    }
    QAbstractItemView::selectionChanged(selected, deselected);
}

void ResultListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
    QAbstractItemView::currentChanged(current, previous);
}

} // namespace search
