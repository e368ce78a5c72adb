#include "search/ChangeWatch.h"

#include "search/KeptTree.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <map>
#include <mutex>
#include <poll.h>
#include <set>
#include <sys/eventfd.h>
#include <sys/fanotify.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>

namespace search {

namespace {

// Reads a notification descriptor (non-blocking) on a thread of its own until told to stop, so that
// the kernel's queue never fills up between two searches, a buffer at a time under mutex (what was read
// waits there for collect()). drain() reads what was queued when it was called (the kernel queues a
// change before the call that made it returns), and no more: changes that never stop coming would keep
// it reading. read tells how many of the units FIONREAD counts it took in (bytes, or events).
class Reader {
public:
    void start(int fd, std::function<size_t(const char*, size_t)> read, size_t unitBytes,
               std::function<void()> arrived) {
        fd_ = fd, read_ = std::move(read), unitBytes_ = unitBytes, arrived_ = std::move(arrived);
        stop_ = ::eventfd(0, EFD_CLOEXEC);
        thread_ = std::thread([this] {
            for (;;) {
                pollfd fds[2] = {{fd_, POLLIN, 0}, {stop_, POLLIN, 0}};
                if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
                if (fds[1].revents) return;
                std::lock_guard lock(mutex);
                if (readSome() > 0 && arrived_) arrived_();
            }
        });
    }
    void drain() { // with mutex held
        int queued = 0;
        const bool counted = ::ioctl(fd_, FIONREAD, &queued) == 0;
        for (size_t units = 0, want = size_t(std::max(queued, 0)) / unitBytes_; !counted || units < want;) {
            const size_t got = readSome();
            if (got == 0) break;
            units += got;
        }
    }
    ~Reader() { finish(); }
    void finish() {
        if (!thread_.joinable()) return;
        const uint64_t one = 1;
        (void)!::write(stop_, &one, sizeof one);
        thread_.join();
        ::close(stop_);
    }
    std::mutex mutex;

private:
    size_t readSome() {
        ssize_t got;
        while ((got = ::read(fd_, buffer_.data(), buffer_.size())) < 0 && errno == EINTR) {
        }
        return got > 0 ? read_(buffer_.data(), size_t(got)) : 0;
    }
    int fd_ = -1, stop_ = -1;
    std::function<size_t(const char*, size_t)> read_;
    size_t unitBytes_ = 1;
    std::function<void()> arrived_;
    std::vector<char> buffer_ = std::vector<char>(64 * 1024);
    std::thread thread_;
};

// All the inotify watches of this run's kept trees, counted against one share of the user's limit.
std::atomic<size_t> watchesHeld{0};

size_t watchBudget() {
    size_t limit = 8192;
    if (FILE* f = std::fopen("/proc/sys/fs/inotify/max_user_watches", "re")) {
        unsigned long v = 0;
        if (std::fscanf(f, "%lu", &v) == 1) limit = v;
        std::fclose(f);
    }
    return limit / 3;
}

using Removed = ChangeWatch::Removed;

// What one folder was told of since the last collect(): whether its entries were only removed, and
// which (beyond kMostNames, it is listed again instead).
struct Told {
    static constexpr size_t kMostNames = 1024;
    bool onlyRemoved = true;
    std::vector<std::string> names;
    void add(bool removal, std::string_view name) {
        if (!onlyRemoved) return;
        if (removal && !name.empty() && name != "." && names.size() < kMostNames)
            names.emplace_back(name);
        else
            onlyRemoved = false, names = {};
    }
    void tell(int32_t folder, std::vector<int32_t>& changed, std::vector<Removed>& removed) {
        if (!onlyRemoved) return changed.push_back(folder);
        for (std::string& n : names)
            removed.push_back({folder, std::move(n)});
    }
};

constexpr uint32_t kInotifyMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB |
                                  IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

class InotifyWatch : public ChangeWatch {
public:
    InotifyWatch(int fd, KeptTree& tree, std::function<void()> arrived)
        : fd_(fd), budget_(watchBudget()), tree_(tree), arrived_(arrived) {
        reader_.start(
            fd_,
            [this](const char* data, size_t size) {
                for (size_t at = 0; at + sizeof(inotify_event) <= size;) {
                    const auto* e = reinterpret_cast<const inotify_event*>(data + at);
                    at += sizeof(inotify_event) + e->len;
                    const uint32_t kind = e->mask & ~uint32_t(IN_ISDIR);
                    if (e->mask & IN_Q_OVERFLOW)
                        lost_ = true;
                    else
                        told_[e->wd].add(kind == IN_DELETE || kind == IN_MOVED_FROM,
                                         e->len ? std::string_view(e->name) : std::string_view());
                    // A change of the folder's own status: its parent tells whether it can still be
                    // entered.
                    if ((e->mask & (IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) && e->len == 0)
                        selfChanged_.insert(e->wd);
                }
                return size; // FIONREAD counts bytes
            },
            1, std::move(arrived));
    }
    ~InotifyWatch() override {
        stop_ = true;
        if (adder_.joinable()) adder_.join();
        reader_.finish();
        watchesHeld -= byWd_.size();
        ::close(fd_);
    }
    void entered(int32_t folder, int dirFd) override {
        if (deferring_) return; // the first walk: set later
        char path[64];
        std::snprintf(path, sizeof path, "/proc/self/fd/%d", dirFd);
        add(folder, path);
    }
    void walkEnded(std::mutex& memory) override {
        deferring_ = false;
        adder_ = std::thread([this, &memory] {
            for (int32_t f = 0; !stop_ && size_t(f) < tree_.folderCount() && watchesHeld < budget_;) {
                std::unique_lock lock(memory, std::try_to_lock);
                if (!lock) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    continue;
                }
                for (int n = 0; n < 512 && size_t(f) < tree_.folderCount(); ++n, ++f) {
                    if (tree_.folder(f).parent == -2 || watches(f)) continue; // dropped, or set by a relist
                    if (!add(f, tree_.path(f).c_str())) continue;
                    std::lock_guard changes(reader_.mutex);
                    if (tree_.unchanged(f)) continue;
                    changedSince_.push_back(f);
                    if (arrived_) arrived_();
                }
            }
        });
    }
    bool add(int32_t folder, const char* path) {
        if (wdOf_.size() <= size_t(folder)) wdOf_.resize(size_t(folder) + 1, -1);
        if (wdOf_[size_t(folder)] >= 0) return false;
        if (watchesHeld >= budget_) return false;
        const int wd = ::inotify_add_watch(fd_, path, kInotifyMask | IN_DONT_FOLLOW);
        if (wd < 0) return false;
        std::lock_guard lock(reader_.mutex);
        if (byWd_.emplace(wd, folder).second)
            ++watchesHeld;
        else
            byWd_[wd] = folder;
        wdOf_[size_t(folder)] = wd;
        return true;
    }
    void dropped(int32_t folder) override {
        if (wdOf_.size() <= size_t(folder) || wdOf_[size_t(folder)] < 0) return;
        const int wd = std::exchange(wdOf_[size_t(folder)], -1);
        std::lock_guard lock(reader_.mutex);
        const auto it = byWd_.find(wd);
        if (it == byWd_.end() || it->second != folder) return;
        byWd_.erase(it), --watchesHeld;
        ::inotify_rm_watch(fd_, wd);
    }
    bool watches(int32_t folder) const override {
        return size_t(folder) < wdOf_.size() && wdOf_[size_t(folder)] >= 0;
    }
    bool collect(std::vector<int32_t>& changed, std::vector<Removed>& removed) override {
        std::lock_guard lock(reader_.mutex);
        reader_.drain();
        for (auto& [wd, told] : told_)
            if (const auto it = byWd_.find(wd); it != byWd_.end()) told.tell(it->second, changed, removed);
        for (const int wd : selfChanged_)
            if (const auto it = byWd_.find(wd); it != byWd_.end()) changed.push_back(-1 - it->second);
        changed.insert(changed.end(), changedSince_.begin(), changedSince_.end());
        told_.clear(), selfChanged_.clear(), changedSince_.clear();
        return !std::exchange(lost_, false);
    }
    size_t count() const override { return byWd_.size(); }

private:
    int fd_;
    size_t budget_;
    Reader reader_;
    std::unordered_map<int, int32_t> byWd_;
    std::vector<int> wdOf_;
    std::unordered_map<int, Told> told_;
    std::set<int> selfChanged_;
    bool lost_ = false;
    KeptTree& tree_;
    bool deferring_ = true;
    std::atomic<bool> stop_{false};
    std::function<void()> arrived_;
    std::vector<int32_t> changedSince_; // watched late, and changed since listed
    std::thread adder_;
};

class FanotifyWatch : public ChangeWatch {
public:
    FanotifyWatch(int fd, int mountFd, KeptTree& tree, std::function<void()> arrived)
        : fd_(fd), mountFd_(mountFd), tree_(tree) {
        reader_.start(
            fd_,
            [this](const char* data, size_t size) {
                size_t events = 0;
                for (auto* m = reinterpret_cast<const fanotify_event_metadata*>(data); FAN_EVENT_OK(m, size);
                     m = FAN_EVENT_NEXT(m, size), ++events) {
                    if (m->mask & FAN_Q_OVERFLOW) {
                        lost_ = true;
                        continue;
                    }
                    const auto* info = reinterpret_cast<const fanotify_event_info_fid*>(m + 1);
                    if (m->event_len <= sizeof *m) continue;
                    const auto* handle = reinterpret_cast<const file_handle*>(info->handle);
                    const bool self = info->hdr.info_type == FAN_EVENT_INFO_TYPE_FID ||
                                      info->hdr.info_type == FAN_EVENT_INFO_TYPE_DFID;
                    std::string key(reinterpret_cast<const char*>(handle),
                                    sizeof(file_handle) + handle->handle_bytes);
                    if (self) {
                        selfChanged_.insert(std::move(key));
                        continue;
                    }
                    // The entry's name follows the folder's handle ("." for the folder itself).
                    const uint64_t kind = m->mask & ~uint64_t(FAN_ONDIR);
                    changed_[key].add(kind == FAN_DELETE || kind == FAN_MOVED_FROM,
                                      info->hdr.info_type == FAN_EVENT_INFO_TYPE_DFID_NAME
                                          ? std::string_view(reinterpret_cast<const char*>(handle->f_handle) +
                                                             handle->handle_bytes)
                                          : std::string_view());
                }
                return events;
            },
            FAN_EVENT_METADATA_LEN, std::move(arrived)); // FIONREAD counts that much for each event
    }
    ~FanotifyWatch() override {
        reader_.finish();
        ::close(fd_), ::close(mountFd_);
    }
    void entered(int32_t, int) override {}
    void dropped(int32_t) override {}
    bool watches(int32_t) const override { return true; }
    bool collect(std::vector<int32_t>& changed, std::vector<Removed>& removed) override {
        std::map<std::string, Told> folders;
        std::set<std::string> selves;
        bool lost;
        {
            std::lock_guard lock(reader_.mutex);
            reader_.drain();
            folders.swap(changed_), selves.swap(selfChanged_);
            lost = std::exchange(lost_, false);
        }
        // Each folder's handle opened, on every core: its inode names it in the tree (a tree that holds
        // one folder twice is not kept).
        std::vector<const std::string*> keys;
        std::vector<Told*> told;
        for (auto& [key, t] : folders)
            keys.push_back(&key), told.push_back(&t);
        for (const std::string& key : selves)
            keys.push_back(&key);
        std::vector<std::pair<ino_t, size_t>> inodes(keys.size(), {0, 0}); // with the key's place
        const dev_t device = tree_.folder(0).device;
        const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
        std::vector<std::thread> workers;
        for (unsigned t = 0; t < threads && !keys.empty(); ++t)
            workers.emplace_back([&, t] {
                for (size_t k = t; k < keys.size(); k += threads) {
                    std::string handle = *keys[k];
                    const int fd = ::open_by_handle_at(
                        mountFd_, reinterpret_cast<file_handle*>(handle.data()), O_PATH | O_CLOEXEC);
                    struct stat st {};
                    inodes[k] = {fd >= 0 && ::fstat(fd, &st) == 0 && st.st_dev == device ? st.st_ino : 0, k};
                    if (fd >= 0) ::close(fd);
                }
            });
        for (std::thread& w : workers)
            w.join();
        std::sort(inodes.begin(), inodes.end());
        if (!keys.empty())
            tree_.forEachLive([&](int32_t f) {
                const ino_t inode = tree_.folder(f).inode;
                for (auto it = std::lower_bound(inodes.begin(), inodes.end(), std::pair(inode, size_t(0)));
                     it != inodes.end() && it->first == inode; ++it)
                    if (it->second < told.size())
                        told[it->second]->tell(f, changed, removed);
                    else
                        changed.push_back(-1 - f);
            });
        return !lost;
    }
    size_t count() const override { return 0; }

private:
    int fd_, mountFd_;
    KeptTree& tree_;
    Reader reader_;
    std::map<std::string, Told> changed_;
    std::set<std::string> selfChanged_;
    bool lost_ = false;
};

} // namespace

std::unique_ptr<ChangeWatch> ChangeWatch::create(const std::string& root, KeptTree& tree,
                                                 std::function<void()> arrived) {
    const int fan = ::fanotify_init(FAN_CLASS_NOTIF | FAN_CLOEXEC | FAN_NONBLOCK | FAN_UNLIMITED_QUEUE |
                                        FAN_REPORT_DFID_NAME,
                                    O_RDONLY | O_CLOEXEC);
    if (fan >= 0) {
        const int mountFd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const uint64_t mask = FAN_CREATE | FAN_DELETE | FAN_MOVED_FROM | FAN_MOVED_TO | FAN_ATTRIB |
                              FAN_DELETE_SELF | FAN_MOVE_SELF | FAN_ONDIR;
        if (mountFd >= 0 &&
            ::fanotify_mark(fan, FAN_MARK_ADD | FAN_MARK_FILESYSTEM, mask, AT_FDCWD, root.c_str()) == 0)
            return std::make_unique<FanotifyWatch>(fan, mountFd, tree, std::move(arrived));
        if (mountFd >= 0) ::close(mountFd);
        ::close(fan);
    }
    const int in = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (in < 0) return nullptr;
    return std::make_unique<InotifyWatch>(in, tree, std::move(arrived));
}

} // namespace search
