#include "platform/DesktopData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace platform {

QString homeFolder() {
    const QByteArray set = qgetenv("HOME");
    if (set.startsWith('/')) return QFile::decodeName(set);
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir && user->pw_dir[0] == '/' ? QFile::decodeName(user->pw_dir) : QString();
}

QString XdgDesktopData::folder() const {
    // $XDG_DATA_HOME when it is an absolute path, ~/.local/share otherwise.
    const QString set = qEnvironmentVariable("XDG_DATA_HOME");
    QString f = set;
    if (set.isEmpty() || !QDir::isAbsolutePath(set)) {
        const QString home = homeFolder();
        if (home.isEmpty()) return QString();
        f = home + QStringLiteral("/.local/share");
    }
    while (f.size() > 1 && f.endsWith(QLatin1Char('/')))
        f.chop(1);
    return f;
}

QByteArray XdgDesktopData::readFile(const QString& path) const {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

bool XdgDesktopData::updateFile(const QString& relativePath, const QByteArray& content) {
    const QString path = folder() + QLatin1Char('/') + relativePath;
    QFile current(path);
    if (current.size() == content.size() && current.open(QIODevice::ReadOnly) && current.readAll() == content)
        return false;
    current.close();
    if (!QDir().mkpath(QFileInfo(path).path())) return false;
    QSaveFile f(path); // the desktop never sees a half-written file
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(content);
    return f.commit();
}

bool XdgDesktopData::exists(const QString& relativePath) const {
    return QFileInfo::exists(folder() + QLatin1Char('/') + relativePath);
}

void XdgDesktopData::startTool(const QString& program, const QStringList& arguments) {
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty()) return;
    QProcess tool;
    tool.setProgram(found);
    tool.setArguments(arguments);
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.setStandardErrorFile(QProcess::nullDevice());
    tool.startDetached();
}

} // namespace platform
