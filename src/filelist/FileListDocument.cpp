#include "filelist/FileListDocument.h"

#include "platform/PathCodec.h"
#include "search/ResultList.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace filelist {

namespace {

// Whether bytes are well-formed UTF-8: no stray continuation bytes, no overlong forms,
// no surrogates, nothing above U+10FFFF.
bool isValidUtf8(QByteArrayView bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len;
        unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) lo = 0xA0;
            if (c == 0xED) hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) lo = 0x90;
            if (c == 0xF4) hi = 0x8F;
        } else {
            return false;
        }
        if (n - i < len) return false;
        if (s[i + 1] < lo || s[i + 1] > hi) return false;
        for (int k = 2; k < len; ++k)
            if ((s[i + k] & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

// Windows-1252 bytes 0x80..0x9F; the five bytes it leaves undefined stand for the control
// characters of the same number, as Windows reads them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void windows1252ToUtf8(QByteArrayView line, QByteArray& out) {
    out.clear();
    for (const char ch : line) {
        const auto c = static_cast<unsigned char>(ch);
        const char16_t u = c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : char16_t(c);
        if (u < 0x80) {
            out.append(char(u));
        } else if (u < 0x800) {
            out.append(char(0xC0 | (u >> 6)));
            out.append(char(0x80 | (u & 0x3F)));
        } else {
            out.append(char(0xE0 | (u >> 12)));
            out.append(char(0x80 | ((u >> 6) & 0x3F)));
            out.append(char(0x80 | (u & 0x3F)));
        }
    }
}

constexpr qsizetype kWriteBlock = qsizetype(1) << 20;

} // namespace

namespace {
// The lines of part of a document; atStart: the part is the document's beginning, where a
// byte-order mark is skipped.
void readLines(QByteArrayView document, const std::function<void(QByteArrayView entry)>& entry,
               bool atStart) {
    const char* p = document.data();
    const qsizetype n = document.size();
    qsizetype i = 0;
    if (atStart && n >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) i = 3;
    QByteArray converted;
    while (i < n) {
        const auto* cr = static_cast<const char*>(std::memchr(p + i, '\r', size_t(n - i)));
        const qsizetype end = cr ? qsizetype(cr - p) : n;
        qsizetype next = cr ? end + 1 : n;
        if (cr && next < n && p[next] == '\n') ++next;
        qsizetype length = end - i;
        // A path cannot hold a NUL: the entry ends at the first one, the rest of its line is dropped.
        if (const void* nul = std::memchr(p + i, '\0', size_t(length)))
            length = static_cast<const char*>(nul) - (p + i);
        while (length > 0 && p[i + length - 1] == ' ')
            --length;
        const QByteArrayView line(p + i, length);
        if ((length > 0 && line[0] == '/') || isValidUtf8(line)) {
            entry(line);
        } else {
            windows1252ToUtf8(line, converted);
            entry(converted);
        }
        i = next;
    }
}
} // namespace

void readFileList(QByteArrayView document, const std::function<void(QByteArrayView entry)>& entry) {
    readLines(document, entry, true);
}

void appendFileListLine(QByteArray& document, QByteArrayView entry) {
    document.append(entry);
    document.append("\r\n", 2);
}

constexpr qint64 kReadBlock = 1 << 20;

namespace {
// What tells a document that changed: its size, and the times of its last change.
bool sameDocument(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ctim.tv_sec == b.st_ctim.tv_sec &&
           a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// The document's state, or nothing where it cannot be known.
std::optional<struct stat> stateOf(int fd) {
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) return std::nullopt;
    return st;
}
} // namespace

