#include "filelist/modRegistry.h"

#include "platform/DesktopData.h"

#include <QBuffer>
#include <QImage>

#include <QtEndian>
#include <cstdio>

namespace filelist {

namespace {

QString xmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

// One argument of a desktop entry's Exec line, quoted: inside the quotes '"', '`', '$'
// and '\' are escaped with '\', '%' is doubled; then the entry's own string escape
// doubles every '\' once more.
QString execArgument(const QString& argument) {
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        else if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString iconName(const QString& extension) {
    return mimeTypeOf(extension).replace(QLatin1Char('/'), QLatin1Char('-'));
}

} // namespace

QString mimeTypeOf(const QString& extension) {
    return QStringLiteral("application/x-") + extension.toLower();
}

QByteArray mimePackage(const QString& extension, const QString& typeDescription, bool withIcon) {
    QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
    xml += QStringLiteral("  <mime-type type=\"%1\">\n").arg(xmlEscaped(mimeTypeOf(extension)));
    xml += QStringLiteral("    <comment>%1</comment>\n").arg(xmlEscaped(typeDescription));
    xml += QStringLiteral("    <sub-class-of type=\"text/plain\"/>\n");
    if (withIcon) xml += QStringLiteral("    <icon name=\"%1\"/>\n").arg(xmlEscaped(iconName(extension)));
    xml += QStringLiteral("    <glob pattern=\"*.%1\"/>\n").arg(xmlEscaped(extension));
    xml += QStringLiteral("  </mime-type>\n</mime-info>\n");
    return xml.toUtf8();
}

QByteArray desktopEntry(const QString& programPath, const QString& appName, const QString& extension) {
    // A line break cannot be written into a value; a name that is not text, neither.
    if (programPath.contains(QLatin1Char('\n')) || programPath.contains(QLatin1Char('\r')) ||
        programPath.contains(QChar(0)))
        return {};
    for (const QChar c : programPath)
        if (c.isSurrogate()) return {};
    QString entry = QStringLiteral("[Desktop Entry]\nType=Application\n");
    entry += QStringLiteral("Name=ORVIK SEARCHER\n");
    entry += QStringLiteral("Comment=Find files by name or type; search the web with six engines at once\n");
    entry += QStringLiteral("Exec=%1 %f\n").arg(execArgument(programPath));
    entry += QStringLiteral("Icon=%1\n").arg(appName);
    entry += QStringLiteral("Terminal=false\n");
    entry += QStringLiteral("Categories=Utility;FileTools;\n");
    entry += QStringLiteral("MimeType=%1;\n").arg(mimeTypeOf(extension));
    return entry.toUtf8();
}

QByteArray largestIconPicture(const QByteArray& ico) {
    // Header: reserved 0, type 1, count; then 16 bytes for each picture.
    const auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(ico.constData() + at); };
    const auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(ico.constData() + at); };
    if (ico.size() < 6 || u16(0) != 0 || u16(2) != 1) return {};
    const int count = u16(4);
    if (ico.size() < 6 + 16 * qsizetype(count)) return {};
    int best = -1, bestSize = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype e = 6 + 16 * qsizetype(i);
        const int w = quint8(ico[e]) ? quint8(ico[e]) : 256;
        const quint32 size = u32(e + 8), offset = u32(e + 12);
        if (offset > quint32(ico.size()) || size > quint32(ico.size()) - offset) continue;
        if (w > bestSize) {
            best = i;
            bestSize = w;
        }
    }
    if (best < 0) return {};
    const qsizetype e = 6 + 16 * qsizetype(best);
    const QByteArray picture = ico.mid(u32(e + 12), u32(e + 8));
    static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
    if (picture.startsWith(pngSignature)) return picture; // stored as PNG already
    // A bitmap picture: let the image reader decode the icon file and write it as PNG.
    QImage image;
    if (!image.loadFromData(ico, "ICO")) return {};
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    if (!image.save(&out, "PNG")) return {};
    return png;
}

void AssociateFileType(const QString& extension, const QString& appFolder, const QString& appName,
                       const QString& typeDescription, const QString& iconFile,
                       platform::DesktopData& desktop) {
    if (desktop.folder().isEmpty()) {
        std::fprintf(stderr,
                     "%s: the %s document type is not registered: there is no home folder (HOME is not "
                     "set, and the user database has no entry for this user).\n",
                     qPrintable(appName), qPrintable(extension));
        return;
    }
    QString folder = appFolder;
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');

    const QString iconCopy = QStringLiteral("icons/hicolor/48x48/mimetypes/%1.png").arg(iconName(extension));
    const QByteArray picture =
        iconFile.isEmpty() ? QByteArray() : largestIconPicture(desktop.readFile(iconFile));
    if (!picture.isEmpty()) desktop.updateFile(iconCopy, picture);

    const bool mimeChanged =
        desktop.updateFile(QStringLiteral("mime/packages/%1-%2.xml").arg(appName, extension),
                           mimePackage(extension, typeDescription, !picture.isEmpty()));
    if (mimeChanged || !desktop.exists(QStringLiteral("mime/mime.cache")))
        desktop.startTool(QStringLiteral("update-mime-database"),
                          {desktop.folder() + QStringLiteral("/mime")});

    const QByteArray entry = desktopEntry(folder + appName, appName, extension);
    const bool entryChanged =
        !entry.isEmpty() && desktop.updateFile(QStringLiteral("applications/%1.desktop").arg(appName), entry);
    if (entryChanged || !desktop.exists(QStringLiteral("applications/mimeinfo.cache")))
        desktop.startTool(QStringLiteral("update-desktop-database"),
                          {desktop.folder() + QStringLiteral("/applications")});
}

} // namespace filelist
