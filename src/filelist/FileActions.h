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

// Whether the selected entry's file may be deleted, asking the user: nothing happens for an
// empty entry; positionText "0" (no entry chosen since the list was filled) asks the user to
// select one; a blocked type is refused; then the question, whose Yes returns true.
bool AskToDelete(platform::MessageBoxes& boxes, QWidget* parent, const QString& entry,
                 const QString& positionText);
// Deletes the entry's file for good, by its real bytes: never a folder, no wildcards, a link
// rather than what it leads to. Returns 0 or the system's error number. Runs on any thread.
int DeleteFile(const QByteArray& entryBytes);
// Tells the user how the deletion went (error: DeleteFile's answer).
void ReportDelete(platform::MessageBoxes& boxes, QWidget* parent, int error);

// Opening the entry's file with the desktop's default application for its type, in two steps:
// the program never runs a file itself, so the blocked types are refused with the Show message
// (MayOpenWithDesktop, by the name alone), and so are files the desktop would run rather than
// open (desktop entries, files with an execute bit) and files that are gone (OpenRefusal, which
// looks at the file and runs on any thread: the refusal's text, or empty where the desktop may
// open it).
bool MayOpenWithDesktop(platform::MessageBoxes& boxes, QWidget* parent, const QString& entry);
QString OpenRefusal(const QString& entry);

} // namespace filelist
