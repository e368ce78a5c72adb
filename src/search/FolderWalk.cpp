#include "search/FolderWalk.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace search {

namespace {

// The walk keeps this many folders of its current path open (each with the buffer of
// its listing); a folder further up is let go and opened again, through the ".." of its
// sub-folder, when the walk comes back to it.
constexpr size_t kMaxHeldFolders = 128;

// The bytes one read of a folder's entries fills, as the C library's own listings use.
constexpr size_t kListingBytes = 32 * 1024;

bool isDotOrDotDot(const char* n) {
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

bool isFolder(int fd, dev_t device, ino_t inode) {
    struct stat st {};
    return fd >= 0 && ::fstat(fd, &st) == 0 && st.st_dev == device && st.st_ino == inode;
}

} // namespace

EntryKind entryKind(int fd, const char* n, unsigned char& type) {
    if (isDotOrDotDot(n)) return EntryKind::Skip;
    if (type == DT_UNKNOWN) {
        struct stat es {};
        if (::fstatat(fd, n, &es, AT_SYMLINK_NOFOLLOW) == 0)
            type = S_ISDIR(es.st_mode) ? DT_DIR : S_ISLNK(es.st_mode) ? DT_LNK : DT_REG;
    }
    if (type == DT_LNK) { // a link to a folder is neither listed nor entered
        struct stat ts {};
        if (::fstatat(fd, n, &ts, 0) == 0 && S_ISDIR(ts.st_mode)) return EntryKind::LinkToFolder;
    }
    return type == DT_DIR ? EntryKind::Folder : EntryKind::File;
}

bool FolderWalk::run(const std::string& root, const WildcardPattern& pattern, WalkSink& sink) {
    pattern_ = &pattern;
    sink_ = &sink;
    goOn_ = true;
    path_ = root;
    subNames_.clear();
    subOffsets_.clear();
    levels_.clear();
    readAhead_.reset();
    listingsTimed_ = 0, slowListings_ = 0;
    if (!listing_) listing_ = std::make_unique<char[]>(kListingBytes);
    sinceYield_.start();
    struct stat st {};
    if (root.empty() || ::stat(root.c_str(), &st) != 0) return true;
    device_ = st.st_dev;
    SearchFolder(AT_FDCWD, root.c_str());
    while (!levels_.empty()) {
        Level& top = levels_.back();
        if (!goOn_ || top.next == top.subEnd) {
            leaveFolder();
            continue;
        }
        if (!yieldPoint()) {
            goOn_ = false;
            continue;
        }
        Ahead entering;
        if (readAhead_) {
            askAhead();
            if (!top.ahead.empty() && top.ahead.front().index == top.next)
                entering = std::move(top.ahead.front()), top.ahead.erase(top.ahead.begin());
        }
        const char* sub = subNames_.c_str() + top.namesBase + subOffsets_[top.next++];
        const int parentFd = top.fd;
        if (path_.empty() || path_.back() != '/') path_.push_back('/');
        path_.append(sub);
        // The name stays untouched until the sub-folder is open.
        if (!SearchFolder(parentFd, sub, entering.ticket ? &entering : nullptr))
            path_.resize(levels_.back().pathLen);
    }
    return goOn_;
}

// Keeps the volume busy: asks for the folders the walk reaches next, in the order it reaches them,
// as long as the read-ahead's bounds allow. For the folder being walked first, then each folder
// above it: below each sub-folder already read, its own sub-folders (and below them), then the
// next sub-folders not asked for yet.
void FolderWalk::askAhead() {
    for (size_t l = levels_.size(); l-- > 0;) {
        Level& level = levels_[l];
        for (Ahead& a : level.ahead)
            if (!askBelow(a)) return;
        if (level.fd < 0) continue;
        level.aheadFrom = std::max(level.aheadFrom, level.next);
        while (level.aheadFrom < level.subEnd) {
            if (!readAhead_->canAsk()) return;
            ReadAhead::Ticket ticket = readAhead_->request(level.fd, subNames_.c_str() + level.namesBase +
                                                                         subOffsets_[level.aheadFrom]);
            if (!ticket) return; // the walk opens it, and asks again for the ones after it
            level.ahead.push_back({level.aheadFrom++, std::move(ticket), {}, 0});
        }
    }
}

// Asks for the sub-folders of a folder read ahead, and below them; false once nothing more may be
// asked for.
bool FolderWalk::askBelow(Ahead& folder) {
    const ReadAhead::Listing* read = readAhead_->peek(folder.ticket);
    if (!read) return true; // not read yet
    for (Ahead& a : folder.below)
        if (!askBelow(a)) return false;
    while (folder.belowFrom < read->subFolders.size()) {
        if (!readAhead_->canAsk()) return false;
        ReadAhead::Ticket ticket = readAhead_->request(read->fd, read->subFolders[folder.belowFrom]);
        if (!ticket) return false;
        folder.below.push_back({folder.belowFrom++, std::move(ticket), {}, 0});
    }
    return true;
}

void FolderWalk::abandon(std::vector<Ahead>& folders) {
    for (Ahead& a : folders) {
        abandon(a.below);
        readAhead_->abandon(a.ticket);
    }
    folders.clear();
}

// Waits for a folder read ahead, keeping the volume busy meanwhile, and tells the sink where the
// walk waits once that takes long. False where the sink stopped the walk meanwhile.
bool FolderWalk::waitForListing(const ReadAhead::Ticket& ticket) {
    QElapsedTimer waited;
    waited.start();
    bool told = false;
    while (!readAhead_->waitFor(ticket, std::chrono::milliseconds(50))) {
        askAhead();
        if (!told && waited.elapsed() >= kStuckMs) {
            sink_->folderWaitedFor(path_);
            told = true;
        }
        if (!yieldPoint()) return false;
    }
    return true;
}

void FolderWalk::timedListing(qint64 ns) {
    if (listingsTimed_++ == 64) listingsTimed_ = 1, slowListings_ = 0;
    if (ns >= slowListingNs_) ++slowListings_;
    if (ns / 4 >= slowListingNs_ || slowListings_ == 3) readAhead_ = std::make_unique<ReadAhead>(device_);
}

bool FolderWalk::yieldPoint() {
    if (yieldIntervalMs_ > 0 && sinceYield_.elapsed() < yieldIntervalMs_) return true;
    const bool goOn = sink_->yield();
    sinceYield_.start();
    return goOn;
}

bool FolderWalk::onCurrentPath(dev_t device, ino_t inode) const {
    for (const Level& l : levels_)
        if (l.inode == inode && l.device == device) return true;
    for (const auto& [d, i] : outer_)
        if (i == inode && d == device) return true;
    return false;
}

// Opens the folder name (relative to parentFd), whose full path is path_, lists its
// matching files and puts it on the walk's path with its sub-folders still to be
// walked. Returns false, having listed nothing, where it may not be entered.
bool FolderWalk::SearchFolder(int parentFd, const char* name, Ahead* entering) {
    const ReadAhead::Ticket ticket = entering ? entering->ticket : nullptr;
    ReadAhead::Listing ahead;
    if (ticket) {
        if (!waitForListing(ticket)) {
            goOn_ = false;
            abandon(entering->below);
            readAhead_->abandon(ticket);
            return false;
        }
        ahead = readAhead_->take(ticket);
    }
    const int fd =
        ticket ? ahead.fd : ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || st.st_dev != device_ // another volume is mounted here
        || onCurrentPath(st.st_dev, st.st_ino)) {               // a folder mounted inside itself
        if (fd >= 0) ::close(fd);
        if (entering) abandon(entering->below);
        if (record_ && !levels_.empty()) record_->notEntered();
        return false;
    }
    if (record_) record_->entered(fd, st);
    Level level;
    level.fd = fd;
    level.device = st.st_dev;
    level.inode = st.st_ino;
    level.pathLen = path_.size();
    level.namesBase = subNames_.size();
    level.subBegin = subOffsets_.size();

