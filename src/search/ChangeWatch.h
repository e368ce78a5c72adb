#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace search {

class KeptTree;

// Tells which folders of a kept tree changed (their entries, or their own status) since it was last
// asked. Where the program may (root, CAP_SYS_ADMIN), one fanotify mark on the whole file system
// reports every change by folder and name: no watch per folder. Otherwise inotify watches folders,
// at most a third of the user's limit (/proc/sys/fs/inotify/max_user_watches), which leaves two thirds
// of it to file managers, editors and build tools; the folders beyond it are not watched, and their
// times tell (KeptTree::unchanged).
class ChangeWatch {
public:
    // arrived is called (on the watch's own thread) whenever changes come in, to be collected.
    static std::unique_ptr<ChangeWatch> create(const std::string& root, KeptTree& tree,
                                               std::function<void()> arrived);
    virtual ~ChangeWatch() = default;
    // The folder was entered (fd open on it) and is about to be listed, or it is gone.
    virtual void entered(int32_t folder, int fd) = 0;
    // The first walk of the tree ended: watches that were left for later (so as not to slow that walk
    // down) are set from now on, a few hundred at a time whenever memory (the lock searches hold) is
    // free; a folder whose times moved since it was listed is told as changed.
    virtual void walkEnded(std::mutex& memory) { (void)memory; }
    virtual void dropped(int32_t folder) = 0;
    // Whether the folder's changes are reported.
    virtual bool watches(int32_t folder) const = 0;
    // Adds the folders whose entries changed since the last call, and as -1 - folder each folder whose
    // own status changed (its parent tells whether it can still be entered); a folder whose entries
    // were only removed is told in removed instead, with their names. False where changes were lost
    // (the queue overflowed): then every folder is to be checked by its times.
    struct Removed {
        int32_t folder;
        std::string name;
    };
    virtual bool collect(std::vector<int32_t>& changed, std::vector<Removed>& removed) = 0;
    virtual size_t count() const = 0; // watches held (0 for the file system's mark)
};

} // namespace search
