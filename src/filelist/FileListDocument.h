#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

namespace search {
class ResultEntries;
}

class QIODevice;

namespace filelist {

// The file list document (extension f4u): one entry a line, every line ended by CR LF,
// UTF-8 without a byte-order mark, no header. Entries travel as the bytes of the paths
// they stand for (see platform/PathCodec.h), so a file name that is not valid UTF-8 is
// written back as its very bytes.

// --- reading -----------------------------------------------------------------------
// A line ends at CR LF or at a lone CR; a lone LF stays in the entry; the last line may
// end without CR LF; trailing blanks (0x20) are dropped; a leading UTF-8 byte-order mark
// is skipped. A line that is valid UTF-8 is taken as it is. Any other line is read as
// Windows-1252 (a document of the Windows program), except a line that starts with "/":
// that is a path of this system, and its bytes are kept as they are.
//
// Calls entry once for every entry, in document order, with the entry's path bytes (valid
// for the call only). Takes any bytes; time and memory are linear in document.size().
void readFileList(QByteArrayView document, const std::function<void(QByteArrayView entry)>& entry);

// --- writing -----------------------------------------------------------------------
// Appends one line: the entry's bytes and CR LF.
void appendFileListLine(QByteArray& document, QByteArrayView entry);

// --- the document on disk ----------------------------------------------------------
struct PlaylistResult {
    bool ok = true;
    QString error;         // why it failed, for the user
    bool changed = false;  // the document changed while it was read: what was read is given
    int entriesWithCr = 0; // saved entries that hold a CR: each loads back as several
    int entries = 0;       // entries read or written
};

using EntrySink = std::function<void(QByteArrayView entry)>;

// Reads the entries of document TheList, giving each to entry in document order. An empty
// name does nothing. A document that cannot be read gives nothing and says why. The document
// is read a block at a time, not mapped into memory: one that another program cuts short,
// lengthens or removes while it is read gives the entries read until then, the last one only
// where its line ended, and says it changed; a read that fails says why, after the whole
// lines read before it.
// Where stopped says so, between two blocks, the reading ends there.
PlaylistResult OpenPlaylist(const QString& TheList, const EntrySink& entry,
                            const std::function<bool()>& stopped = {});
// The same for a document already open for reading, read blockBytes at a time.
PlaylistResult ReadPlaylist(QIODevice& document, const EntrySink& entry, qint64 blockBytes,
                            const std::function<bool()>& stopped = {});

// Writes every entry to document TheList. The document is replaced as a whole or not at all:
// when the save fails, a document that was there keeps every byte.
PlaylistResult SavePlaylist(const QString& TheList, const search::ResultEntries& entries);

} // namespace filelist
