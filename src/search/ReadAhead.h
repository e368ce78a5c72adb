#pragma once

#include <memory>
#include <string>
#include <vector>

namespace search {

// Opens and reads folders ahead of the walk, on a few threads of its own, so that on a volume whose
// listings are slow (a network share, a FUSE mount) several of them are under way at once. What it
// read is handed over in the order the walk asks for it; the walk itself decides what is entered.
// A folder that is no longer wanted is closed once read; threads whose listing hangs are abandoned.
class ReadAhead {
public:
    static constexpr size_t kMaxInFlight = 8;       // folders asked for and not yet taken
    static constexpr size_t kMaxBytes = 256 * 1024; // read ahead of one folder; the walk reads the rest

    struct Listing {
        int fd = -1;             // the open folder, or -1 where it could not be opened
        std::vector<char> bytes; // its first entries, as the system returns them (dirent64 records)
        bool complete = false;   // all of its entries; otherwise the rest is read from fd
    };
    struct Pending;
    using Ticket = std::shared_ptr<Pending>;

    ReadAhead();
    ~ReadAhead(); // abandons what is still asked for

    // Asks for the folder name inside the open folder parentFd (which may be closed afterwards);
    // none where no descriptor is left to read it with.
    Ticket request(int parentFd, const std::string& name);
    // Waits until the folder is read and hands it over; the caller then owns its fd.
    Listing take(const Ticket& ticket);
    // The folder is not wanted any more.
    void abandon(const Ticket& ticket);
    size_t inFlight() const { return inFlight_; }

private:
    struct Pool;
    std::shared_ptr<Pool> pool_;
    size_t inFlight_ = 0;
};

} // namespace search
