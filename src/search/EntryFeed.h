#pragma once

#include <QElapsedTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>

namespace search {

class ResultList;

// What a thread of its own found for the result list and the window has not taken yet, in the
// order it was found: records of a kind byte (kFolder, a folder whose names follow; kName, a name
// in it; kEntry, a whole entry) and the bytes, each ended by a NUL (none holds one). The finding
// thread waits while kMaxWaitingBytes wait, so that a window that cannot keep up bounds the
// memory; a stopped feed takes nothing more and lets it go on to its end.
class EntryFeed {
public:
    static constexpr size_t kMaxWaitingBytes = 4 * 1024 * 1024;
    static constexpr char kFolder = 'F', kName = 'N', kEntry = 'E';

    // The finding thread's side.
    void add(char kind, std::string_view bytes);
    bool stopped() const { return stopped_; }

    // The window's side.
    void stop();
    // Adds what waits to list, in order, for about budgetUs microseconds at the most; returns
    // whether more waits.
    bool takeInto(ResultList& list, int budgetUs);

private:
    std::mutex mutex_;
    std::condition_variable taken_;
    std::string waiting_;
    std::string taking_; // taken from waiting_, not yet in the list
    size_t takenTo_ = 0;
    std::atomic<bool> stopped_{false};
};

} // namespace search
