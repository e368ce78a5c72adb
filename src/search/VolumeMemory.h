#pragma once

#include "search/FolderWalk.h"
#include "search/KeptTree.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
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
// Changes are taken in as they come, too: a thread of low priority lists the changed folders again once
// changes pause (kQuietMs without one; while they go on, every kMostWaitMs, spending at most a quarter
// of the time), so that a search finds little left to do; a search that wants the memory meanwhile
// stops it and does the rest itself.
class VolumeMemory {
public:
    static constexpr size_t kMaxVolumes = 3; // the one searched longest ago goes first
    static constexpr int kQuietMs = 100, kMostWaitMs = 1000;

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
    // The folders the last search listed again itself, and those listed again meanwhile as changes came
    // (for tests and benchmarks).
    size_t lastRelisted() const { return lastRelisted_; }
    size_t takenIn() const { return takenIn_; }
    size_t keptBytes(const std::string& root);
    size_t watches(const std::string& root);

    // Without watching for changes, every folder's times tell whether it changed.
    explicit VolumeMemory(bool watchChanges = true);
    ~VolumeMemory();

private:
    struct Kept;
    static constexpr char kUnmarked = 0, kListAgain = 1, kRemove = 2; // what is to be done to a folder
    bool bringUpToDate(Kept& kept);
    void takeChanges(Kept& kept);
    bool relistMarked(Kept& kept, const std::atomic<int>* stop);
    void keepUp(); // the thread that takes changes in
    void changesArrived();
    std::mutex mutex_;
    std::atomic<int> wanted_{0}; // searches waiting for mutex_
    size_t relisted_ = 0, lastRelisted_ = 0;
    std::atomic<size_t> takenIn_{0};
    std::mutex keeperMutex_; // for what follows
    std::condition_variable keeperWake_;
    bool arrived_ = false, quit_ = false;
    std::thread keeper_;
    std::vector<std::unique_ptr<Kept>> kept_;
    bool enabled_ = true;
    bool watchChanges_ = true;
    Answer last_ = Answer::Walked;
    unsigned long long uses_ = 0;
};

} // namespace search
