#include "search/KeptTree.h"

#include <QElapsedTimer>
#include <algorithm>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace search {

namespace {

// A folder changed this shortly before it was listed may change again within the same tick of the
// file system's clock without its times showing it: it is listed again at the next search.
constexpr int64_t kUntrustedNs = 20'000'000;

// Room for what a relist adds, in steps of an eighth once the tree was compacted after its first
// walk (doubling would hold as much again); during that walk, the containers' own doubling.
template <typename V> void makeRoom(V& v, size_t more, bool tight) {
    if (tight && v.size() + more > v.capacity()) v.reserve(v.size() + std::max(more, v.size() / 8 + 1024));
}

int64_t nowNs() {
    struct timespec t {};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}
int64_t ns(const struct timespec& t) {
    return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}
bool same(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}
// A walk that tells nothing: it only records, for a folder that is new to the kept tree.
struct Silent : WalkSink {
    void fileFound(std::string_view, std::string_view, bool) override {}
    void folderListed(std::string_view) override {}
    bool yield() override { return true; }
};

} // namespace

KeptTree::KeptTree(std::string root) : root_(std::move(root)) {}

uint32_t KeptTree::addName(std::string_view name) {
    const auto at = uint32_t(names_.size());
    makeRoom(names_, name.size(), compacted_);
    names_.insert(names_.end(), name.begin(), name.end());
    return at;
}

void KeptTree::entered(int fd, const struct stat& st) {
    Folder f;
    f.device = st.st_dev, f.inode = st.st_ino, f.mtime = st.st_mtim, f.ctime = st.st_ctim;
    f.listedAtNs = nowNs();
    f.files = uint32_t(files_.size()), f.subs = uint32_t(subs_.size());
    const auto index = int32_t(folders_.size());
    int32_t sub = -1;
    if (!stack_.empty()) {
        Open& up = stack_.back();
        sub = int32_t(folders_[size_t(up.folder)].subs + up.next++);
        f.parent = up.folder;
    } else if (attachTo_ >= 0) {
        sub = std::exchange(attachTo_, -1);
        f.parent = attachParent_;
    } else {
        volume_ = st.st_dev;
    }
    if (sub >= 0) {
        subs_[size_t(sub)].child = index;
        f.nameAt = subs_[size_t(sub)].at, f.nameSize = subs_[size_t(sub)].size;
    }
    makeRoom(folders_, 1, compacted_);
    folders_.push_back(f);
    stack_.push_back({index, 0});
    if (onEntered) onEntered(index, fd);
}

void KeptTree::file(std::string_view name, unsigned char type) {
    Folder& f = folders_[size_t(stack_.back().folder)];
    makeRoom(files_, 1, compacted_);
    files_.push_back({addName(name), uint16_t(name.size()), type});
    ++f.fileCount;
    if (type == DT_LNK) links_.push_back({stack_.back().folder, files_.back().at, files_.back().size, false});
}

void KeptTree::subFolder(std::string_view name) {
    makeRoom(subs_, 1, compacted_);
    subs_.push_back({addName(name), uint16_t(name.size()), -1});
    ++folders_[size_t(stack_.back().folder)].subCount;
}

void KeptTree::linkToFolder(std::string_view name) {
    links_.push_back({stack_.back().folder, addName(name), uint16_t(name.size()), true});
}

void KeptTree::notEntered() {
    Open& up = stack_.back();
    noteClosed(up.folder, folders_[size_t(up.folder)].subs + up.next++);
}

