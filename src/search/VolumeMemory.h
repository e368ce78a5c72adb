#pragma once

#include "search/FolderWalk.h"
#include "search/KeptTree.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace search {

class ChangeWatch;

// What the searches of this run learned of the volumes they walked. The first search of a volume
// walks it and keeps its tree (KeptTree); a later one brings the kept tree up to date (the folders
// that changed are listed again, found through a ChangeWatch and, for the folders it does not watch,
// by their times) and answers from it, exactly as a walk at that moment would. Where exactness cannot
// be guaranteed (a file system other than ext2/3/4, XFS, Btrfs or tmpfs: network and FUSE volumes
// among them; a mount or unmount meanwhile; a queue of changes that overflowed beyond what the times
// can tell), the search walks as the first one did.
class VolumeMemory {
public:
    static constexpr size_t kMaxVolumes = 3; // the one searched longest ago goes first

    static VolumeMemory& shared();
    // Off, every search walks (for measuring the walk itself).
    void setEnabled(bool on);

    // Searches root for pattern, telling sink as the walk would; walk is the walk to use where the
    // volume is walked. False where the sink stopped it.
    bool search(const std::string& root, const WildcardPattern& pattern, WalkSink& sink, FolderWalk& walk);

    // Whether the file system holding path is one whose trees are kept.
    static bool keepsTreesOf(const std::string& path);
    // How the last search was answered (for tests and benchmarks).
    enum class Answer { Walked, FromMemory };
    Answer lastAnswer() const { return last_; }
    size_t keptBytes(const std::string& root);
    size_t watches(const std::string& root);

    // Without watching for changes, every folder's times tell whether it changed.
    explicit VolumeMemory(bool watchChanges = true);
    ~VolumeMemory();

private:
    struct Kept;
    bool bringUpToDate(Kept& kept);
    std::mutex mutex_;
    std::vector<std::unique_ptr<Kept>> kept_;
    bool enabled_ = true;
    bool watchChanges_ = true;
    Answer last_ = Answer::Walked;
    unsigned long long uses_ = 0;
};

} // namespace search
