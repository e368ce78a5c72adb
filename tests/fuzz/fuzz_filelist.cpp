// The file list document reader against any bytes: one entry per CR (a CR LF counts once) and one for
// what follows the last, if anything; no entry holds a CR or a NUL or ends in a blank, each is UTF-8 or
// starts with "/"; written and read again the entries stay, and the result list keeps them byte for
// byte; the input stretched to 1 MB reads in linear time (a quadratic reader hits the -timeout).
#include "filelist/FileListDocument.h"
#include "search/ResultList.h"

#include <QHash>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
[[noreturn]] void fail(const char* what, size_t entry) {
    std::fprintf(stderr, "file list reader: %s (entry %zu)\n", what, entry), std::abort();
}
std::vector<QByteArray> read(QByteArrayView document) {
    std::vector<QByteArray> entries;
    filelist::readFileList(document, [&entries](QByteArrayView e) { entries.push_back(e.toByteArray()); });
    return entries;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView document(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<QByteArray> entries = read(document);
    const QByteArrayView body = document.startsWith("\xEF\xBB\xBF") ? document.sliced(3) : document;
    const bool ended = body.isEmpty() || body.endsWith('\r') || body.endsWith("\r\n");
    if (qsizetype(entries.size()) != body.count('\r') + (ended ? 0 : 1))
        fail("entries and lines differ in number", 0);
    QByteArray written;
    search::ResultList list;
    for (size_t i = 0; i < entries.size(); ++i) {
        const QByteArray& e = entries[i];
        if (e.contains('\r') || e.contains('\0')) fail("an entry holds a CR or a NUL", i);
        if (e.endsWith(' ')) fail("an entry ends in a blank", i);
        if (!e.startsWith('/') && !QUtf8StringView(e).isValidUtf8()) fail("an entry is not UTF-8", i);
        filelist::appendFileListLine(written, e);
        list.appendBytes(e);
    }
    const bool bomFirst = !entries.empty() && entries.front().startsWith("\xEF\xBB\xBF");
    if (!bomFirst && read(written) != entries) fail("written and read again, the entries changed", 0);
    list.flush();
    for (size_t i = 0; i < entries.size(); ++i)
        if (list.entryBytes(int(i)) != entries[i]) fail("the result list changed an entry", i);
    if (size > 0 &&
        qHash(document) % 32 == 0) { // one input in 32 (by its bytes, so a finding replays), stretched
        QByteArray stretched;
        while (stretched.size() < (1 << 20))
            stretched.append(document);
        size_t count = 0;
        filelist::readFileList(stretched, [&count](QByteArrayView) { ++count; });
        if (count < entries.size()) fail("a longer document gave fewer entries", 0);
    }
    return 0;
}
