#include "search/FeedJob.h"

#include <QTimer>

#include <mutex>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace search {

namespace {
constexpr int kWorkNice = 10;
} // namespace

// What the job and its thread share; the thread keeps it alive when the job is gone.
struct FeedJob::State {
    EntryFeed feed;
    std::mutex mutex;
    bool done = false;      // the work ran to its end
    FeedJob* job = nullptr; // null once the job stopped: the thread then only ends
};

FeedJob::FeedJob(ResultList* list, QObject* parent) : QObject(parent), list_(list), timer_(new QTimer(this)) {
    connect(timer_, &QTimer::timeout, this, &FeedJob::take);
}

FeedJob::~FeedJob() {
    stop();
}

void FeedJob::startWork(std::function<bool(EntryFeed& feed)> work, int takeEveryMs) {
    stop();
    state_ = std::make_shared<State>();
    state_->job = this;
    timer_->start(takeEveryMs);
    std::thread([state = state_, work = std::move(work)] {
        // Beneath the window's thread: where both want a processor, the window gets it first.
        ::setpriority(PRIO_PROCESS, pid_t(::gettid()), kWorkNice);
        if (!work(state->feed)) return;
        std::lock_guard lock(state->mutex);
        state->done = true;
        if (state->job) QMetaObject::invokeMethod(state->job, &FeedJob::take, Qt::QueuedConnection);
    }).detach(); // never joined: a read that hangs in the kernel must not hold the window
}

void FeedJob::stop() {
    timer_->stop();
    if (!state_) return;
    {
        std::lock_guard lock(state_->mutex);
        state_->job = nullptr;
    }
    state_->feed.stop();
    state_.reset();
}

void FeedJob::take() {
    if (!state_) return;
    bool done;
    {
        std::lock_guard lock(state_->mutex);
        done = state_->done; // what was found before the end is all in the feed by now
    }
    const bool more = state_->feed.takeInto(*list_, kTakeBudgetUs);
    took();
    if (!state_) return; // stopped meanwhile
    if (more) {
        // The rest at a timer's next turn, so that the window's own timers (and everything else)
        // have their turns in between.
        QTimer::singleShot(1, Qt::PreciseTimer, this, &FeedJob::take);
        return;
    }
    if (!done) return;
    state_.reset();
    timer_->stop();
    ended();
}

} // namespace search
