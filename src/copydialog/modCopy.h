#pragma once

#include <QString>

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
// does not run, so a target the user kept is never overwritten.
PasteOutcome PasteFile(platform::FileCopier& copier, platform::MessageBoxes& boxes, QWidget* owner,
                       const QString& source, const QString& target);

// The status line after Paste.
QString PasteStatus(PasteOutcome outcome, const QString& target);

} // namespace modCopy