    // The files of this folder, and the names of its sub-folders for later. The entries
    // are read straight from the system, a buffer at a time; a failed read ends them.
    const std::string_view folder(path_);
    bool first = true;
    // What was read ahead comes first; the rest, if any, is read here.
    for (bool fromAhead = ticket != nullptr; goOn_; fromAhead = false) {
        if (!fromAhead && ticket && ahead.complete) break;
        const char* buffer = fromAhead ? ahead.bytes.data() : listing_.get();
        const bool timed = !fromAhead && !readAhead_; // until a read was slow
        QElapsedTimer read;
        if (timed) read.start();
        const ssize_t got =
            fromAhead ? ssize_t(ahead.bytes.size()) : ::getdents64(fd, listing_.get(), kListingBytes);
        if (timed) timedListing(read.nsecsElapsed());
        if (got <= 0) break;
        for (ssize_t at = 0; at < got;) {
            const auto* e = reinterpret_cast<const struct dirent64*>(buffer + at);
            at += e->d_reclen;
            const char* n = e->d_name;
            unsigned char type = e->d_type;
            const EntryKind kind = entryKind(fd, n, type);
            if (kind == EntryKind::Skip) continue;
            if (kind == EntryKind::LinkToFolder) {
                if (record_) record_->linkToFolder(n);
                continue;
            }
            if (kind == EntryKind::Folder) {
                if (record_) record_->subFolder(n);
                subOffsets_.push_back(uint32_t(subNames_.size() - level.namesBase));
                subNames_.append(n, std::strlen(n) + 1);
                continue;
            }
            const std::string_view fileName(n);
            if (record_) record_->file(fileName, type);
            if (!pattern_->matches(fileName)) continue;
            sink_->fileFound(folder, fileName, first);
            first = false;
            if (!yieldPoint()) {
                goOn_ = false;
                break;
            }
        }
    }
    if (goOn_) sink_->folderListed(folder);
    if (goOn_ && record_) record_->listed();

