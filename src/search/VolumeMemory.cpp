#include "search/VolumeMemory.h"

#include "search/ChangeWatch.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

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
};

VolumeMemory& VolumeMemory::shared() {
    // Never destroyed: a search thread that was abandoned may still be inside it when the program ends.
    static VolumeMemory* memory = new VolumeMemory;
    return *memory;
}

VolumeMemory::VolumeMemory(bool watchChanges) : watchChanges_(watchChanges) {}
VolumeMemory::~VolumeMemory() = default;

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

bool VolumeMemory::bringUpToDate(Kept& kept) {
    KeptTree& tree = *kept.tree;
    std::vector<int32_t> changed;
    const bool tracked = kept.watch && kept.watch->collect(changed);
    std::vector<char> dirty(tree.folderCount(), 0);
    for (int32_t f : changed) {
        if (f < 0) f = -1 - f, f = f > 0 && size_t(f) < dirty.size() ? tree.folder(f).parent : f;
        if (f >= 0 && size_t(f) < dirty.size()) dirty[size_t(f)] = 1;
    }
    tree.linksUnchanged([&](int32_t f) { dirty[size_t(f)] = 1; });
    tree.closedUnchanged([&](int32_t f) { dirty[size_t(f)] = 1; });
    // The folders nobody watches are looked at by their times, on every core.
    std::vector<int32_t> unwatched;
    tree.forEachLive([&](int32_t f) {
        if (!dirty[size_t(f)] && !(tracked && kept.watch->watches(f))) unwatched.push_back(f);
    });
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads && unwatched.size() > 64; ++t)
        workers.emplace_back([&, t] {
            for (size_t k = t; k < unwatched.size(); k += threads)
                if (!tree.unchanged(unwatched[k])) dirty[size_t(unwatched[k])] = 1;
        });
    for (std::thread& w : workers)
        w.join();
    if (workers.empty())
        for (const int32_t f : unwatched)
            if (!tree.unchanged(f)) dirty[size_t(f)] = 1;
    // The folders that changed are read ahead on every core while the relists run, in the order they
    // are listed again.
    std::vector<int32_t> ahead;
    tree.forEachLive([&](int32_t f) {
        if (dirty[size_t(f)]) ahead.push_back(f);
    });
    tree.prefetch(std::move(ahead));
    // Top down, so that a folder listed again decides which of its sub-folders are still there.
    std::vector<int32_t> stack{0};
    bool ok = true;
    while (!stack.empty() && ok) {
        const int32_t i = stack.back();
        stack.pop_back();
        // Folders new to the tree were listed just now.
        if (size_t(i) < dirty.size() && dirty[size_t(i)]) {
            ok = tree.relist(i);
            if (!ok || tree.folder(i).parent == -2) continue; // no longer entered
        }
        std::vector<int32_t> children;
        tree.forEachChild(i, [&](int32_t c) { children.push_back(c); });
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            stack.push_back(*it);
    }
    tree.forgetPrefetched();
    if (ok && tree.wasteful()) tree.compact();
    return ok;
}

bool VolumeMemory::search(const std::string& root, const WildcardPattern& pattern, WalkSink& sink,
                          FolderWalk& walk) {
    if (!keepsTreesOf(root)) {
        last_ = Answer::Walked;
        return walk.run(root, pattern, sink);
    }
    std::lock_guard lock(mutex_);
    auto at = std::find_if(kept_.begin(), kept_.end(), [&](const auto& k) { return k->root == root; });
    const std::string mounts = mountTable();
    if (enabled_ && at != kept_.end() && (*at)->mounts == mounts && bringUpToDate(**at)) {
        (*at)->used = ++uses_;
        last_ = Answer::FromMemory;
        return (*at)->tree->replay(pattern, sink, walk.yieldInterval());
    }
    if (at != kept_.end()) kept_.erase(at);
    last_ = Answer::Walked;
    if (!enabled_) return walk.run(root, pattern, sink);
    auto kept = std::make_unique<Kept>();
    kept->root = root, kept->mounts = mounts, kept->used = ++uses_;
    kept->tree = std::make_unique<KeptTree>(root);
    if (watchChanges_) kept->watch = ChangeWatch::create(root, *kept->tree);
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
