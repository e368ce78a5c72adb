#include "search/VolumeMemory.h"

#include "search/ChangeWatch.h"

#include <algorithm>
#include <fcntl.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>

namespace search {
namespace {

// The mount table as it stands: a mount or unmount anywhere changes it.
std::string mountTable() {
    std::string table;
    const int fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return table;
    char buffer[16384];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        table.append(buffer, size_t(got));
    ::close(fd);
    return table;
}

} // namespace

struct VolumeMemory::Kept {
    std::string root;
    std::unique_ptr<KeptTree> tree;
    std::unique_ptr<ChangeWatch> watch;
    std::string mounts;
    unsigned long long used = 0;
    std::vector<char> marked; // by folder: kListAgain, kRemove (the names in removed) or kUnmarked
    std::unordered_map<int32_t, std::vector<std::string>> removed;
    bool lost = false; // changes were lost: the folders' times tell
};

VolumeMemory& VolumeMemory::shared() {
    // Never destroyed: a search thread that was abandoned may still be inside it when the program ends.
    static VolumeMemory* memory = new VolumeMemory;
    return *memory;
}

VolumeMemory::VolumeMemory(bool watchChanges) : watchChanges_(watchChanges) {}
VolumeMemory::~VolumeMemory() {
    {
        std::lock_guard lock(keeperMutex_);
        quit_ = true;
        keeperWake_.notify_one();
    }
    if (keeper_.joinable()) keeper_.join();
    kept_.clear(); // while changesArrived() can still be called
}

void VolumeMemory::setEnabled(bool on) {
    std::lock_guard lock(mutex_);
    enabled_ = on;
    if (!on) kept_.clear();
}

bool VolumeMemory::keepsTreesOf(const std::string& path) {
    struct statfs fs {};
    if (::statfs(path.c_str(), &fs) != 0) return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53:     // ext2, ext3, ext4
    case 0x58465342: // XFS
    case 0x9123683E: // Btrfs
    case 0x01021994: // tmpfs
        return true;
    default:
        return false;
    }
}

void VolumeMemory::takeChanges(Kept& kept) {
    KeptTree& tree = *kept.tree;
    std::vector<int32_t> changed;
    std::vector<ChangeWatch::Removed> removed;
    if (!kept.watch || !kept.watch->collect(changed, removed)) kept.lost = true;
    std::vector<char>& marked = kept.marked;
    marked.resize(tree.folderCount(), kUnmarked);
    for (int32_t f : changed) {
        if (f < 0) f = -1 - f, f = f > 0 && size_t(f) < marked.size() ? tree.folder(f).parent : f;
        if (f >= 0 && size_t(f) < marked.size()) marked[size_t(f)] = kListAgain;
    }
    for (ChangeWatch::Removed& r : removed) {
        if (size_t(r.folder) >= marked.size() || marked[size_t(r.folder)] == kListAgain) continue;
        marked[size_t(r.folder)] = kRemove;
        kept.removed[r.folder].push_back(std::move(r.name));
    }
}

bool VolumeMemory::relistMarked(Kept& kept, const std::atomic<int>* stop) {
    KeptTree& tree = *kept.tree;
    // Parents first (walk order), so that a folder listed again decides which of its sub-folders are
    // still there; folders new to the tree were listed just now.
    std::vector<int32_t> order, listed;
    tree.forEachLive([&](int32_t f) {
        const char mark = size_t(f) < kept.marked.size() ? kept.marked[size_t(f)] : kUnmarked;
        if (mark != kUnmarked) order.push_back(f);
        if (mark == kListAgain) listed.push_back(f);
    });
    // Those listed again are read ahead on every core while the relists run, in that order. A folder
    // whose entries were only removed keeps the order of the others (so does every file system whose
    // trees are kept): they are taken out, without a listing.
    tree.prefetch(std::move(listed));
    bool ok = true;
    size_t done = 0;
    for (; done < order.size() && ok && !(stop && *stop > 0); ++done) {
        const int32_t f = order[done];
        const auto removed = kept.removed.find(f);
        if (tree.folder(f).parent == -2) { // dropped with a folder above it
        } else if (kept.marked[size_t(f)] == kRemove && tree.removeEntries(f, removed->second)) {
        } else {
            ok = tree.relist(f), ++relisted_;
        }
        kept.marked[size_t(f)] = kUnmarked;
        if (removed != kept.removed.end()) kept.removed.erase(removed);
    }
    tree.forgetPrefetched();
    if (done == order.size()) kept.marked.clear(), kept.removed.clear();
    if (ok && tree.wasteful()) tree.compact();
    return ok;
}

bool VolumeMemory::bringUpToDate(Kept& kept) {
    KeptTree& tree = *kept.tree;
    takeChanges(kept);
    std::vector<char>& marked = kept.marked;
    const bool tracked = !std::exchange(kept.lost, false);
    tree.linksUnchanged([&](int32_t f) { marked[size_t(f)] = kListAgain; });
    tree.closedUnchanged([&](int32_t f) { marked[size_t(f)] = kListAgain; });
    // The folders nobody watches are looked at by their times, on every core.
    std::vector<int32_t> unwatched;
    tree.forEachLive([&](int32_t f) {
        if (marked[size_t(f)] == kUnmarked && !(tracked && kept.watch->watches(f))) unwatched.push_back(f);
    });
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads && unwatched.size() > 64; ++t)
        workers.emplace_back([&, t] {
            for (size_t k = t; k < unwatched.size(); k += threads)
                if (!tree.unchanged(unwatched[k])) marked[size_t(unwatched[k])] = kListAgain;
        });
    for (std::thread& w : workers)
        w.join();
    if (workers.empty())
        for (const int32_t f : unwatched)
            if (!tree.unchanged(f)) marked[size_t(f)] = kListAgain;
    return relistMarked(kept, nullptr);
}

