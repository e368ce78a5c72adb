#pragma once

#include "filelist/FileListDocument.h"
#include "search/FeedJob.h"

namespace filelist {

// A file list document read on a thread of its own into the result list, as a search fills it
// (see search::FeedJob): a document on a slow or hung volume never holds the window.
class DocumentLoad : public search::FeedJob {
    Q_OBJECT
public:
    using FeedJob::FeedJob;

    // Reads document name; its entries go to the list, which the caller has emptied.
    void start(const QString& name);

signals:
    // The document was read, or could not be: every entry read is in the list.
    void finished(const filelist::PlaylistResult& result);

private:
    void ended() override { emit finished(*result_); }

    std::shared_ptr<PlaylistResult> result_;
};

} // namespace filelist
