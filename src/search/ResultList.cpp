#include "search/ResultList.h"

#include "platform/PathCodec.h"

#include <cstring>

namespace search {

ResultList::ResultList(QObject* parent) : QAbstractListModel(parent) {}
ResultList::~ResultList() = default;

void ResultList::setFolder(std::string_view folder) {
    // The folder is stored with its first entry, so folders without matches cost nothing.
    pendingFolder_ = QByteArray(folder.data(), qsizetype(folder.size()));
    folderPending_ = true;
}

void ResultList::appendName(std::string_view name) {
    // A clear() or an entry appended as text since setFolder() makes the folder pending again.
    if (folderPending_ || currentFolder_ == kNoFolder) {
        store_.folders_.push_back(pendingFolder_);
        currentFolder_ = uint32_t(store_.folders_.size() - 1);
        folderPending_ = false;
    }
    appendRow(currentFolder_, name);
}

void ResultList::append(const QString& path) {
    appendBytes(platform::encodePath(path));
}

void ResultList::appendBytes(QByteArrayView bytes) {
    const auto* found = bytes.isEmpty()
                            ? nullptr
                            : static_cast<const char*>(memrchr(bytes.data(), '/', size_t(bytes.size())));
    const qsizetype slash = found ? qsizetype(found - bytes.data()) : -1;
    // The folder is shared only where joining it back gives the very bytes: not for an
    // entry without a slash, nor for one whose last slash follows another ("a//b").
    if (slash < 0 || (slash > 0 && bytes[slash - 1] == '/')) {
        appendRow(kNoFolder, std::string_view(bytes.data(), size_t(bytes.size())));
        return;
    }
    const QByteArrayView folder = slash == 0 ? QByteArrayView("/") : bytes.first(slash);
    std::vector<QByteArray>& folders = store_.folders_;
    if (folders.empty() || folders.back() != folder) folders.push_back(folder.toByteArray());
    currentFolder_ = kNoFolder;
    appendRow(uint32_t(folders.size() - 1),
              std::string_view(bytes.data() + slash + 1, size_t(bytes.size() - slash - 1)));
}

void ResultList::appendRow(uint32_t folder, std::string_view name) {
    const uint64_t pos = store_.storeName(name);
    store_.pushRow(Row{folder, uint32_t(pos), uint32_t(pos >> 32),
                       name.size() < kLongName ? uint32_t(name.size()) : kLongName});
    index_.appended(count());
}

void ResultEntries::pushRow(const Row& row) {
    if ((rowCount_ & (kBlockRows - 1)) == 0) blocks_.push_back(std::shared_ptr<Row[]>(new Row[kBlockRows]));
    blocks_.back()[rowCount_ & (kBlockRows - 1)] = row;
    ++rowCount_;
}

void ResultEntries::eraseRow(size_t i) {
    for (size_t b = i >> kBlockShift; b < blocks_.size(); ++b)
        if (blocks_[b].use_count() > 1) { // a copy reads it: it keeps the old block
            std::shared_ptr<Row[]> own(new Row[kBlockRows]);
            std::copy(blocks_[b].get(), blocks_[b].get() + kBlockRows, own.get());
            blocks_[b] = std::move(own);
        }
    for (size_t k = i; k + 1 < rowCount_; ++k)
        blocks_[k >> kBlockShift][k & (kBlockRows - 1)] = rowAt(k + 1);
    if ((--rowCount_ & (kBlockRows - 1)) == 0) blocks_.pop_back();
}

uint64_t ResultEntries::storeName(std::string_view name) {
    if (name.empty()) return 0;     // nothing to keep (a document's empty line); nameAt() does not look
    if (name.size() > kChunkSize) { // a name longer than a chunk gets a chunk of its own
        const size_t length = name.size(), header = length < kLongName ? 0 : sizeof length;
        chunks_.push_back(std::shared_ptr<char[]>(new char[header + length]));
        std::memcpy(chunks_.back().get(), &length, header); // the length, where the row cannot hold it
        std::memcpy(chunks_.back().get() + header, name.data(), length);
        chunkUsed_ = kChunkSize;
        return uint64_t(chunks_.size() - 1) * kChunkSize;
    }
    if (kChunkSize - chunkUsed_ < name.size()) {
        chunks_.push_back(std::shared_ptr<char[]>(new char[kChunkSize]));
        chunkUsed_ = 0;
    }
    const uint64_t pos = uint64_t(chunks_.size() - 1) * kChunkSize + chunkUsed_;
    std::memcpy(chunks_.back().get() + chunkUsed_, name.data(), name.size());
    chunkUsed_ += name.size();
    return pos;
}

std::string_view ResultEntries::nameAt(const Row& row) const {
    if (row.length == 0) return {};
    const uint64_t pos = uint64_t(row.posHigh) << 32 | row.posLow;
    const char* chunk = chunks_[pos / kChunkSize].get();
    if (row.length < kLongName) return std::string_view(chunk + pos % kChunkSize, row.length);
    size_t length;
    std::memcpy(&length, chunk, sizeof length);
    return std::string_view(chunk + sizeof length, length);
}

std::string_view ResultList::fileName(int row) const {
    const Row& r = store_.rowAt(size_t(row));
    std::string_view name = store_.nameAt(r);
    if (r.folder == kNoFolder) // a whole path: its part after the last '/'
        if (const void* slash = ::memrchr(name.data(), '/', name.size()))
            name.remove_prefix(size_t(static_cast<const char*>(slash) - name.data()) + 1);
    return name;
}

int ResultList::findFileName(const QString& prefix, int from) const {
    const int n = count();
    if (n == 0 || prefix.isEmpty()) return -1;
    if (from < 0 || from >= n) from = 0;
    const QByteArray bytes = platform::encodePath(prefix);
    return index_.find(foldedName(std::string_view(bytes.constData(), size_t(bytes.size()))), from, n);
}

QByteArray ResultEntries::entryBytes(int row) const {
    if (row < 0 || row >= count()) return {};
    const Row& r = rowAt(size_t(row));
    const std::string_view name = nameAt(r);
    if (r.folder == kNoFolder) return QByteArray(name.data(), qsizetype(name.size()));
    const QByteArray& folder = folders_[r.folder];
    QByteArray out;
    out.reserve(folder.size() + 1 + qsizetype(name.size()));
    out.append(folder);
    if (!folder.endsWith('/')) out.append('/');
    out.append(name.data(), qsizetype(name.size()));
    return out;
}

qsizetype ResultEntries::copyEntry(int row, char* out, qsizetype room) const {
    if (row < 0 || row >= count()) return 0;
    const Row& r = rowAt(size_t(row));
    const QByteArray* folder = r.folder == kNoFolder ? nullptr : &folders_[r.folder];
    const bool slash = folder && !folder->endsWith('/');
    const std::string_view name = nameAt(r);
    const qsizetype size = (folder ? folder->size() + slash : 0) + qsizetype(name.size());
    if (size > room) return size;
    if (folder) {
        std::memcpy(out, folder->constData(), size_t(folder->size()));
        out += folder->size();
        if (slash) *out++ = '/';
    }
    if (!name.empty()) std::memcpy(out, name.data(), name.size());
    return size;
}

QString ResultList::entry(int row) const {
    return platform::decodePath(entryBytes(row));
}

void ResultList::flush() {
    if (shown_ >= count()) return;
    beginInsertRows(QModelIndex(), shown_, count() - 1);
    shown_ = count();
    endInsertRows();
}

void ResultList::removeEntry(int row) {
    if (row < 0 || row >= count()) return;
    const bool shown = row < shown_;
    if (shown) beginRemoveRows(QModelIndex(), row, row);
    store_.eraseRow(size_t(row));
    index_.removed(row);
    if (shown) {
        --shown_;
        endRemoveRows();
    }
}

void ResultList::clear() {
    beginResetModel();
    store_ = ResultEntries(); // give the memory back, not only the entries
    currentFolder_ = kNoFolder;
    shown_ = 0;
    index_.clear();
    endResetModel();
}

int ResultList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

Qt::ItemFlags ResultList::flags(const QModelIndex& index) const {
    return QAbstractListModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
}

QStringList ResultList::mimeTypes() const {
    return {QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};
}

QMimeData* ResultList::mimeData(const QModelIndexList& indexes) const {
    return indexes.isEmpty() ? nullptr : platform::fileMimeData(entry(indexes.first().row()));
}

QVariant ResultList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= shown_) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole) return entry(index.row());
    return {};
}

} // namespace search
