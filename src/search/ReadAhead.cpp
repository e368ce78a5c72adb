#include "search/ReadAhead.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace search {

struct ReadAhead::Pending {
    int parentFd = -1; // a duplicate, closed once the folder is open
    std::string name;
    Listing listing;
    bool done = false, abandoned = false, taken = false;
};

namespace {

// The memory a listing read ahead holds: its entries, and the names of its sub-folders (at most
// about half again as much).
size_t heldBy(const ReadAhead::Listing& l) {
    size_t bytes = l.bytes.capacity() + l.subFolders.capacity() * sizeof(std::string);
    for (const std::string& name : l.subFolders)
        bytes += name.capacity() + 1;
    return bytes;
}
constexpr size_t kMostHeldByOne = 3 * ReadAhead::kMaxBytes; // one listing under way, at most

} // namespace

// The threads and their queue; each thread keeps it alive, so that the walk never waits for one.
struct ReadAhead::Pool {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Ticket> queue;
    size_t threads = 0, idle = 0;
    bool closing = false;
    dev_t volume = 0;
    size_t underWay = 0, held = 0, heldBytes = 0, reads = 0;

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
            read(*p, volume);
            lock.lock();
            --underWay;
            ++reads;
            if (p->abandoned) {
                if (p->listing.fd >= 0) ::close(std::exchange(p->listing.fd, -1));
            } else {
                ++held;
                heldBytes += heldBy(p->listing);
            }
            p->done = true;
            changed.notify_all();
        }
    }

    static void read(Pending& p, dev_t volume) {
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
            if (got <= 0) break; // the end, or a read that failed: the entries end there
            l.complete = l.bytes.size() < kMaxBytes;
        }
        l.bytes.shrink_to_fit();
        struct stat st {};
        if (::fstat(l.fd, &st) != 0 || st.st_dev != volume) return; // the walk does not enter it
        for (size_t at = 0; at < l.bytes.size();) {
            const auto* e = reinterpret_cast<const struct dirent64*>(l.bytes.data() + at);
            at += e->d_reclen;
            const char* n = e->d_name;
            if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
            struct stat es {};
            if (e->d_type == DT_DIR ||
                (e->d_type == DT_UNKNOWN && ::fstatat(l.fd, n, &es, AT_SYMLINK_NOFOLLOW) == 0 &&
                 S_ISDIR(es.st_mode)))
                l.subFolders.emplace_back(n);
        }
    }
};

ReadAhead::ReadAhead(dev_t volume) : pool_(std::make_shared<Pool>()) {
    pool_->volume = volume;
}

ReadAhead::~ReadAhead() {
    std::lock_guard lock(pool_->mutex);
    pool_->closing = true;
    for (const Ticket& p : pool_->queue)
        ::close(p->parentFd);
    pool_->queue.clear();
    pool_->changed.notify_all();
}

bool ReadAhead::canAsk() const {
    std::lock_guard lock(pool_->mutex);
    return pool_->underWay < kMaxUnderWay && pool_->held + pool_->underWay < kMaxHeld &&
           pool_->heldBytes + (pool_->underWay + 1) * kMostHeldByOne <= kMaxHeldBytes;
}

ReadAhead::Ticket ReadAhead::request(int parentFd, const std::string& name) {
    auto p = std::make_shared<Pending>();
    p->parentFd = ::fcntl(parentFd, F_DUPFD_CLOEXEC, 0);
    if (p->parentFd < 0) return nullptr; // no descriptor to spare: the walk opens the folder itself
    p->name = name;
    std::lock_guard lock(pool_->mutex);
    ++pool_->underWay;
    pool_->queue.push_back(p);
    if (pool_->idle == 0 && pool_->threads < kMaxUnderWay) {
        ++pool_->threads;
        std::thread([pool = pool_] { pool->run(); }).detach();
    }
    pool_->changed.notify_all();
    return p;
}

const ReadAhead::Listing* ReadAhead::peek(const Ticket& p) const {
    std::lock_guard lock(pool_->mutex);
    return p->done && !p->abandoned && !p->taken ? &p->listing : nullptr;
}

bool ReadAhead::waitFor(const Ticket& p, std::chrono::milliseconds timeout) {
    std::unique_lock lock(pool_->mutex);
    pool_->changed.wait_for(lock, timeout, [&] { return p->done || pool_->reads != seenReads_; });
    seenReads_ = pool_->reads;
    return p->done;
}

ReadAhead::Listing ReadAhead::take(const Ticket& p) {
    std::unique_lock lock(pool_->mutex);
    pool_->changed.wait(lock, [&] { return p->done; });
    p->taken = true;
    --pool_->held;
    pool_->heldBytes -= heldBy(p->listing);
    return std::move(p->listing);
}

void ReadAhead::abandon(const Ticket& p) {
    std::lock_guard lock(pool_->mutex);
    if (p->abandoned || p->taken) return;
    p->abandoned = true;
    if (p->done) {
        --pool_->held;
        pool_->heldBytes -= heldBy(p->listing);
        if (p->listing.fd >= 0) ::close(std::exchange(p->listing.fd, -1));
        return;
    }
    for (auto it = pool_->queue.begin(); it != pool_->queue.end(); ++it)
        if (*it == p) { // not started: never opened
            ::close(p->parentFd);
            pool_->queue.erase(it);
            --pool_->underWay;
            break;
        }
}

} // namespace search
