#include "search/FileNameIndex.h"

#include <QChar>
#include <QThreadPool>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <numeric>
#include <sched.h>
#include <utility>

namespace search {

namespace {

bool continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at s[i] (shortest form, no surrogates, at most U+10FFFF)
// with its code point, or 0 where s[i] does not start one.
int decode(std::string_view s, size_t i, char32_t& cp) {
    const auto at = [&](size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
    const unsigned c = at(i);
    if (c >= 0xC2 && c <= 0xDF && continuation(at(i + 1))) {
        cp = (c & 0x1F) << 6 | (at(i + 1) & 0x3F);
        return 2;
    }
    if (c >= 0xE0 && c <= 0xEF) {
        const unsigned c1 = at(i + 1);
        const bool ok = c == 0xE0   ? c1 >= 0xA0 && c1 <= 0xBF
                        : c == 0xED ? c1 >= 0x80 && c1 <= 0x9F
                                    : continuation(c1);
        if (!ok || !continuation(at(i + 2))) return 0;
        cp = (c & 0x0F) << 12 | (c1 & 0x3F) << 6 | (at(i + 2) & 0x3F);
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        const unsigned c1 = at(i + 1);
        const bool ok = c == 0xF0   ? c1 >= 0x90 && c1 <= 0xBF
                        : c == 0xF4 ? c1 >= 0x80 && c1 <= 0x8F
                                    : continuation(c1);
        if (!ok || !continuation(at(i + 2)) || !continuation(at(i + 3))) return 0;
        cp = (c & 0x07) << 18 | (c1 & 0x3F) << 12 | (at(i + 2) & 0x3F) << 6 | (at(i + 3) & 0x3F);
        return 4;
    }
    return 0;
}

// Folds the character or stray byte at s[i] into out (at most 4 bytes); returns the bytes of s it took.
int foldAt(std::string_view s, size_t i, char* out, int& outLength) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        out[0] = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        outLength = 1;
        return 1;
    }
    char32_t cp = 0;
    const int taken = decode(s, i, cp);
    if (taken == 0) {
        out[0] = char(c);
        outLength = 1;
        return 1;
    }
    cp = QChar::toCaseFolded(cp);
    if (cp < 0x80) {
        out[0] = char(cp);
        outLength = 1;
    } else if (cp < 0x800) {
        out[0] = char(0xC0 | cp >> 6), out[1] = char(0x80 | (cp & 0x3F));
        outLength = 2;
    } else if (cp < 0x10000) {
        out[0] = char(0xE0 | cp >> 12), out[1] = char(0x80 | (cp >> 6 & 0x3F)),
        out[2] = char(0x80 | (cp & 0x3F));
        outLength = 3;
    } else {
        out[0] = char(0xF0 | cp >> 18), out[1] = char(0x80 | (cp >> 12 & 0x3F));
        out[2] = char(0x80 | (cp >> 6 & 0x3F)), out[3] = char(0x80 | (cp & 0x3F));
        outLength = 4;
    }
    return taken;
}

// One thread that sorts when the processors have nothing else to do: never in the window's way.
QThreadPool& sortingPool() {
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(1);
        p->setExpiryTimeout(-1);
        p->start([] {
            const sched_param none{};
            ::sched_setscheduler(0, SCHED_IDLE, &none); // this thread only (Linux)
        });
        return p;
    }();
    return *pool;
}

} // namespace

std::string foldedName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    char bytes[4];
    int length = 0;
    for (size_t i = 0; i < name.size();) {
        i += size_t(foldAt(name, i, bytes, length));
        out.append(bytes, size_t(length));
    }
    return out;
}

int compareFoldedPrefix(std::string_view name, std::string_view folded) {
    size_t at = 0; // in folded
    char bytes[4];
    int length = 0;
    for (size_t i = 0; i < name.size() && at < folded.size();) {
        i += size_t(foldAt(name, i, bytes, length));
        for (int k = 0; k < length && at < folded.size(); ++k, ++at)
            if (bytes[k] != folded[at])
                return static_cast<unsigned char>(bytes[k]) < static_cast<unsigned char>(folded[at]) ? -1 : 1;
    }
    return at == folded.size() ? 0 : -1; // a name folded shorter than the prefix comes before it
}

// The runs sorted by the pool's threads, until the index takes them; outlives the index.
struct FileNameIndex::Sorted {
    std::mutex mutex;
    std::vector<std::pair<uint64_t, std::vector<uint16_t>>> done;
};

FileNameIndex::FileNameIndex(const Names& names, int runRows)
    : names_(names), runRows_(std::clamp(runRows, 1, 65536)), sorted_(std::make_shared<Sorted>()) {}

