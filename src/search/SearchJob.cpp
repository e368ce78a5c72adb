#include "search/SearchJob.h"

#include "platform/PathCodec.h"
#include "search/FolderWalk.h"
#include "search/ResultList.h"

#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace search {

namespace {
// The walk's thread waits while this much of what it found has not been taken yet, so that a window
// that cannot keep up bounds the memory.
constexpr size_t kMaxWaitingBytes = 4 * 1024 * 1024;
} // namespace

// What the job and its walk's thread share; the thread keeps it alive when the job is gone. What the
// walk found and the window has not taken yet lies in one buffer: records of a kind byte ('F' a
// folder whose files follow, 'N' a file name) and the name's bytes, each ended by a NUL (no name
// holds one).
struct SearchJob::Shared {
    std::mutex mutex;
    std::condition_variable taken;
    std::string found;
    std::string listed; // the folder listed last, once it changed
    bool listedChanged = false;
    bool done = false;        // the walk ended on its own
    SearchJob* job = nullptr; // null once the job stopped: the thread then only ends
    std::atomic<bool> stop{false};
};

namespace {

class SharedSink : public WalkSink {
public:
    SharedSink(std::shared_ptr<SearchJob::Shared> shared, std::chrono::microseconds pause)
        : shared_(std::move(shared)), pause_(pause) {}
    void fileFound(std::string_view folder, std::string_view name, bool firstInFolder) override {
        std::unique_lock lock(shared_->mutex);
        shared_->taken.wait(lock, [&] { return shared_->stop || shared_->found.size() < kMaxWaitingBytes; });
        if (firstInFolder) (shared_->found += 'F').append(folder) += '\0';
        (shared_->found += 'N').append(name) += '\0';
    }
    void folderListed(std::string_view folder) override {
        std::lock_guard lock(shared_->mutex);
        shared_->listed.assign(folder);
        shared_->listedChanged = true;
    }
    bool yield() override {
        if (pause_.count() > 0) std::this_thread::sleep_for(pause_);
        return !shared_->stop;
    }

private:
    std::shared_ptr<SearchJob::Shared> shared_;
    std::chrono::microseconds pause_;
};

} // namespace

SearchJob::SearchJob(ResultList* list, QObject* parent)
    : QObject(parent), list_(list), timer_(new QTimer(this)) {
    connect(timer_, &QTimer::timeout, this, &SearchJob::takeFound);
}

SearchJob::~SearchJob() {
    stop();
}

void SearchJob::start(const std::string& root, const WildcardPattern& pattern) {
    stop();
    shared_ = std::make_shared<Shared>();
    shared_->job = this;
    // The window takes what was found as often as the list's views catch up; paced, at every turn.
    timer_->start(pause_.count() > 0 ? 0 : ResultList::kViewRefreshMs);
    std::thread([shared = shared_, root, pattern, pause = pause_] {
        FolderWalk walk;
        if (pause.count() > 0) walk.setYieldInterval(0);
        SharedSink sink(shared, pause);
        if (!walk.run(root, pattern, sink)) return;
        std::lock_guard lock(shared->mutex);
        shared->done = true;
        if (shared->job) QMetaObject::invokeMethod(shared->job, &SearchJob::takeFound, Qt::QueuedConnection);
    }).detach(); // never joined: a listing that hangs in the kernel must not hold the window
}

void SearchJob::stop() {
    timer_->stop();
    if (!shared_) return;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
        shared_->job = nullptr;
    }
    shared_->taken.notify_all();
    shared_.reset();
}

void SearchJob::takeFound() {
    if (!shared_) return;
    std::string found, listed;
    bool listedChanged, done;
    {
        std::lock_guard lock(shared_->mutex);
        found.swap(shared_->found);
        listedChanged = std::exchange(shared_->listedChanged, false);
        if (listedChanged) listed = shared_->listed;
        done = shared_->done;
    }
    shared_->taken.notify_all();
    for (size_t at = 0; at < found.size();) {
        const size_t end = found.find('\0', at + 1);
        const std::string_view name(found.data() + at + 1, end - at - 1);
        found[at] == 'F' ? list_->setFolder(name) : list_->appendName(name);
        at = end + 1;
    }
    list_->flush();
    if (listedChanged)
        emit folderListed(platform::decodePath(QByteArrayView(listed.data(), qsizetype(listed.size()))));
    if (!done) return;
    shared_.reset();
    timer_->stop();
    emit finished();
}

} // namespace search
