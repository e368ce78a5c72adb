#include "search/ReadAhead.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <utility>

namespace search {

struct ReadAhead::Pending {
    int parentFd = -1; // a duplicate, closed once the folder is open
    std::string name;
    Listing listing;
    bool done = false, abandoned = false;
};

// The threads and their queue; each thread keeps it alive, so that the walk never waits for one.
struct ReadAhead::Pool {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Ticket> queue;
    size_t threads = 0, idle = 0;
    bool closing = false;

    void run() {
        std::unique_lock lock(mutex);
        for (;;) {
            ++idle;
            changed.wait(lock, [&] { return closing || !queue.empty(); });
            --idle;
            if (closing) return;
            const Ticket p = queue.front();
            queue.pop_front();
            lock.unlock();
            read(*p);
            lock.lock();
            if (p->abandoned && p->listing.fd >= 0) ::close(p->listing.fd);
            p->done = true;
            changed.notify_all();
        }
    }
    static void read(Pending& p) {
        Listing& l = p.listing;
        l.fd = ::openat(p.parentFd, p.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(p.parentFd);
        l.complete = true;
        if (l.fd < 0) return;
        while (l.bytes.size() < kMaxBytes) {
            const size_t at = l.bytes.size();
            l.bytes.resize(at + 32 * 1024);
            const ssize_t got = ::getdents64(l.fd, l.bytes.data() + at, l.bytes.size() - at);
            l.bytes.resize(at + size_t(std::max<ssize_t>(got, 0)));
            if (got <= 0) return; // the end, or a read that failed: the entries end there
        }
        l.complete = false;
    }
};

ReadAhead::ReadAhead() : pool_(std::make_shared<Pool>()) {}

ReadAhead::~ReadAhead() {
    std::lock_guard lock(pool_->mutex);
    pool_->closing = true;
    for (const Ticket& p : pool_->queue)
        ::close(p->parentFd);
    pool_->queue.clear();
    pool_->changed.notify_all();
}

ReadAhead::Ticket ReadAhead::request(int parentFd, const std::string& name) {
    auto p = std::make_shared<Pending>();
    p->parentFd = ::fcntl(parentFd, F_DUPFD_CLOEXEC, 0);
    if (p->parentFd < 0) return nullptr; // no descriptor to spare: the walk opens the folder itself
    p->name = name;
    std::lock_guard lock(pool_->mutex);
    ++inFlight_;
    pool_->queue.push_back(p);
    if (pool_->idle == 0 && pool_->threads < kMaxInFlight) {
        ++pool_->threads;
        std::thread([pool = pool_] { pool->run(); }).detach();
    }
    pool_->changed.notify_all();
    return p;
}

ReadAhead::Listing ReadAhead::take(const Ticket& p) {
    std::unique_lock lock(pool_->mutex);
    pool_->changed.wait(lock, [&] { return p->done; });
    if (inFlight_ > 0) --inFlight_;
    return std::move(p->listing);
}

void ReadAhead::abandon(const Ticket& p) {
    std::lock_guard lock(pool_->mutex);
    if (inFlight_ > 0) --inFlight_;
    p->abandoned = true;
    if (p->done && p->listing.fd >= 0) ::close(std::exchange(p->listing.fd, -1));
    for (auto it = pool_->queue.begin(); it != pool_->queue.end(); ++it)
        if (*it == p) { // not started: never opened
            ::close(p->parentFd);
            pool_->queue.erase(it);
            break;
        }
}

} // namespace search