void VolumeMemory::changesArrived() {
    std::lock_guard lock(keeperMutex_);
    arrived_ = true;
    keeperWake_.notify_one();
}

void VolumeMemory::keepUp() {
    ::setpriority(PRIO_PROCESS, pid_t(::syscall(SYS_gettid)), 10); // its read-ahead workers too
    ::pthread_setname_np(::pthread_self(), "keeping up");
    const auto quit = [this] { return quit_; };
    std::unique_lock wait(keeperMutex_);
    for (;;) {
        keeperWake_.wait(wait, [&] { return quit_ || arrived_; });
        // Changes come in bursts: taken in once they pause, or now and then while they go on.
        const auto first = std::chrono::steady_clock::now();
        do
            arrived_ = false;
        while (!keeperWake_.wait_for(wait, std::chrono::milliseconds(kQuietMs), quit) && arrived_ &&
               std::chrono::steady_clock::now() - first < std::chrono::milliseconds(kMostWaitMs));
        if (quit_) return;
        wait.unlock();
        const auto began = std::chrono::steady_clock::now();
        {
            std::lock_guard lock(mutex_);
            const std::string mounts = mountTable();
            for (auto it = kept_.begin(); it != kept_.end() && wanted_ == 0;) {
                Kept& k = **it;
                if (k.mounts != mounts) { // the next search would walk: its memory and watches go now
                    it = kept_.erase(it);
                    continue;
                }
                if (!k.watch) {
                    ++it;
                    continue;
                }
                takeChanges(k);
                const size_t before = relisted_;
                const bool ok = relistMarked(k, &wanted_);
                takenIn_ += relisted_ - before;
                it = ok ? it + 1 : kept_.erase(it);
            }
        }
        // A quarter of the time at most, while changes go on.
        wait.lock();
        keeperWake_.wait_for(wait, (std::chrono::steady_clock::now() - began) * 3, quit);
    }
}

bool VolumeMemory::search(const std::string& root, const WildcardPattern& pattern, WalkSink& sink,
                          FolderWalk& walk) {
    if (!keepsTreesOf(root)) {
        last_ = Answer::Walked;
        return walk.run(root, pattern, sink);
    }
    ++wanted_;
    std::unique_lock lock(mutex_);
    --wanted_;
    relisted_ = 0;
    auto at = std::find_if(kept_.begin(), kept_.end(), [&](const auto& k) { return k->root == root; });
    const std::string mounts = mountTable();
    if (enabled_ && at != kept_.end() && (*at)->mounts == mounts && bringUpToDate(**at)) {
        (*at)->used = ++uses_;
        last_ = Answer::FromMemory;
        lastRelisted_ = relisted_;
        return (*at)->tree->replay(pattern, sink, walk.yieldInterval());
    }
    if (at != kept_.end()) kept_.erase(at);
    last_ = Answer::Walked;
    lastRelisted_ = 0;
    if (!enabled_) return walk.run(root, pattern, sink);
    auto kept = std::make_unique<Kept>();
    kept->root = root, kept->mounts = mounts, kept->used = ++uses_;
    kept->tree = std::make_unique<KeptTree>(root);
    if (watchChanges_) kept->watch = ChangeWatch::create(root, *kept->tree, [this] { changesArrived(); });
    if (ChangeWatch* watch = kept->watch.get()) {
        kept->tree->onEntered = [watch](int32_t folder, int fd) { watch->entered(folder, fd); };
        kept->tree->onDropped = [watch](int32_t folder) { watch->dropped(folder); };
    }
    walk.setRecord(kept->tree.get());
    const bool ended = walk.run(root, pattern, sink);
    walk.setRecord(nullptr);
    if (!ended || !kept->tree->complete() || walk.readAhead() || mountTable() != mounts ||
        kept->tree->holdsAFolderTwice())
        return ended;
    kept->tree->compact();
    if (kept->watch) kept->watch->walkEnded(mutex_);
    if (kept_.size() == kMaxVolumes)
        kept_.erase(std::min_element(kept_.begin(), kept_.end(),
                                     [](const auto& a, const auto& b) { return a->used < b->used; }));
    kept_.push_back(std::move(kept));
    if (!keeper_.joinable() && watchChanges_) keeper_ = std::thread([this] { keepUp(); });
    return ended;
}

size_t VolumeMemory::keptBytes(const std::string& root) {
    std::lock_guard lock(mutex_);
    for (const auto& k : kept_)
        if (k->root == root) return k->tree->bytes();
    return 0;
}

size_t VolumeMemory::watches(const std::string& root) {
    std::lock_guard lock(mutex_);
    for (const auto& k : kept_)
        if (k->root == root) return k->watch ? k->watch->count() : 0;
    return 0;
}

} // namespace search
