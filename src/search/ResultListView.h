#pragma once

#include <QListView>

namespace search {

class ResultList;

// The result list control: an unsorted single-selection list over a ResultList.
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

signals:
    // The selected entry changed (by mouse, keyboard or setListIndex).
    void Click();
    void DblClick();

private:
    ResultList* entries_;
};

} // namespace search
