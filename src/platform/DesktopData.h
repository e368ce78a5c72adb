#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// The user's home folder: $HOME where it names one (an absolute path), else the one the
// system's user database gives the user, as GLib takes it; empty where there is neither.
QString homeFolder();

// The user's own part of the desktop's data: the folder $XDG_DATA_HOME (by default
// ~/.local/share) where file types, programs and icons are registered for one user,
// and the tools that bring the desktop's caches of it up to date.
class DesktopData {
public:
    virtual ~DesktopData() = default;
    // The data folder, without a trailing '/'; empty where there is none (no home folder).
    virtual QString folder() const = 0;
    // Reads a whole file (an absolute path); empty when it cannot be read.
    virtual QByteArray readFile(const QString& path) const = 0;
    // Puts content into the file at relativePath below the data folder, making the
    // folders on the way. A file that already holds exactly this content is left as it
    // is. Returns true only when the file was written; every failure is silent.
    virtual bool updateFile(const QString& relativePath, const QByteArray& content) = 0;
    // Whether relativePath exists below the data folder.
    virtual bool exists(const QString& relativePath) const = 0;
    // Starts a tool of the desktop (looked up on PATH) without waiting for it; nothing
    // happens when it is not installed.
    virtual void startTool(const QString& program, const QStringList& arguments) = 0;
};

// The real folder and the real tools.
class XdgDesktopData : public DesktopData {
public:
    QString folder() const override;
    QByteArray readFile(const QString& path) const override;
    bool updateFile(const QString& relativePath, const QByteArray& content) override;
    bool exists(const QString& relativePath) const override;
    void startTool(const QString& program, const QStringList& arguments) override;
};

} // namespace platform
