#pragma once

#include "search/ReadAhead.h"
#include "search/WalkRecord.h"
#include "search/WildcardPattern.h"

#include <QElapsedTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace search {

// Receives what the walk finds, in the order it finds it.
class WalkSink {
public:
    virtual ~WalkSink() = default;
    // A matching file: folder is the path of the folder that holds it (the root keeps
    // its trailing '/', no other folder has one), name its file name; firstInFolder
    // tells that folder differs from the previous call's.
    virtual void fileFound(std::string_view folder, std::string_view name, bool firstInFolder) = 0;
    // The files of folder have all been listed; its sub-folders come next.
    virtual void folderListed(std::string_view folder) = 0;
    // The walk has been waiting for the listing of folder for a while (kStuckMs): the volume
    // may be stuck there.
    virtual void folderWaitedFor(std::string_view folder) { (void)folder; }
    // Time to let the window handle its events. Returning false stops the walk.
    virtual bool yield() = 0;
};

// The walk of one volume's folder tree: depth first and pre-order, the matching files
// of a folder before anything from its sub-folders, files and sub-folders in the order
// the file system lists them. It stays on the volume of the root, never enters a link
// to a folder, lists every other kind of entry that matches (links, special files and
// hidden files included) without opening it, and skips folders it cannot read.
//
// It never enters a folder that is already on the way from the root to where it is
// (a folder mounted onto one of its own descendants would otherwise be walked again
// and again), keeps its own stack instead of recursing, and opens every folder
// relative to its open parent, so trees of any depth are walked, also where their
// paths are longer than the system's path limit.
//
// Once a listing has been slow (a network share, a FUSE mount), the walk has the folders it
// will reach next opened and read ahead (ReadAhead), up to eight at a time wherever they are
// in the tree (the sub-folders of folders read ahead too), in the order the walk reaches them;
// the results keep their order and rules.
// What the walk makes of one entry of a folder (fd open on it): "." and "..", and entries that
// vanished before their kind could be told, are skipped; a link to a folder is neither listed nor
// entered; every other kind but a folder is listed as a file. type is set to the entry's kind
// (DT_REG where the system did not say and it is no folder or link).
enum class EntryKind { Skip, File, Folder, LinkToFolder };
EntryKind entryKind(int fd, const char* name, unsigned char& type);

class FolderWalk {
public:
    // The walk offers the sink a yield after every file it lists and before every
    // sub-folder it enters, but passes it on only when this many milliseconds have gone
    // by since the last one (0: every time).
    static constexpr int kDefaultYieldIntervalMs = 3;
    void setYieldInterval(int milliseconds) { yieldIntervalMs_ = milliseconds; }
    int yieldInterval() const { return yieldIntervalMs_; }
    // Reads of folders' entries that take this long mark the volume as slow (0: every one does): one
    // that takes four times as long, or the third of them within 64 reads (on a local disk, a folder
    // now and then that is not in memory any more takes as long, and reading ahead would cost more
    // than it saves).
    static constexpr qint64 kSlowListingNs = 2'000'000;
    void setSlowListing(qint64 nanoseconds) { slowListingNs_ = nanoseconds; }
    // A listing read ahead that the walk has waited for this long is told to the sink.
    static constexpr qint64 kStuckMs = 2000;

    // Walks the tree under root. Returns false if the sink stopped it.
    bool run(const std::string& root, const WildcardPattern& pattern, WalkSink& sink);
    // Tells record what the next runs see (null: nobody).
    void setRecord(WalkRecord* record) { record_ = record; }
    // Whether the last run read folders ahead (their listings then came before their status was read).
    bool readAhead() const { return readAhead_ != nullptr; }
    // The folders above the root on the way from the volume's root (their identities), for a walk of
    // part of a tree: none of them is entered again either.
    void setOuterPath(std::vector<std::pair<dev_t, ino_t>> outer) { outer_ = std::move(outer); }

private:
    // A folder asked for ahead of the walk, and those asked for below it.
    struct Ahead {
        size_t index = 0; // its place among its parent's sub-folders
        ReadAhead::Ticket ticket;
        std::vector<Ahead> below; // its own sub-folders asked for, in order
        size_t belowFrom = 0;     // the next of them to ask for
    };
    // One folder on the way from the root to the folder being walked.
    struct Level {
        int fd = -1;              // open folder, or -1 once let go to save descriptors
        std::vector<Ahead> ahead; // sub-folders being read ahead, in order
        size_t aheadFrom = 0;     // the next sub-folder to ask for
        dev_t device = 0;         // identity of the folder
        ino_t inode = 0;
        size_t pathLen = 0;   // length of its path in path_
        size_t namesBase = 0; // its sub-folder names in subNames_ start here
        size_t subBegin = 0;  // its sub-folders are subOffsets_[subBegin, subEnd)
        size_t subEnd = 0;
        size_t next = 0; // the next of them to walk
    };

    bool SearchFolder(int parentFd, const char* name, Ahead* entering = nullptr);
    bool waitForListing(const ReadAhead::Ticket& ticket);
    void askAhead();
    bool askBelow(Ahead& folder);
    void abandon(std::vector<Ahead>& folders);
    void leaveFolder();
    bool onCurrentPath(dev_t device, ino_t inode) const;
    bool yieldPoint();

    const WildcardPattern* pattern_ = nullptr;
    WalkSink* sink_ = nullptr;
    bool goOn_ = true;
    std::string path_;                 // the folder being walked
    std::string subNames_;             // the sub-folder names still to be walked, level by level
    std::vector<uint32_t> subOffsets_; // where each of them starts in subNames_
    std::vector<Level> levels_;
    std::unique_ptr<char[]> listing_; // one folder's entries at a time, as the system reads them
    dev_t device_ = 0;
    int yieldIntervalMs_ = kDefaultYieldIntervalMs;
    QElapsedTimer sinceYield_;
    std::unique_ptr<ReadAhead> readAhead_; // once the volume is slow
    qint64 slowListingNs_ = kSlowListingNs;
    int listingsTimed_ = 0, slowListings_ = 0; // in the current 64
    void timedListing(qint64 ns);
    WalkRecord* record_ = nullptr;
    std::vector<std::pair<dev_t, ino_t>> outer_;
};

} // namespace search