void KeptTree::noteClosed(int32_t folder, uint32_t sub) {
    const std::string p = entryPath(folder, subs_[sub].at, subs_[sub].size);
    struct stat st {};
    const bool exists = ::fstatat(AT_FDCWD, p.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    closed_.push_back({folder, subs_[sub].at, subs_[sub].size, exists, exists ? st.st_ino : 0,
                       exists ? ns(st.st_ctim) : 0});
}

bool KeptTree::closedUnchanged(const std::function<void(int32_t)>& changed) const {
    bool all = true;
    for (const Closed& c : closed_) {
        if (folders_[size_t(c.folder)].parent == -2) continue; // dropped
        const std::string p = entryPath(c.folder, c.at, c.size);
        struct stat st {};
        const bool exists = ::fstatat(AT_FDCWD, p.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
        if (exists != c.exists || (exists && (st.st_ino != c.inode || ns(st.st_ctim) != c.ctimeNs)))
            all = false, changed(c.folder);
    }
    return all;
}

void KeptTree::left() {
    stack_.pop_back();
}

bool KeptTree::replay(const WildcardPattern& pattern, WalkSink& sink, int yieldIntervalMs) const {
    if (folders_.empty()) return true;
    // Which files match, on every core.
    std::vector<uint8_t> match(files_.size());
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 16u);
    const size_t per = (files_.size() + threads - 1) / threads;
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads && t * per < files_.size(); ++t)
        workers.emplace_back([&, t] {
            for (size_t i = t * per, end = std::min(files_.size(), i + per); i < end; ++i)
                match[i] = pattern.matches(nameOf(files_[i].at, files_[i].size));
        });
    for (std::thread& w : workers)
        w.join();

    QElapsedTimer sinceYield;
    sinceYield.start();
    unsigned turns = 0;
    const auto yieldPoint = [&] { // the clock read every 16 turns (a turn takes well under a microsecond)
        if (yieldIntervalMs > 0 && (++turns % 16 != 0 || sinceYield.elapsed() < yieldIntervalMs)) return true;
        const bool goOn = sink.yield();
        sinceYield.start();
        return goOn;
    };
    struct Frame {
        int32_t folder;
        uint32_t next;
        size_t pathLen;
    };
    std::vector<Frame> stack;
    std::string path = root_;
    const auto enter = [&](int32_t index) {
        const Folder& f = folders_[size_t(index)];
        bool first = true;
        for (uint32_t i = f.files; i < f.files + f.fileCount; ++i) {
            if (!match[i]) continue;
            sink.fileFound(path, nameOf(files_[i].at, files_[i].size), first);
            first = false;
            if (!yieldPoint()) return false;
        }
        sink.folderListed(path);
        stack.push_back({index, 0, path.size()});
        return true;
    };
    if (!enter(0)) return false;
    while (!stack.empty()) {
        Frame& top = stack.back();
        const Folder& f = folders_[size_t(top.folder)];
        if (top.next == f.subCount) {
            stack.pop_back();
            if (!stack.empty()) path.resize(stack.back().pathLen);
            continue;
        }
        if (!yieldPoint()) return false;
        const Sub& s = subs_[f.subs + top.next++];
        if (s.child < 0) continue;
        if (path.empty() || path.back() != '/') path.push_back('/');
        path.append(nameOf(s.at, s.size));
        if (!enter(s.child)) return false;
    }
    return true;
}

std::string KeptTree::path(int32_t index) const {
    std::vector<std::string_view> parts;
    for (int32_t i = index; i > 0; i = folders_[size_t(i)].parent)
        parts.push_back(nameOf(folders_[size_t(i)].nameAt, folders_[size_t(i)].nameSize));
    std::string p = root_;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        if (p.empty() || p.back() != '/') p.push_back('/');
        p.append(*it);
    }
    return p;
}

int32_t KeptTree::find(std::string_view p) const {
    std::string_view root(root_);
    while (root.size() > 1 && root.back() == '/')
        root.remove_suffix(1);
    if (folders_.empty() || p.substr(0, root.size()) != root) return -1;
    p.remove_prefix(root.size());
    int32_t at = 0;
    while (!p.empty()) {
        while (!p.empty() && p.front() == '/')
            p.remove_prefix(1);
        if (p.empty()) break;
        const std::string_view part = p.substr(0, p.find('/'));
        p.remove_prefix(part.size());
        const Folder& f = folders_[size_t(at)];
        int32_t next = -1;
        for (uint32_t i = f.subs; i < f.subs + f.subCount && next < 0; ++i)
            if (subs_[i].child >= 0 && nameOf(subs_[i].at, subs_[i].size) == part) next = subs_[i].child;
        if (next < 0) return -1;
        at = next;
    }
    return at;
}

