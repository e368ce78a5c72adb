#pragma once

#include "search/FileNameIndex.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QString>
#include <memory>
#include <string_view>
#include <vector>

namespace search {

// Entries stored as the result list stores them. A copy is cheap (the names are shared, not
// copied) and stays as it is whatever happens to the list it was taken from afterwards, so it can
// be read on another thread (a save) while the list goes on.
class ResultEntries {
public:
    int count() const { return int(rowCount_); }
    QByteArray entryBytes(int row) const;
    // Copies entry row's bytes to out when they fit in room bytes, and returns their
    // length either way: for writing many entries without making each a copy of its own.
    qsizetype copyEntry(int row, char* out, qsizetype room) const;

private:
    friend class ResultList;
    // 12 bytes an entry: the name's offset into the name arena in 40 bits, its length in 24.
    struct Row {
        uint32_t folder; // index into folders_, or kNoFolder
        uint32_t posLow;
        uint32_t posHigh : 8;
        uint32_t length : 24; // kLongName: the name's chunk starts with its length
    };
    static constexpr uint32_t kNoFolder = 0xFFFFFFFFu;
    static constexpr uint32_t kLongName = (1u << 24) - 1;
    static constexpr size_t kChunkSize = size_t(1) << 20;

    static constexpr int kBlockShift = 16; // rows are kept in blocks of 65,536
    static constexpr size_t kBlockRows = size_t(1) << kBlockShift;

    uint64_t storeName(std::string_view name);
    std::string_view nameAt(const Row& row) const;
    const Row& rowAt(size_t i) const { return blocks_[i >> kBlockShift][i & (kBlockRows - 1)]; }
    void pushRow(const Row& row);
    void eraseRow(size_t i);

    std::vector<QByteArray> folders_;
    // Written only past chunkUsed_ of the last one: what a copy refers to never changes.
    std::vector<std::shared_ptr<char[]>> chunks_;
    size_t chunkUsed_ = kChunkSize;
    // Blocks a copy shares are written only past its rows; a row removed from a shared block
    // copies the blocks from there on first.
    std::vector<std::shared_ptr<Row[]>> blocks_;
    size_t rowCount_ = 0;
};

// The result list's entries: the one store of the full paths the search found or a
// file list document brought in. A path is kept as the bytes the file system uses,
// its folder once for all the entries of that folder, so a million entries fit in a
// few dozen megabytes. Views see entries as text (see platform/PathCodec.h).
//
// Entries appended while a search runs reach the views in batches: flush() tells the
// views about everything appended since the last flush. count() and entry() always
// cover every entry.
class ResultList : public QAbstractListModel, private FileNameIndex::Names {
    Q_OBJECT
public:
    // How often, at most, a walk that yields often tells the views of what it appended
    // (and the window shows its progress): often enough to look continuous.
    static constexpr int kViewRefreshMs = 40;

    explicit ResultList(QObject* parent = nullptr);
    ~ResultList() override;

    // Appending from a walk: the folder of the following entries, then their names.
    void setFolder(std::string_view folder);
    void appendName(std::string_view name);
    // Appending one entry given as text, or as the bytes it stands for.
    void append(const QString& path);
    void appendBytes(QByteArrayView path);
    void flush();

    int count() const { return store_.count(); }
    QString entry(int row) const;
    QByteArray entryBytes(int row) const { return store_.entryBytes(row); }
    qsizetype copyEntry(int row, char* out, qsizetype room) const { return store_.copyEntry(row, out, room); }
    // Every entry as it stands now, for reading on any thread.
    ResultEntries entries() const { return store_; }
    // The first entry from row from on, going round to the top after the last, whose file
    // name (what follows its last "/") starts with prefix, letters compared without regard
    // to case; -1 when there is none.
    int findFileName(const QString& prefix, int from) const;
    void removeEntry(int row);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // An entry dragged out is handed over as a file (see platform/PathCodec.h).
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    using Row = ResultEntries::Row;
    static constexpr uint32_t kNoFolder = ResultEntries::kNoFolder;
    static constexpr uint32_t kLongName = ResultEntries::kLongName;

    std::string_view fileName(int row) const override; // the part after the last '/'
    void appendRow(uint32_t folder, std::string_view name);

    ResultEntries store_;
    uint32_t currentFolder_ = kNoFolder;
    bool folderPending_ = false;
    QByteArray pendingFolder_;
    int shown_ = 0; // entries the views know of
    FileNameIndex index_{*this};
};

} // namespace search
