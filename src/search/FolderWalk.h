#pragma once

#include "search/WildcardPattern.h"

#include <QElapsedTimer>
#include <string>
#include <string_view>
#include <sys/types.h>

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
    // Time to let the window handle its events. Returning false stops the walk.
    virtual bool yield() = 0;
};

// The walk of one volume's folder tree: depth first and pre-order, the matching files
// of a folder before anything from its sub-folders, files and sub-folders in the order
// the file system lists them. It stays on the volume of the root, never enters a link
// to a folder, lists every other kind of entry that matches (links, special files and
// hidden files included) without opening it, and skips folders it cannot read.
class FolderWalk {
public:
    // The walk offers the sink a yield after every file it lists and before every
    // sub-folder it enters, but passes it on only when this many milliseconds have gone
    // by since the last one (0: every time).
    void setYieldInterval(int milliseconds) { yieldIntervalMs_ = milliseconds; }

    // Walks the tree under root. Returns false if the sink stopped it.
    bool run(const std::string& root, const WildcardPattern& pattern, WalkSink& sink);

private:
    bool SearchFolder(int parentFd, const char* name, int depth);
    bool yieldPoint();

    const WildcardPattern* pattern_ = nullptr;
    WalkSink* sink_ = nullptr;
    std::string path_;     // the folder being walked
    std::string subNames_; // a stack of the sub-folder names still to be walked
    dev_t device_ = 0;
    int yieldIntervalMs_ = 10;
    QElapsedTimer sinceYield_;
};

} // namespace search