void KeptTree::forEachLive(const std::function<void(int32_t)>& visit) const {
    if (folders_.empty()) return;
    std::vector<int32_t> stack{0};
    while (!stack.empty()) {
        const int32_t i = stack.back();
        stack.pop_back();
        visit(i);
        const Folder& f = folders_[size_t(i)];
        for (uint32_t s = f.subs + f.subCount; s-- > f.subs;)
            if (subs_[s].child >= 0) stack.push_back(subs_[s].child);
    }
}

bool KeptTree::onPath(int32_t folder, dev_t device, ino_t inode) const {
    for (int32_t i = folder; i >= 0; i = folders_[size_t(i)].parent)
        if (folders_[size_t(i)].device == device && folders_[size_t(i)].inode == inode) return true;
    return false;
}

bool KeptTree::unchanged(int32_t index) const {
    const Folder& f = folders_[size_t(index)];
    const std::string p = path(index);
    struct stat st {};
    if (p.size() >= PATH_MAX || ::fstatat(AT_FDCWD, p.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    return st.st_ino == f.inode && st.st_dev == f.device && same(st.st_mtim, f.mtime) &&
           same(st.st_ctim, f.ctime) && std::max(ns(f.mtime), ns(f.ctime)) < f.listedAtNs - kUntrustedNs;
}

std::string KeptTree::entryPath(int32_t folder, uint32_t at, uint16_t size) const {
    std::string p = path(folder);
    if (p.empty() || p.back() != '/') p.push_back('/');
    return p.append(nameOf(at, size));
}

bool KeptTree::linksUnchanged(const std::function<void(int32_t)>& changed) const {
    bool all = true;
    for (const Link& l : links_) {
        if (folders_[size_t(l.folder)].parent == -2) continue; // dropped
        struct stat st {};
        const bool toFolder = ::fstatat(AT_FDCWD, entryPath(l.folder, l.at, l.size).c_str(), &st, 0) == 0 &&
                              S_ISDIR(st.st_mode);
        if (toFolder != l.toFolder) all = false, changed(l.folder);
    }
    return all;
}

void KeptTree::drop(int32_t index) {
    std::vector<int32_t> stack{index};
    while (!stack.empty()) {
        const int32_t i = stack.back();
        stack.pop_back();
        Folder& f = folders_[size_t(i)];
        for (uint32_t s = f.subs; s < f.subs + f.subCount; ++s)
            if (subs_[s].child >= 0) stack.push_back(subs_[s].child);
        if (onDropped) onDropped(i);
        f.parent = -2, f.subCount = 0, f.fileCount = 0;
    }
}

bool KeptTree::walkNew(int32_t parent, size_t sub, int parentFd) {
    const std::string name(nameOf(subs_[sub].at, subs_[sub].size));
    const int fd = ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    const bool enter =
        fd >= 0 && ::fstat(fd, &st) == 0 && st.st_dev == volume_ && !onPath(parent, st.st_dev, st.st_ino);
    if (fd >= 0) ::close(fd);
    if (!enter) return noteClosed(parent, uint32_t(sub)), true;
    const std::string p = entryPath(parent, subs_[sub].at, subs_[sub].size);
    if (p.size() >= PATH_MAX) return false;
    std::vector<std::pair<dev_t, ino_t>> outer;
    for (int32_t i = parent; i >= 0; i = folders_[size_t(i)].parent)
        outer.emplace_back(folders_[size_t(i)].device, folders_[size_t(i)].inode);
    FolderWalk walk;
    walk.setYieldInterval(INT_MAX);
    walk.setOuterPath(std::move(outer));
    walk.setRecord(this);
    attachTo_ = int32_t(sub), attachParent_ = parent;
    Silent silent;
    walk.run(p, WildcardPattern(QStringLiteral("*")), silent);
    attachTo_ = -1;
    return stack_.empty();
}

void KeptTree::Listing::read(const std::string& path) {
    fd = path.size() < PATH_MAX ? ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC) : -1;
    if (fd < 0 || ::fstat(fd, &st) != 0) return;
    at = nowNs();
    char buffer[32 * 1024];
    for (ssize_t got; (got = ::getdents64(fd, buffer, sizeof buffer)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + got);
    for (size_t offset = 0; offset < bytes.size();) {
        const auto* e = reinterpret_cast<const struct dirent64*>(bytes.data() + offset);
        offset += e->d_reclen;
        unsigned char type = e->d_type;
        const EntryKind kind = entryKind(fd, e->d_name, type);
        kinds.emplace_back(kind, type);
        if (kind != EntryKind::Folder) continue;
        struct stat sub {};
        const int probe = ::openat(fd, e->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (probe >= 0 && ::fstat(probe, &sub) != 0) sub = {};
        if (probe >= 0) ::close(probe);
        probes.push_back({sub.st_dev, sub.st_ino});
    }
}

// The folders being read ahead: workers take them in order, at most kMaxAhead past the last one
// taken, and each waits, open, until its relist takes it.
struct KeptTree::Ahead {
    static constexpr size_t kMaxAhead = 256;
    std::vector<std::string> paths;
    std::vector<Listing> listings;
    std::vector<char> done;
    std::unordered_map<int32_t, size_t> slot;
    std::mutex mutex;
    std::condition_variable changed;
    size_t next = 0, taken = 0;
    bool stop = false;
    std::vector<std::thread> workers;

    void work() {
        for (;;) {
            size_t i = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || next == paths.size() || next < taken + kMaxAhead; });
                if (stop || next == paths.size()) return;
                i = next++;
            }
            listings[i].read(paths[i]);
            {
                std::lock_guard lock(mutex);
                done[i] = 1;
            }
            changed.notify_all();
        }
    }
    ~Ahead() {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
        for (std::thread& w : workers)
            w.join();
        for (const Listing& l : listings)
            if (l.fd >= 0) ::close(l.fd);
    }
};

