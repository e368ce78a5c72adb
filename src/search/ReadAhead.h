#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace search {

// Opens and reads folders ahead of the walk, on threads of its own, so that on a volume whose
// listings are slow (a network share, a FUSE mount) several of them are under way at once. Each
// folder read names the sub-folders it holds, so that they can be asked for in turn before the
// walk reaches them. What it read is handed over in the order the walk asks for it; the walk itself
// decides what is entered. A folder that is no longer wanted is closed once read; threads whose
// listing hangs are abandoned.
class ReadAhead {
public:
    static constexpr size_t kMaxUnderWay = 8;         // folders asked for and not read yet
    static constexpr size_t kMaxBytes = 256 * 1024;   // read ahead of one folder; the walk reads the rest
    static constexpr size_t kMaxHeldBytes = 64 << 20; // read and not taken yet, and under way, at most
    static constexpr size_t kMaxHeld = 256;           // folders read and not taken yet (each one open)

    struct Listing {
        int fd = -1;             // the open folder, or -1 where it could not be opened
        std::vector<char> bytes; // its first entries, as the system returns them (dirent64 records)
        bool complete = false;   // all of its entries; otherwise the rest is read from fd
        // The sub-folders among those entries, as the walk tells them (links to folders are none);
        // none for a folder of another volume than the walk's.
        std::vector<std::string> subFolders;
    };
    struct Pending;
    using Ticket = std::shared_ptr<Pending>;

    explicit ReadAhead(dev_t volume);
    ~ReadAhead(); // abandons what is still asked for

    // Whether another folder may be asked for within the bounds above.
    bool canAsk() const;
    // Asks for the folder name inside the open folder parentFd (which may be closed afterwards);
    // none where no descriptor is left to read it with.
    Ticket request(int parentFd, const std::string& name);
    // The folder's listing once it is read, else null; it stays the ticket's until taken.
    const Listing* peek(const Ticket& ticket) const;
    // Waits until the folder is read (true), another one asked for is read, or timeout passes.
    bool waitFor(const Ticket& ticket, std::chrono::milliseconds timeout);
    // Waits until the folder is read and hands it over; the caller then owns its fd.
    Listing take(const Ticket& ticket);
    // The folder is not wanted any more.
    void abandon(const Ticket& ticket);

private:
    struct Pool;
    std::shared_ptr<Pool> pool_;
    size_t seenReads_ = 0; // reads that waitFor has told of
};

} // namespace search
