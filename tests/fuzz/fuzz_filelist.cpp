// The file list document reader against any bytes. Checks:
// - every line gives one entry: one for each CR (a CR LF counts once) and one for what
//   follows the last CR or CR LF, if anything does;
// - no entry holds a CR or a NUL or ends in a blank, and each is valid UTF-8 or starts with "/";
// - writing the entries as a document and reading that gives the same entries, and the
//   result list keeps each entry byte for byte;
// - the input repeated to 1 MB reads in time linear in its size (a reader that is
//   quadratic on long lines or many CRs runs into the fuzzer's -timeout).
#include "filelist/FileListDocument.h"
#include "platform/PathCodec.h"
#include "search/ResultList.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what, qsizetype entry) {
    std::fprintf(stderr, "file list reader: %s (entry %lld)\n", what, static_cast<long long>(entry));
    std::abort();
}

std::vector<QByteArray> read(QByteArrayView document) {
    std::vector<QByteArray> entries;
    filelist::readFileList(document, [&entries](QByteArrayView e) { entries.push_back(e.toByteArray()); });
    return entries;
}

// The path codec turns every byte that is not part of valid UTF-8 into a lone surrogate.
bool isUtf8(const QByteArray& bytes) {
    const QString text = platform::decodePath(bytes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return false;
    }
    return true;
}

qsizetype expectedLines(QByteArrayView body) {
    const bool ended = body.isEmpty() || body.endsWith('\r') || body.endsWith("\r\n");
    return body.count('\r') + (ended ? 0 : 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView document(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<QByteArray> entries = read(document);

    const QByteArrayView body = document.startsWith("\xEF\xBB\xBF") ? document.sliced(3) : document;
    if (qsizetype(entries.size()) != expectedLines(body)) fail("entries and lines differ in number", -1);
    QByteArray written;
    search::ResultList list;
    for (size_t i = 0; i < entries.size(); ++i) {
        const QByteArray& e = entries[i];
        if (e.contains('\r')) fail("an entry holds a CR", qsizetype(i));
        if (e.contains('\0')) fail("an entry holds a NUL", qsizetype(i));
        if (e.endsWith(' ')) fail("an entry ends in a blank", qsizetype(i));
        if (!e.startsWith('/') && !isUtf8(e)) fail("an entry is not UTF-8", qsizetype(i));
        filelist::appendFileListLine(written, e);
        list.appendBytes(e);
    }
    if (filelist::readFileListEntries(document).size() != qsizetype(entries.size()))
        fail("the entries as text differ in number", -1);
    const bool bomFirst = !entries.empty() && entries.front().startsWith("\xEF\xBB\xBF");
    if (!bomFirst && read(written) != entries) fail("written and read again, the entries changed", -1);
    list.flush();
    for (size_t i = 0; i < entries.size(); ++i)
        if (list.entryBytes(int(i)) != entries[i]) fail("the result list changed an entry", qsizetype(i));

    // One input in 32 (chosen by its bytes, so a finding replays) is also read stretched.
    if (size > 0 && qHash(document) % 32 == 0) {
        constexpr qsizetype kStretched = qsizetype(1) << 20;
        QByteArray stretched;
        stretched.reserve(kStretched + qsizetype(size));
        while (stretched.size() < kStretched)
            stretched.append(document);
        qsizetype count = 0;
        filelist::readFileList(stretched, [&count](QByteArrayView) { ++count; });
        if (count < qsizetype(entries.size())) fail("a longer document gave fewer entries", -1);
    }
    return 0;
}
