#pragma once

#include "search/WildcardPattern.h"

#include <QObject>

class QTimer;

#include <chrono>
#include <memory>
#include <string>

namespace search {

class ResultList;

// One local search on a thread of its own. The walk opens and reads folders there; the window's thread
// takes what it found so far at the pace the list's views catch up, adds it to the result list in the
// walk's order, and never waits on the file system. A stopped job is abandoned, not waited for: its thread
// ends at its next yield, or never if a listing hangs, and no longer touches anything of the window's.
class SearchJob : public QObject {
    Q_OBJECT
public:
    explicit SearchJob(ResultList* list, QObject* parent = nullptr);
    ~SearchJob() override; // stops the job

    // Walks root for files matching pattern. The results go to the list, which the caller has emptied.
    void start(const std::string& root, const WildcardPattern& pattern);
    // Abandons a running job: no more results, no finished(). Nothing when none runs.
    void stop();
    bool running() const { return shared_ != nullptr; }

    // For tests and demonstrations: the walk waits pause at each of its turns (after every file it
    // lists, before every folder it enters), and the window takes what it found at every turn of its own.
    void setPause(std::chrono::microseconds pause) { pause_ = pause; }

    struct Shared; // what the job and its walk's thread share

signals:
    // The folder whose files were listed last, when it changed since the window last took the results.
    void folderListed(const QString& folder);
    // The walk ended on its own: all its results are in the list.
    void finished();

private:
    void takeFound();

    ResultList* list_;
    QTimer* timer_;
    std::shared_ptr<Shared> shared_; // while a walk runs
    std::chrono::microseconds pause_{0};
};

} // namespace search
