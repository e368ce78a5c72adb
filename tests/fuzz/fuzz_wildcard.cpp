// The wildcard matcher against any pattern and any file name. The input is the pattern
// (UTF-8, as typed), a 0 byte, and the name (any bytes); without a 0 byte the input is
// both. Checks:
// - the answer equals that of a plain table-driven matcher over characters (code points,
//   each case-folded on its own), for inputs small enough for the table;
// - the pattern stretched to a few hundred characters against the name stretched to 4 KB
//   still answers at once (the fuzzer's -timeout turns an exponential matcher into a
//   finding).
#include "platform/PathCodec.h"
#include "search/WildcardPattern.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::u32string foldedCodePoints(QStringView s) {
    std::u32string out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(s[i], s[i + 1]);
            ++i;
        }
        out.push_back(QChar::toCaseFolded(c));
    }
    return out;
}

// table[i][j]: the first i pattern characters match the first j name characters.
bool tableMatch(std::u32string_view p, std::u32string_view n) {
    std::vector<char> row(n.size() + 1, 0), next(n.size() + 1, 0);
    row[0] = 1;
    for (char32_t pc : p) {
        next[0] = pc == U'*' && row[0];
        for (size_t j = 1; j <= n.size(); ++j) {
            if (pc == U'*')
                next[j] = row[j] || next[j - 1];
            else
                next[j] = row[j - 1] && (pc == U'?' || pc == n[j - 1]);
        }
        row.swap(next);
    }
    return row[n.size()];
}

bool referenceMatch(const QString& patternText, std::string_view name) {
    std::u32string p = foldedCodePoints(patternText);
    while (!p.empty() && (p.back() == U' ' || p.back() == U'.'))
        p.pop_back();
    if (p.empty()) return false;
    const std::u32string n =
        foldedCodePoints(platform::decodePath(QByteArrayView(name.data(), qsizetype(name.size()))));
    if (tableMatch(p, n)) return true;
    return p.size() >= 2 && p.ends_with(U".*") &&
           tableMatch(std::u32string_view(p).substr(0, p.size() - 2), n);
}

std::string repeatTo(std::string_view s, size_t size) {
    std::string out;
    if (s.empty()) return out;
    while (out.size() + s.size() <= size)
        out.append(s);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t zero = input.find('\0');
    const std::string_view patternBytes = input.substr(0, zero);
    const std::string_view name = zero == std::string_view::npos ? input : input.substr(zero + 1);

    const QString patternText = QString::fromUtf8(patternBytes.data(), qsizetype(patternBytes.size()));
    const search::WildcardPattern pattern(patternText);
    const bool got = pattern.matches(name);
    if (patternBytes.size() * name.size() <= 64 * 1024) {
        const bool want = referenceMatch(patternText, name);
        if (got != want) {
            std::fprintf(stderr, "pattern \"%s\" against name \"%.*s\": matcher says %d, reference %d\n",
                         patternText.toUtf8().constData(), int(name.size()), name.data(), got, want);
            std::abort();
        }
    }

    const std::string longPattern = repeatTo(patternBytes, 300);
    const std::string longName = repeatTo(name, 4096);
    const search::WildcardPattern stretched(
        QString::fromUtf8(longPattern.data(), qsizetype(longPattern.size())));
    volatile bool sink = stretched.matches(longName);
    (void)sink;
    return 0;
}
