#pragma once

#include <string_view>
#include <sys/stat.h>

namespace search {

// Told what a walk saw, folder by folder in the walk's order, so that the tree can be kept (see
// KeptTree). A folder the walk entered gets entered(), then every entry it listed, in the file
// system's order: file() for each entry the walk lists as a file (whatever the pattern),
// subFolder() for each sub-folder, linkToFolder() for each link to a folder (neither listed nor
// entered); then listed() once its entries are read, then for each of its sub-folders in order either
// the sub-folder's own entered() ... left() or notEntered(); then left().
class WalkRecord {
public:
    virtual ~WalkRecord() = default;
    // fd is open on the folder until left(); st is its status as the walk read it.
    virtual void entered(int fd, const struct stat& st) = 0;
    virtual void file(std::string_view name, unsigned char type) = 0;
    virtual void subFolder(std::string_view name) = 0;
    virtual void linkToFolder(std::string_view name) = 0;
    virtual void listed() = 0;
    virtual void notEntered() = 0;
    virtual void left() = 0;
};

} // namespace search
