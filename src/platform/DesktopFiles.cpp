#include "platform/DesktopFiles.h"

#include "platform/FileProperties.h"
#include "platform/PathCodec.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace platform {

namespace {
QUrl fileUrl(const QString& path) {
    return QUrl::fromEncoded(fileUri(path).toLatin1());
}
} // namespace

void SystemDesktopFiles::open(const QString& path) {
    QDesktopServices::openUrl(fileUrl(path));
}

void SystemDesktopFiles::showInFolder(const QString& path) {
    const QString folder = path.left(std::max<qsizetype>(path.lastIndexOf(QLatin1Char('/')), 1));
    askFileManager(busWhenNeeded(bus_), QStringLiteral("ShowItems"), path, 10000,
                   [folder] { QDesktopServices::openUrl(fileUrl(folder)); });
}

void SystemDesktopFiles::copyPath(const QString& path) {
    QGuiApplication::clipboard()->setMimeData(fileMimeData(path));
}

} // namespace platform
