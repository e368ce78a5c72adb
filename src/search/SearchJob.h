#pragma once

#include "search/FeedJob.h"
#include "search/WildcardPattern.h"

#include <chrono>
#include <memory>
#include <string>

namespace search {

// One local search on a thread of its own: the walk opens and reads folders there, and the window's
// thread adds what it found to the result list in the walk's order (see FeedJob).
class SearchJob : public FeedJob {
    Q_OBJECT
public:
    explicit SearchJob(ResultList* list, QObject* parent = nullptr) : FeedJob(list, parent) {}

    // Walks root for files matching pattern. The results go to the list, which the caller has emptied.
    void start(const std::string& root, const WildcardPattern& pattern);

    // For tests and demonstrations: the walk waits pause at each of its turns (after every file it
    // lists, before every folder it enters), and the window takes what it found at every turn of its own.
    void setPause(std::chrono::microseconds pause) { pause_ = pause; }

signals:
    // The folder whose files were listed last, when it changed since the window last took the results.
    void folderListed(const QString& folder);
    // The walk ended on its own: all its results are in the list.
    void finished();

public:
    struct Listed; // the folder the walk listed last, shared with its thread

private:
    void took() override;
    void ended() override { emit finished(); }

    std::shared_ptr<Listed> listed_;
    std::chrono::microseconds pause_{0};
};

} // namespace search
