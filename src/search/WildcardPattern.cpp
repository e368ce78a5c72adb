#include "search/WildcardPattern.h"

#include "platform/PathCodec.h"

namespace search {

namespace {

inline char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}

// Classic wildcard matching with one backtrack point (the last '*').
template <typename Pat, typename Name, typename Fold>
bool wildMatch(const Pat& pat, qsizetype pn, const Name& name, qsizetype nn, Fold fold) {
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < nn) {
        if (p < pn && pat[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pn && (pat[p] == '?' || fold(pat[p]) == fold(name[n]))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pn && pat[p] == '*')
        ++p;
    return p == pn;
}

// The characters of s, each case-folded on its own; a surrogate that is not part of a
// pair (the form of a stray byte, see platform/PathCodec.h) stays as it is.
std::u32string foldedCodePoints(QStringView s) {
    std::u32string out;
    out.reserve(size_t(s.size()));
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

} // namespace

WildcardPattern::WildcardPattern(const QString& pattern) {
    QString p = pattern;
    while (!p.isEmpty() && (p.back() == QLatin1Char(' ') || p.back() == QLatin1Char('.')))
        p.chop(1);
    empty_ = p.isEmpty();
    if (p.size() >= 2 && p.endsWith(QLatin1String(".*"))) optionalDotStar_ = true;
    for (QChar c : p)
        if (c.unicode() >= 0x80) asciiPattern_ = false;
    if (asciiPattern_) {
        asciiLower_.reserve(p.size());
        for (QChar c : p)
            asciiLower_.push_back(asciiLower(char(c.unicode())));
    }
    folded_ = foldedCodePoints(p);
    starThenLiteral_ = asciiPattern_ && !optionalDotStar_ && !asciiLower_.empty() && asciiLower_[0] == '*' &&
                       asciiLower_.find_first_of("*?", 1) == std::string::npos;
}

bool WildcardPattern::matchAscii(std::string_view name) const {
    const auto same = [](char c) { return asciiLower(c); };
    const qsizetype pn = qsizetype(asciiLower_.size());
    if (starThenLiteral_) {
        if (name.size() < size_t(pn - 1)) return false;
        const char* end = name.data() + name.size() - (pn - 1);
        for (qsizetype i = 1; i < pn; ++i)
            if (asciiLower(end[i - 1]) != asciiLower_[size_t(i)]) return false;
        return true;
    }
    if (wildMatch(asciiLower_, pn, name, qsizetype(name.size()), same)) return true;
    return optionalDotStar_ && wildMatch(asciiLower_, pn - 2, name, qsizetype(name.size()), same);
}

bool WildcardPattern::matchFolded(std::string_view name) const {
    const auto same = [](char32_t c) { return c; };
    const std::u32string n =
        foldedCodePoints(platform::decodePath(QByteArrayView(name.data(), qsizetype(name.size()))));
    const qsizetype pn = qsizetype(folded_.size()), nn = qsizetype(n.size());
    if (wildMatch(folded_, pn, n, nn, same)) return true;
    return optionalDotStar_ && wildMatch(folded_, pn - 2, n, nn, same);
}

bool WildcardPattern::matches(std::string_view name) const {
    if (empty_) return false;
    if (asciiPattern_) {
        bool ascii = true;
        for (char c : name)
            if (static_cast<unsigned char>(c) >= 0x80) {
                ascii = false;
                break;
            }
        if (ascii) return matchAscii(name);
    }
    return matchFolded(name);
}

} // namespace search