KeptTree::~KeptTree() = default;

void KeptTree::prefetch(std::vector<int32_t> folders) {
    ahead_.reset();
    if (folders.empty()) return;
    ahead_ = std::make_unique<Ahead>();
    Ahead& a = *ahead_;
    // Paths now: the workers never look at the tree, which the relists change meanwhile.
    for (size_t i = 0; i < folders.size(); ++i)
        a.slot.emplace(folders[i], i), a.paths.push_back(path(folders[i]));
    a.listings.resize(folders.size()), a.done.resize(folders.size());
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    for (unsigned t = 0; t < threads; ++t)
        a.workers.emplace_back([&a] { a.work(); });
}

bool KeptTree::takeAhead(int32_t folder, Listing& listing) {
    if (!ahead_) return false;
    Ahead& a = *ahead_;
    const auto it = a.slot.find(folder);
    if (it == a.slot.end()) return false;
    const size_t i = it->second;
    a.slot.erase(it);
    std::unique_lock lock(a.mutex);
    a.taken = std::max(a.taken, i + 1);
    a.changed.notify_all();
    a.changed.wait(lock, [&] { return a.done[i] != 0; });
    listing = std::move(a.listings[i]);
    a.listings[i].fd = -1;
    return true;
}

void KeptTree::forgetPrefetched() {
    ahead_.reset();
}

