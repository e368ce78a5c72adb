#pragma once

#include <QString>

class QWidget;

namespace platform {
class DesktopFiles;
class FileProperties;
class MessageBoxes;
} // namespace platform

namespace filelist {

// Shows the desktop's properties view of sFullFileAndPathName and returns at once.
void DisplayFileProperties(platform::FileProperties& properties, const QString& sFullFileAndPathName);

enum class DeleteOutcome {
    NotAsked, // nothing selected, or the entry may not be deleted: nothing was done
    Kept,     // the user answered No
    Deleted,  // the file is gone: the caller removes its entry
    Failed,   // the file could not be removed; the user was told, the entry stays
};

// Deletes the selected entry's file for good after the user's Yes: nothing happens for an
// empty entry; positionText "0" (no entry chosen since the list was filled) asks the
// user to select one; a blocked type is refused; then the question, the deletion by the
// entry's real bytes (never a folder, no wildcards) and its message.
DeleteOutcome DeleteSelectedFile(platform::MessageBoxes& boxes, QWidget* parent, const QString& entry,
                                 const QString& positionText);

// Hands the entry's file to the desktop's default application for its type. The program
// never runs a file itself: the blocked types are refused with the Show message, and so
// are files the desktop would run rather than open (desktop entries, files with an execute
// bit); a file that is gone is reported. Returns whether the desktop was asked.
bool OpenWithDesktop(platform::MessageBoxes& boxes, platform::DesktopFiles& desktop, QWidget* parent,
                     const QString& entry);

} // namespace filelist