PlaylistResult OpenPlaylist(const QString& TheList, const EntrySink& entry,
                            const std::function<bool()>& stopped) {
    PlaylistResult result;
    if (TheList.isEmpty()) return result;
    QFile file(TheList);
    // Not blocking on open, so that a pipe does not wait for a writer; then only files are read.
    const int fd = ::open(QFile::encodeName(TheList).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const std::optional<struct stat> before = stateOf(fd);
    if (fd < 0 || !before || !S_ISREG(before->st_mode)) {
        result.ok = false;
        result.error =
            fd < 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QStringLiteral("it is not a file");
        if (fd >= 0) ::close(fd);
        return result;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        result.ok = false;
        result.error = file.errorString();
        return result;
    }
    return ReadPlaylist(file, entry, kReadBlock, stopped);
}

PlaylistResult ReadPlaylist(QIODevice& document, const EntrySink& entry, qint64 blockBytes,
                            const std::function<bool()>& stopped) {
    // Block by block, each block's complete lines at once; the start of a line that goes
    // on in the next block waits for it. A CR at a block's end waits too: an LF may follow.
    PlaylistResult result;
    auto* file = qobject_cast<QFileDevice*>(&document);
    const std::optional<struct stat> before = file ? stateOf(file->handle()) : std::nullopt;
    const auto add = [&](QByteArrayView line) {
        entry(line);
        ++result.entries;
    };
    QByteArray pending;
    bool atStart = true;
    while (!stopped || !stopped()) {
        const qsizetype kept = pending.size();
        pending.resize(kept + blockBytes);
        const qint64 n = document.read(pending.data() + kept, blockBytes);
        pending.resize(kept + std::max<qint64>(n, 0));
        if (n < 0) {
            result.ok = false;
            result.error = document.errorString();
            return result;
        }
        if (n == 0) break;
        const auto* last =
            pending.size() > 1 // the last CR with a byte after it
                ? static_cast<const char*>(::memrchr(pending.constData(), '\r', size_t(pending.size() - 1)))
                : nullptr;
        if (!last) continue;
        qsizetype cut = qsizetype(last - pending.constData()) + 1;
        if (pending[cut] == '\n') ++cut;
        readLines(QByteArrayView(pending.constData(), cut), add, atStart);
        atStart = false;
        pending.remove(0, cut);
    }
    // The last line may end without CR LF, unless the document changed while it was read: then
    // it counts only where its line ended.
    const std::optional<struct stat> after = file ? stateOf(file->handle()) : std::nullopt;
    result.changed = before && (!after || !sameDocument(*before, *after) || document.pos() != after->st_size);
    if (result.changed && !pending.endsWith('\r')) pending.clear();
    readLines(pending, add, atStart);
    return result;
}

PlaylistResult SavePlaylist(const QString& TheList, const search::ResultEntries& Listbox) {
    PlaylistResult result;
    QSaveFile file(TheList);
    // Unbuffered, so that every block reaches the file at once and a write that fails is
    // seen: a buffered rest failing when the file is committed would go unnoticed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        result.ok = false;
        result.error = file.errorString();
        return result;
    }
    // Lines are gathered into blocks of about a megabyte; a line longer than a block is
    // written on its own.
    std::unique_ptr<char[]> block(new char[size_t(kWriteBlock)]);
    qsizetype used = 0;
    bool written = true;
    const auto writeOut = [&](const char* data, qsizetype size) {
        written = written && file.write(data, size) == size;
    };
    const int count = Listbox.count();
    for (int row = 0; row < count && written; ++row) {
        char* at = block.get() + used;
        qsizetype size = Listbox.copyEntry(row, at, kWriteBlock - used - 2);
        if (used + size + 2 > kWriteBlock) { // the block is full: write it, and try again
            writeOut(block.get(), used);
            used = 0;
            at = block.get();
            size = Listbox.copyEntry(row, at, kWriteBlock - 2);
        }
        if (size + 2 > kWriteBlock) { // a line longer than a block goes on its own
            QByteArray entry = Listbox.entryBytes(row);
            if (entry.contains('\r')) ++result.entriesWithCr;
            entry.append("\r\n", 2);
            writeOut(entry.constData(), entry.size());
            continue;
        }
        if (std::memchr(at, '\r', size_t(size))) ++result.entriesWithCr;
        at[size] = '\r';
        at[size + 1] = '\n';
        used += size + 2;
    }
    if (used > 0) writeOut(block.get(), used);
    if (!written || !file.commit()) {
        result.ok = false;
        result.error = file.errorString();
        file.cancelWriting();
        return result;
    }
    result.entries = count;
    return result;
}

} // namespace filelist
