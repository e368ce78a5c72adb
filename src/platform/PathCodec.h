#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

class QMimeData;

namespace platform {

// File names on Linux are bytes. The program shows and stores them as text: valid
// UTF-8 is decoded as usual, and every byte that is not part of valid UTF-8 becomes
// the lone surrogate U+DC80..U+DCFF, so that encodePath() gives back the very bytes.
QString decodePath(QByteArrayView bytes);
QByteArray encodePath(QStringView text);

// Appends the decoded form of bytes to out (the fast path for ASCII is a plain widen).
void appendDecodedPath(QString& out, QByteArrayView bytes);

// The file: address of a path as other programs take it: its real bytes, percent-encoded.
QString fileUri(const QString& path);

// A file as it is handed to other programs (the clipboard, a drag): its path as text (its very
// bytes, as the system names the file), and a file reference (text/uri-list) that keeps its
// very bytes too, so that file managers take it as the file itself.
QMimeData* fileMimeData(const QString& path);

} // namespace platform
