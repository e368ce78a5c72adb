#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace search {

// The folded form of a file name's bytes, for comparing names without regard to case: every
// character of valid UTF-8 case-folded (as the toolkit folds it) and written again as UTF-8, every
// other byte as it is.
std::string foldedName(std::string_view name);
// Compares name's folded form, cut to the length of folded, with folded (itself a folded form):
// negative, 0 where name's folded form starts with folded, positive.
int compareFoldedPrefix(std::string_view name, std::string_view folded);

// Type to find over a list of a million entries, without looking at each of them: the entries are
// taken in runs of kRunRows consecutive rows, and each run's file names are sorted by their folded
// form on a thread of the pool, so that the names starting with a prefix are one range of a run,
// found by halving. The rows not in a sorted run yet (the last ones added, and runs still being
// sorted) are looked at one by one. Two bytes a row.
class FileNameIndex {
public:
    static constexpr int kRunRows = 16384;

    // Where the index reads the file names of the rows it covers.
    class Names {
    public:
        virtual std::string_view fileName(int row) const = 0;

    protected:
        ~Names() = default;
    };

    explicit FileNameIndex(const Names& names, int runRows = kRunRows);
    ~FileNameIndex();

    // The list now holds rows rows (none removed meanwhile).
    void appended(int rows) {
        if (rows - runsEnd_ >= runRows_) seal(rows);
    }
    void removed(int row);
    void clear();

    // The first of the rows rows, from row from on and round to the top, whose file name's folded
    // form starts with folded; -1 where there is none.
    int find(std::string_view folded, int from, int rows) const;

private:
    struct Run {
        int first = 0, rows = 0;
        std::vector<uint16_t> order; // the rows' offsets sorted by folded name; empty until sorted
        uint64_t task = 0;           // the sorting asked for, while it is not in
    };
    struct Sorted;

    void seal(int rows);
    void sort(Run& run);
    void takeSorted() const;
    int firstIn(const Run& run, std::string_view folded, int from, int to) const;
    int firstInRows(std::string_view folded, int from, int to) const;

    const Names& names_;
    const int runRows_;
    mutable std::vector<Run> runs_;
    int runsEnd_ = 0; // the rows after the last run are looked at one by one
    uint64_t lastTask_ = 0;
    std::shared_ptr<Sorted> sorted_; // what the pool's threads hand back
};

} // namespace search
