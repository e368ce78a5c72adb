#pragma once

#include "search/FolderWalk.h"
#include "search/WalkRecord.h"
#include "search/WildcardPattern.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace search {

// A volume's folder tree as a walk saw it (recorded through WalkRecord): every folder the walk
// entered, with its files and sub-folders in the file system's order, and which sub-folders it
// entered. A later search is answered from it (replay) exactly as the walk would answer, once the
// folders that changed meanwhile have been listed again (relist). Names are stored once, packed.
class KeptTree : public WalkRecord {
public:
    struct Folder {
        dev_t device = 0;
        ino_t inode = 0;
        struct timespec mtime {
        }, ctime{};                        // as they were just before the folder was listed
        int64_t listedAtNs = 0;            // when it was listed (CLOCK_REALTIME)
        uint32_t files = 0, fileCount = 0; // its files: files_[files, files + fileCount)
        uint32_t subs = 0, subCount = 0;   // its sub-folders: subs_[subs, subs + subCount)
        int32_t parent = -1;               // -1: the root
        uint32_t nameAt = 0;               // its name in its parent (none for the root)
        uint16_t nameSize = 0;
    };
    struct Name {
        uint32_t at;
        uint16_t size;
        uint8_t type; // a file's DT_* kind
    };
    struct Sub {
        uint32_t at;
        uint16_t size;
        int32_t child; // the folder, or -1 where the walk did not enter it
    };

    // A tree ready to record a walk of the volume whose root is given.
    explicit KeptTree(std::string root);
    ~KeptTree() override;

    // Recording (FolderWalk's WalkRecord); complete() once the walk ran to its end.
    void entered(int fd, const struct stat& st) override;
    void file(std::string_view name, unsigned char type) override;
    void subFolder(std::string_view name) override;
    void linkToFolder(std::string_view name) override;
    void listed() override {}
    void notEntered() override;
    void left() override;
    bool complete() const { return !folders_.empty() && stack_.empty(); }
    // Gives back what the recording held in reserve and what relists left behind.
    void compact();
    // Whether what relists left behind is over a fifth of the entries held.
    bool wasteful() const;
    // Whether one folder is in the tree twice (bound into it a second time): one watch would serve
    // both places, so such a tree is not kept.
    bool holdsAFolderTwice() const;

    // Tells sink what a walk with pattern would tell it, in the same order, with a yield offered at
    // the same turns, passed on at most every yieldIntervalMs. False where the sink stopped it.
    bool replay(const WildcardPattern& pattern, WalkSink& sink, int yieldIntervalMs) const;

    // Lists the folder again as the walk would (its files and sub-folders; sub-folders that are the
    // same folders as before keep what is kept of them, new ones are walked); a folder that can no
    // longer be entered is dropped from its parent. False where the root itself cannot be entered.
    bool relist(int32_t folder);
    // Takes the named entries out of the folder (files, sub-folders with what is kept of them, links to
    // folders), the others keeping their order; false, with nothing changed, where it does not hold
    // them all (then it is to be listed again).
    bool removeEntries(int32_t folder, const std::vector<std::string>& names);
    // Starts reading the folders' entries ahead of their relist, in the order given, on every core
    // while the relists run (a few hundred folders ahead at most, each open until its relist).
    void prefetch(std::vector<int32_t> folders);
    void forgetPrefetched(); // stops reading ahead and lets go of what was not taken

    // Whether the folder's times show no change since it was listed (and it was listed long enough
    // after its last change for its times to be trusted).
    bool unchanged(int32_t folder) const;
    // Whether every link the walk saw still points at the same kind (a folder or not), and every
    // sub-folder it could not enter still has the status it had (permissions given back show in its
    // status-change time, not in its parent's); false tells which folders hold one that changed.
    bool linksUnchanged(const std::function<void(int32_t)>& changed) const;
    bool closedUnchanged(const std::function<void(int32_t)>& changed) const;

    const std::string& root() const { return root_; }
    std::string path(int32_t folder) const;
    // The folder at path (a path under the root), or -1.
    int32_t find(std::string_view path) const;
    const Folder& folder(int32_t i) const { return folders_[size_t(i)]; }
    Folder& folder(int32_t i) { return folders_[size_t(i)]; }
    size_t folderCount() const { return folders_.size(); }
    // The folders the root reaches now, in walk order.
    void forEachLive(const std::function<void(int32_t)>& f) const;
    // Called with each folder as it is entered, before its entries are read (fd open on it), and with
    // each folder that is dropped for good: to watch it for changes, and to let go of the watch.
    std::function<void(int32_t, int)> onEntered;
    std::function<void(int32_t)> onDropped;
    // Memory held, for the benchmarks.
    size_t bytes() const;
    size_t entries() const; // files and sub-folders the root reaches now

private:
    struct Link {
        int32_t folder;
        uint32_t at;
        uint16_t size;
        bool toFolder;
    };
    std::string_view nameOf(uint32_t at, uint16_t size) const { return {names_.data() + at, size}; }
    std::string entryPath(int32_t folder, uint32_t at, uint16_t size) const; // an entry of folder
    uint32_t addName(std::string_view name);
    bool onPath(int32_t parent, dev_t device, ino_t inode) const;
    void drop(int32_t folder);
    bool walkNew(int32_t parent, size_t sub, int parentFd);

    std::string root_;
    dev_t volume_ = 0;
    std::vector<char> names_; // (a string would double its room when asked for a little more)
    std::vector<Folder> folders_;
    std::vector<Name> files_;
    std::vector<Sub> subs_;
    std::vector<Link> links_;
    struct Closed { // a sub-folder the walk did not enter, as it was then
        int32_t folder;
        uint32_t at;
        uint16_t size;
        bool exists;
        ino_t inode;
        int64_t ctimeNs;
    };
    std::vector<Closed> closed_;
    void noteClosed(int32_t folder, uint32_t sub);
    // Recording: the folders being walked, each with the next of its sub-folders to be told of.
    struct Open {
        int32_t folder;
        uint32_t next;
    };
    std::vector<Open> stack_;
    int32_t attachTo_ = -1; // a relist's new sub-folder: subs_[attachTo_] gets the next folder entered
    int32_t attachParent_ = -1;
    bool compacted_ = false;
    // A folder's entries as the walk tells them, read on any thread: the system's listing, each entry's
    // kind, and for each sub-folder what it is where it opens (zeros where it does not).
    struct Listing {
        int fd = -1;
        struct stat st {};
        int64_t at = 0; // when it was read; 0: it could not be
        std::vector<char> bytes;
        std::vector<std::pair<EntryKind, unsigned char>> kinds; // each entry's, with its DT_* type
        struct Probe {
            dev_t device;
            ino_t inode;
        };
        std::vector<Probe> probes;
        void read(const std::string& path);
    };
    struct Ahead;
    std::unique_ptr<Ahead> ahead_;
    bool takeAhead(int32_t folder, Listing& listing);
};

} // namespace search