bool KeptTree::relist(int32_t index) {
    const std::string p = path(index);
    if (p.size() >= PATH_MAX) return false;
    const int32_t parent = folders_[size_t(index)].parent;
    Listing listing;
    if (!takeAhead(index, listing)) listing.read(p);
    const int fd = listing.fd;
    const struct stat& st = listing.st;
    if (listing.at == 0 || st.st_dev != volume_ || onPath(parent, st.st_dev, st.st_ino) ||
        (index > 0 && st.st_ino != folders_[size_t(index)].inode)) {
        if (fd >= 0) ::close(fd);
        if (index == 0) return false;
        // No longer a folder the walk can enter there.
        const Folder& up = folders_[size_t(parent)];
        for (uint32_t s = up.subs; s < up.subs + up.subCount; ++s)
            if (subs_[s].child == index) subs_[s].child = -1, noteClosed(parent, s);
        drop(index);
        return true;
    }
    if (onEntered) onEntered(index, fd);
    const Folder old = folders_[size_t(index)];
    {
        Folder& f = folders_[size_t(index)];
        f.device = st.st_dev, f.inode = st.st_ino, f.mtime = st.st_mtim, f.ctime = st.st_ctim;
        f.listedAtNs = listing.at;
        f.files = uint32_t(files_.size()), f.fileCount = 0;
        f.subs = uint32_t(subs_.size()), f.subCount = 0;
    }
    std::erase_if(links_, [&](const Link& l) { return l.folder == index; });
    std::erase_if(closed_, [&](const Closed& c) { return c.folder == index; });
    // Its entries, as the walk tells them.
    stack_.push_back({index, 0});
    size_t k = 0;
    for (size_t offset = 0; offset < listing.bytes.size(); ++k) {
        const auto* e = reinterpret_cast<const struct dirent64*>(listing.bytes.data() + offset);
        offset += e->d_reclen;
        switch (listing.kinds[k].first) {
        case EntryKind::Skip:
            break;
        case EntryKind::File:
            file(e->d_name, listing.kinds[k].second);
            break;
        case EntryKind::Folder:
            subFolder(e->d_name);
            break;
        case EntryKind::LinkToFolder:
            linkToFolder(e->d_name);
            break;
        }
    }
    stack_.pop_back();
    // Sub-folders that are the ones it held before, and can still be entered (their permissions may
    // have changed), keep what is kept of them; the others are walked; those gone are dropped.
    const auto name = [this](uint32_t sub) { return nameOf(subs_[sub].at, subs_[sub].size); };
    const auto byName = [&](uint32_t a, uint32_t b) { return name(a) < name(b); };
    std::vector<uint32_t> before;
    for (uint32_t s = old.subs; s < old.subs + old.subCount; ++s)
        if (subs_[s].child >= 0) before.push_back(s);
    std::sort(before.begin(), before.end(), byName);
    std::vector<char> stays(before.size(), 0);
    const uint32_t first = folders_[size_t(index)].subs, count = folders_[size_t(index)].subCount;
    bool ok = true;
    for (uint32_t s = first; s < first + count && ok; ++s) {
        const auto was = std::lower_bound(before.begin(), before.end(), s, byName);
        const int32_t child = was != before.end() && name(*was) == name(s) ? subs_[*was].child : -1;
        const Listing::Probe& probe = listing.probes[s - first];
        if (child >= 0 && probe.inode == folders_[size_t(child)].inode && probe.device == volume_) {
            subs_[s].child = child;
            folders_[size_t(child)].nameAt = subs_[s].at, folders_[size_t(child)].nameSize = subs_[s].size;
            stays[size_t(was - before.begin())] = 1;
        } else {
            ok = walkNew(index, s, fd);
        }
    }
    ::close(fd);
    for (size_t i = 0; i < before.size(); ++i)
        if (!stays[i]) drop(subs_[before[i]].child);
    return ok;
}

bool KeptTree::removeEntries(int32_t index, const std::vector<std::string>& names) {
    const std::unordered_set<std::string_view> gone(names.begin(), names.end());
    const auto named = [&](uint32_t at, uint16_t size) { return gone.count(nameOf(at, size)) > 0; };
    Folder& f = folders_[size_t(index)];
    size_t held = 0;
    for (uint32_t k = f.files; k < f.files + f.fileCount; ++k)
        held += named(files_[k].at, files_[k].size);
    for (uint32_t k = f.subs; k < f.subs + f.subCount; ++k)
        held += named(subs_[k].at, subs_[k].size);
    for (const Link& l : links_)
        held += l.folder == index && l.toFolder && named(l.at, l.size);
    if (held != gone.size()) return false;
    std::erase_if(links_, [&](const Link& l) { return l.folder == index && named(l.at, l.size); });
    std::erase_if(closed_, [&](const Closed& c) { return c.folder == index && named(c.at, c.size); });
    uint32_t to = f.files;
    for (uint32_t k = f.files; k < f.files + f.fileCount; ++k)
        if (!named(files_[k].at, files_[k].size)) files_[to++] = files_[k];
    f.fileCount = to - f.files;
    to = f.subs;
    for (uint32_t k = f.subs; k < f.subs + f.subCount; ++k) {
        if (!named(subs_[k].at, subs_[k].size))
            subs_[to++] = subs_[k];
        else if (subs_[k].child >= 0)
            drop(subs_[k].child);
    }
    f.subCount = to - f.subs;
    return true;
}

