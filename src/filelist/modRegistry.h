#pragma once

#include <QByteArray>
#include <QString>

namespace platform {
class DesktopData;
}

namespace filelist {

// Registers a document type with the desktop, for this user, the freedesktop way:
// - mime/packages/<appName>-<extension>.xml: the type application/x-<extension>, named
//   by typeDescription, for the files *.<extension>, with the type's icon;
// - applications/<appName>.desktop: the program appFolder/appName, which opens such
//   documents (the desktop passes the document's path, which the program ignores);
// - icons/hicolor/48x48/mimetypes/application-x-<extension>.png: the largest picture
//   of iconFile (an .ico file), when iconFile is given and can be read.
// A file that already holds the same content is not written again. The desktop's caches
// are brought up to date (update-mime-database, update-desktop-database, started
// without waiting) when a file changed or a cache is missing. Every failure is silent, but for
// a user without a home folder: nothing is registered, and standard error says why. Runs on
// any thread.
void AssociateFileType(const QString& extension, const QString& appFolder, const QString& appName,
                       const QString& typeDescription, const QString& iconFile,
                       platform::DesktopData& desktop);

// The contents AssociateFileType writes.
QString mimeTypeOf(const QString& extension);
QByteArray mimePackage(const QString& extension, const QString& typeDescription, bool withIcon);
// Empty when the program's path cannot be written into a desktop entry.
QByteArray desktopEntry(const QString& programPath, const QString& appName, const QString& extension);
// The largest picture of an .ico file as PNG data; empty if there is none.
QByteArray largestIconPicture(const QByteArray& ico);

} // namespace filelist
