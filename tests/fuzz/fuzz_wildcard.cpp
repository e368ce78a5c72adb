// The wildcard matcher against any pattern and name. The input is the pattern (UTF-8), a 0 byte and the
// name (any bytes); without a 0 byte it is both. The answer equals a plain table-driven matcher's over
// code points, each case-folded, for inputs small enough; stretched to a few hundred pattern characters
// and a 4 KB name it still answers at once (an exponential matcher hits the -timeout).
#include "platform/PathCodec.h"
#include "search/WildcardPattern.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
std::u32string foldedCodePoints(QStringView s) {
    std::u32string out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(s[i], s[i + 1]), ++i;
        out.push_back(QChar::toCaseFolded(c));
    }
    return out;
}
bool tableMatch(std::u32string_view p,
                std::u32string_view n) { // row[j]: the pattern so far matches n's first j
    std::vector<char> row(n.size() + 1, 0), next(n.size() + 1, 0);
    row[0] = 1;
    for (char32_t pc : p) {
        next[0] = pc == U'*' && row[0];
        for (size_t j = 1; j <= n.size(); ++j)
            next[j] = pc == U'*' ? row[j] || next[j - 1] : row[j - 1] && (pc == U'?' || pc == n[j - 1]);
        row.swap(next);
    }
    return row[n.size()];
}
bool referenceMatch(const QString& patternText, std::string_view name) {
    std::u32string p = foldedCodePoints(patternText);
    while (!p.empty() && (p.back() == U' ' || p.back() == U'.'))
        p.pop_back();
    const std::u32string n =
        foldedCodePoints(platform::decodePath(QByteArrayView(name.data(), qsizetype(name.size()))));
    return !p.empty() &&
           (tableMatch(p, n) ||
            (p.ends_with(U".*") && tableMatch(std::u32string_view(p).substr(0, p.size() - 2), n)));
}
std::string repeatTo(std::string_view s, size_t size) {
    std::string out;
    while (!s.empty() && out.size() + s.size() <= size)
        out.append(s);
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t zero = input.find('\0');
    const std::string_view patternBytes = input.substr(0, zero),
                           name = zero == std::string_view::npos ? input : input.substr(zero + 1);
    const QString patternText = QString::fromUtf8(patternBytes.data(), qsizetype(patternBytes.size()));
    const bool got = search::WildcardPattern(patternText).matches(name);
    if (patternBytes.size() * name.size() <= 64 * 1024 && got != referenceMatch(patternText, name)) {
        std::fprintf(stderr, "pattern \"%s\" against name \"%.*s\": matcher says %d\n",
                     patternText.toUtf8().constData(), int(name.size()), name.data(), got);
        std::abort();
    }
    const std::string longPattern = repeatTo(patternBytes, 300);
    volatile bool sink =
        search::WildcardPattern(QString::fromUtf8(longPattern.data(), qsizetype(longPattern.size())))
            .matches(repeatTo(name, 4096));
    (void)sink;
    return 0;
}