void KeptTree::compact() {
    compacted_ = true;
    size_t files = 0, subs = 0, bytes = 0;
    for (const Folder& f : folders_)
        if (f.parent != -2) files += f.fileCount, subs += f.subCount;
    if (files == files_.size() && subs == subs_.size()) { // nothing left behind, only room in reserve
        names_.shrink_to_fit(), folders_.shrink_to_fit(), files_.shrink_to_fit(), subs_.shrink_to_fit();
        links_.shrink_to_fit();
        return;
    }
    // What relists left behind is dropped: every live folder's files and sub-folders packed again, and
    // the links and sub-folders not entered of live folders with a name of their own.
    std::erase_if(links_, [&](const Link& l) { return folders_[size_t(l.folder)].parent == -2; });
    std::erase_if(closed_, [&](const Closed& c) { return folders_[size_t(c.folder)].parent == -2; });
    for (const Folder& f : folders_) {
        if (f.parent == -2) continue;
        for (uint32_t k = f.files; k < f.files + f.fileCount; ++k)
            bytes += files_[k].size;
        for (uint32_t k = f.subs; k < f.subs + f.subCount; ++k)
            bytes += subs_[k].size;
    }
    for (const Link& l : links_)
        bytes += l.size;
    for (const Closed& c : closed_)
        bytes += c.size;
    std::vector<char> names;
    std::vector<Name> packedFiles;
    std::vector<Sub> packedSubs;
    names.reserve(bytes), packedFiles.reserve(files), packedSubs.reserve(subs);
    const auto copy = [&](uint32_t at, uint16_t size) {
        const auto to = uint32_t(names.size());
        names.insert(names.end(), names_.data() + at, names_.data() + at + size);
        return to;
    };
    for (Folder& f : folders_) {
        if (f.parent == -2) continue;
        const auto firstFile = uint32_t(packedFiles.size()), firstSub = uint32_t(packedSubs.size());
        for (uint32_t k = f.files; k < f.files + f.fileCount; ++k)
            packedFiles.push_back({copy(files_[k].at, files_[k].size), files_[k].size, files_[k].type});
        for (uint32_t k = f.subs; k < f.subs + f.subCount; ++k) {
            packedSubs.push_back({copy(subs_[k].at, subs_[k].size), subs_[k].size, subs_[k].child});
            if (subs_[k].child >= 0) folders_[size_t(subs_[k].child)].nameAt = packedSubs.back().at;
        }
        f.files = firstFile, f.subs = firstSub;
    }
    for (Link& l : links_)
        l.at = copy(l.at, l.size);
    for (Closed& c : closed_)
        c.at = copy(c.at, c.size);
    names_.swap(names), files_.swap(packedFiles), subs_.swap(packedSubs);
    links_.shrink_to_fit(), closed_.shrink_to_fit();
}

bool KeptTree::wasteful() const {
    size_t live = 0;
    for (const Folder& f : folders_)
        if (f.parent != -2) live += f.fileCount + f.subCount;
    return (files_.size() + subs_.size() - live) * 5 > files_.size() + subs_.size();
}

bool KeptTree::holdsAFolderTwice() const {
    std::vector<ino_t> inodes; // all of one volume
    inodes.reserve(folders_.size());
    for (const Folder& f : folders_)
        if (f.parent != -2) inodes.push_back(f.inode);
    std::sort(inodes.begin(), inodes.end());
    return std::adjacent_find(inodes.begin(), inodes.end()) != inodes.end();
}

size_t KeptTree::bytes() const {
    return names_.capacity() + folders_.capacity() * sizeof(Folder) + files_.capacity() * sizeof(Name) +
           subs_.capacity() * sizeof(Sub) + links_.capacity() * sizeof(Link);
}

size_t KeptTree::entries() const {
    size_t n = 0;
    forEachLive([&](int32_t i) { n += folders_[size_t(i)].fileCount + folders_[size_t(i)].subCount; });
    return n;
}

} // namespace search
