#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace search {

// A file name wildcard as the user types it: '*' stands for any run of characters
// (also none), '?' for exactly one, letters match without regard to case. Trailing
// blanks and dots of the pattern are ignored, a final ".*" may also match nothing
// (so "*.*" matches every name), and an empty pattern matches nothing. A character is
// one code point (a stray byte of a name that is not UTF-8 counts as one). Time is at
// most the name's length times the pattern's, however many '*' the pattern holds.
class WildcardPattern {
public:
    explicit WildcardPattern(const QString& pattern);

    // name is a file name as the file system stores it (bytes, normally UTF-8).
    bool matches(std::string_view name) const;

private:
    bool matchAscii(std::string_view name) const;
    bool matchFolded(std::string_view name) const;

    bool empty_ = true;
    bool asciiPattern_ = true;
    std::string asciiLower_; // the pattern, ASCII letters in lower case
    std::u32string folded_;  // the pattern's characters, case-folded, for names that are not ASCII
    bool optionalDotStar_ = false;
    bool starThenLiteral_ = false; // "*" and then no other wildcard ("*.txt"): the name's end decides
};

} // namespace search
