#include "search/SearchJob.h"

#include "platform/PathCodec.h"
#include "search/FolderWalk.h"
#include "search/ResultList.h"
#include "search/VolumeMemory.h"

#include <mutex>
#include <thread>

namespace search {

// The folder the walk listed last, once it changed.
struct SearchJob::Listed {
    std::mutex mutex;
    std::string folder;
    bool changed = false;
};

namespace {

class FeedSink : public WalkSink {
public:
    FeedSink(EntryFeed& feed, std::shared_ptr<SearchJob::Listed> listed, std::chrono::microseconds pause)
        : feed_(feed), listed_(std::move(listed)), pause_(pause) {}
    void fileFound(std::string_view folder, std::string_view name, bool firstInFolder) override {
        if (firstInFolder) feed_.add(EntryFeed::kFolder, folder);
        feed_.add(EntryFeed::kName, name);
    }
    void folderListed(std::string_view folder) override {
        std::lock_guard lock(listed_->mutex);
        listed_->folder.assign(folder);
        listed_->changed = true;
    }
    void folderWaitedFor(std::string_view folder) override { folderListed(folder); } // where it is stuck
    bool yield() override {
        if (pause_.count() > 0) std::this_thread::sleep_for(pause_);
        return !feed_.stopped();
    }

private:
    EntryFeed& feed_;
    std::shared_ptr<SearchJob::Listed> listed_;
    std::chrono::microseconds pause_;
};

} // namespace

void SearchJob::start(const std::string& root, const WildcardPattern& pattern) {
    listed_ = std::make_shared<Listed>();
    // The window takes what was found as often as the list's views catch up; paced, at every turn.
    startWork(
        [listed = listed_, root, pattern, pause = pause_](EntryFeed& feed) {
            FolderWalk walk;
            if (pause.count() > 0) walk.setYieldInterval(0);
            FeedSink sink(feed, listed, pause);
            return VolumeMemory::shared().search(root, pattern, sink, walk);
        },
        pause_.count() > 0 ? 0 : ResultList::kViewRefreshMs);
}

void SearchJob::took() {
    std::string folder;
    {
        std::lock_guard lock(listed_->mutex);
        if (!std::exchange(listed_->changed, false)) return;
        folder = listed_->folder;
    }
    emit folderListed(platform::decodePath(QByteArrayView(folder.data(), qsizetype(folder.size()))));
}

} // namespace search