FileNameIndex::~FileNameIndex() = default;

void FileNameIndex::seal(int rows) {
    while (rows - runsEnd_ >= runRows_) {
        runs_.push_back(Run{runsEnd_, runRows_, {}, 0});
        runsEnd_ += runRows_;
        sort(runs_.back());
    }
}

// Hands the run's names to a thread of the pool, which sorts them by their folded form.
void FileNameIndex::sort(Run& run) {
    run.order.clear();
    run.task = ++lastTask_;
    std::string bytes;
    std::vector<uint32_t> starts;
    starts.reserve(size_t(run.rows) + 1);
    for (int row = run.first; row < run.first + run.rows; ++row) {
        starts.push_back(uint32_t(bytes.size()));
        bytes.append(names_.fileName(row));
    }
    starts.push_back(uint32_t(bytes.size()));
    sortingPool().start(
        [sorted = sorted_, task = run.task, bytes = std::move(bytes), starts = std::move(starts)] {
            const size_t n = starts.size() - 1;
            std::vector<std::string> folded(n);
            for (size_t k = 0; k < n; ++k)
                folded[k] = foldedName(std::string_view(bytes).substr(starts[k], starts[k + 1] - starts[k]));
            std::vector<uint16_t> order(n);
            std::iota(order.begin(), order.end(), uint16_t(0));
            std::sort(order.begin(), order.end(), [&](uint16_t a, uint16_t b) {
                const int c = folded[a].compare(folded[b]);
                return c < 0 || (c == 0 && a < b);
            });
            std::lock_guard lock(sorted->mutex);
            sorted->done.emplace_back(task, std::move(order));
        });
}

void FileNameIndex::takeSorted() const {
    std::vector<std::pair<uint64_t, std::vector<uint16_t>>> done;
    {
        std::lock_guard lock(sorted_->mutex);
        done.swap(sorted_->done);
    }
    for (auto& [task, order] : done)
        for (Run& run : runs_)
            if (run.task == task) { // else asked for again since, or cleared
                run.order = std::move(order);
                run.task = 0;
                break;
            }
}

void FileNameIndex::removed(int row) {
    takeSorted();
    for (auto run = runs_.begin(); run != runs_.end(); ++run) {
        if (row >= run->first + run->rows) continue;
        if (row >= run->first) {
            --run->rows;
            if (run->task != 0) {
                sort(*run); // what is being sorted names the row: asked for again
            } else {
                const uint16_t gone = uint16_t(row - run->first);
                run->order.erase(std::find(run->order.begin(), run->order.end(), gone));
                for (uint16_t& offset : run->order)
                    offset -= offset > gone;
            }
        } else {
            --run->first;
        }
    }
    if (row < runsEnd_) --runsEnd_;
    std::erase_if(runs_, [](const Run& run) { return run.rows == 0; });
}

void FileNameIndex::clear() {
    runs_.clear();
    runsEnd_ = 0;
}

// The first row of run in [from, to) whose name starts with folded, or -1.
int FileNameIndex::firstIn(const Run& run, std::string_view folded, int from, int to) const {
    from = std::max(from, run.first);
    to = std::min(to, run.first + run.rows);
    if (from >= to) return -1;
    if (run.order.empty()) return firstInRows(folded, from, to);
    const auto compare = [&](uint16_t offset) {
        return compareFoldedPrefix(names_.fileName(run.first + offset), folded);
    };
    const auto begin =
        std::partition_point(run.order.begin(), run.order.end(), [&](uint16_t o) { return compare(o) < 0; });
    const auto end =
        std::partition_point(begin, run.order.end(), [&](uint16_t o) { return compare(o) == 0; });
    const int low = from - run.first, high = to - run.first;
    int best = high;
    for (auto it = begin; it != end; ++it)
        if (*it >= low && *it < best) best = *it;
    return best < high ? run.first + best : -1;
}

int FileNameIndex::firstInRows(std::string_view folded, int from, int to) const {
    for (int row = from; row < to; ++row)
        if (compareFoldedPrefix(names_.fileName(row), folded) == 0) return row;
    return -1;
}

int FileNameIndex::find(std::string_view folded, int from, int rows) const {
    takeSorted();
    const auto first = [&](int a, int b) {
        for (const Run& run : runs_) {
            if (run.first >= b) return -1;
            if (const int row = firstIn(run, folded, a, b); row >= 0) return row;
        }
        return firstInRows(folded, std::max(a, runsEnd_), b);
    };
    const int row = first(from, rows);
    return row >= 0 ? row : first(0, from);
}

} // namespace search