    level.subEnd = subOffsets_.size();
    level.next = level.subBegin;
    if (entering) { // what was asked for below it, where its sub-folders are those the read-ahead saw
        bool same = level.subEnd - level.subBegin >= ahead.subFolders.size();
        for (size_t i = 0; same && i < ahead.subFolders.size(); ++i)
            same =
                ahead.subFolders[i] == subNames_.c_str() + level.namesBase + subOffsets_[level.subBegin + i];
        if (same) {
            for (Ahead& a : entering->below)
                a.index += level.subBegin;
            level.ahead = std::move(entering->below);
            level.aheadFrom = level.subBegin + entering->belowFrom;
        } else {
            abandon(entering->below);
        }
    }
    levels_.push_back(std::move(level));
    if (levels_.size() > kMaxHeldFolders) {
        Level& far = levels_[levels_.size() - 1 - kMaxHeldFolders];
        if (far.fd >= 0) ::close(far.fd);
        far.fd = -1;
    }
    return true;
}

// Takes the folder being walked off the path; its parent is walked on.
void FolderWalk::leaveFolder() {
    if (record_) record_->left();
    Level done = std::move(levels_.back());
    if (readAhead_) abandon(done.ahead);
    levels_.pop_back();
    if (!levels_.empty()) {
        Level& up = levels_.back();
        if (up.fd < 0 && goOn_) {
            // Back to a folder that was let go: its sub-folder's "..", or else its path,
            // as long as either still leads to the very same folder.
            int fd = ::openat(done.fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (!isFolder(fd, up.device, up.inode)) {
                if (fd >= 0) ::close(fd);
                fd = -1;
                if (up.pathLen < PATH_MAX) {
                    fd = ::open(path_.substr(0, up.pathLen).c_str(),
                                O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                    if (!isFolder(fd, up.device, up.inode) && fd >= 0) {
                        ::close(fd);
                        fd = -1;
                    }
                }
            }
            up.fd = fd;
            if (fd < 0) up.next = up.subEnd; // its other sub-folders cannot be reached
        }
        path_.resize(up.pathLen);
    }
    subNames_.resize(done.namesBase);
    subOffsets_.resize(done.subBegin);
    if (done.fd >= 0) ::close(done.fd);
}

} // namespace search
