#pragma once

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace platform {
class FileCopier;
class MessageBoxes;
} // namespace platform

// The Copy File dialog's work without the window: the save dialog's filter for the file
// being copied, and the Paste steps.
namespace modCopy {

// The filter for sourcePath ("Label|pattern"): each of the 27 rules compares the path's
// last characters, lower-cased, with its code; every match sets the filter, so the last
// one wins. Without a match the filter stays currentFilter.
QString BrowseFilter(const QString& sourcePath, const QString& currentFilter);

enum class PasteOutcome {
    NotRun, // neither a file nor a target
    Copied,
    NotCopied, // failed, or the user kept the existing target or cancelled
};

// Copies source to target with the desktop's copy. A failure shows the system's error
// number (title "ORVIK SEARCHER", OK); a copy the user stopped or declined shows
// "Operation Failed". After a failure the plain copy tries once more; after a stop it
// does not run, so a target the user kept is never overwritten. Returns at once; done gets
// the outcome on the owner's thread once the copies are over (at once for NotRun).
void PasteFile(std::shared_ptr<platform::FileCopier> copier, std::shared_ptr<platform::MessageBoxes> boxes,
               QWidget* owner, const QString& source, const QString& target,
               std::function<void(PasteOutcome)> done);

// The status line after Paste.
QString PasteStatus(PasteOutcome outcome, const QString& target);

} // namespace modCopy
