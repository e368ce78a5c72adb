#include "search/ResultListView.h"

#include "search/ResultList.h"

namespace search {

ResultListView::ResultListView(ResultList* entries, QWidget* parent) : QListView(parent), entries_(entries) {
    setModel(entries);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTextElideMode(Qt::ElideNone);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit Click(); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { emit DblClick(); });
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

} // namespace search
