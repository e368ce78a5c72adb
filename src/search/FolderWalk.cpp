#include "search/FolderWalk.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace search {

namespace {

// Deeper than this, a level gives up its open folder before walking its sub-folders,
// which are then opened by their full path, so that no tree runs out of descriptors.
constexpr int kMaxHeldFolders = 128;

bool isDotOrDotDot(const char* n) {
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

} // namespace

bool FolderWalk::run(const std::string& root, const WildcardPattern& pattern, WalkSink& sink) {
    pattern_ = &pattern;
    sink_ = &sink;
    path_ = root;
    subNames_.clear();
    sinceYield_.start();
    struct stat st {};
    if (root.empty() || ::stat(root.c_str(), &st) != 0) return true;
    device_ = st.st_dev;
    return SearchFolder(AT_FDCWD, root.c_str(), 0);
}

bool FolderWalk::yieldPoint() {
    if (yieldIntervalMs_ > 0 && sinceYield_.elapsed() < yieldIntervalMs_) return true;
    const bool goOn = sink_->yield();
    sinceYield_.start();
    return goOn;
}

// Walks the folder name (relative to parentFd) whose full path is path_.
bool FolderWalk::SearchFolder(int parentFd, const char* name, int depth) {
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return true;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_dev != device_) { // another volume is mounted here
        ::close(fd);
        return true;
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return true;
    }

    // The files of this folder, and the names of its sub-folders for later.
    const size_t namesBase = subNames_.size();
    std::vector<uint32_t> subOffsets;
    const std::string_view folder(path_);
    bool goOn = true;
    bool first = true;
    while (struct dirent* e = ::readdir(dir)) {
        const char* n = e->d_name;
        if (isDotOrDotDot(n)) continue;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {
            struct stat es {};
            if (::fstatat(fd, n, &es, AT_SYMLINK_NOFOLLOW) == 0)
                type = S_ISDIR(es.st_mode) ? DT_DIR : S_ISLNK(es.st_mode) ? DT_LNK : DT_REG;
        }
        if (type == DT_LNK) { // a link to a folder is neither listed nor entered
            struct stat ts {};
            if (::fstatat(fd, n, &ts, 0) == 0 && S_ISDIR(ts.st_mode)) continue;
        }
        if (type == DT_DIR) {
            subOffsets.push_back(uint32_t(subNames_.size() - namesBase));
            subNames_.append(n, std::strlen(n) + 1);
            continue;
        }
        const std::string_view fileName(n);
        if (!pattern_->matches(fileName)) continue;
        sink_->fileFound(folder, fileName, first);
        first = false;
        if (!yieldPoint()) {
            goOn = false;
            break;
        }
    }

    if (goOn) sink_->folderListed(folder);

    int heldFd = fd;
    DIR* held = dir;
    if (depth >= kMaxHeldFolders) {
        ::closedir(dir);
        held = nullptr;
        heldFd = AT_FDCWD;
    }
    const size_t pathLen = path_.size();
    for (size_t i = 0; goOn && i < subOffsets.size(); ++i) {
        if (!yieldPoint()) {
            goOn = false;
            break;
        }
        const char* sub = subNames_.c_str() + namesBase + subOffsets[i];
        if (path_.empty() || path_.back() != '/') path_.push_back('/');
        path_.append(sub);
        // Opened relative to this folder, or by full path once it was let go. Either
        // text stays untouched until the sub-folder is open.
        goOn = SearchFolder(heldFd, heldFd == AT_FDCWD ? path_.c_str() : sub, depth + 1);
        path_.resize(pathLen);
    }
    subNames_.resize(namesBase);
    if (held) ::closedir(held);
    return goOn;
}

} // namespace search
