#pragma once

#include <QDBusConnection>
#include <QString>

class QDialog;

namespace platform {

// The desktop's properties view of a file or folder. show() returns at once; the view
// stays open on its own. Tests replace this.
class FileProperties {
public:
    virtual ~FileProperties() = default;
    virtual void show(const QString& path) = 0;
};

// Asks the desktop's file manager (org.freedesktop.FileManager1.ShowItemProperties on
// the given bus) without waiting for it. Where no file manager answers, where the path
// is empty or names nothing, the program's own properties window is shown instead.
class DesktopFileProperties : public FileProperties {
public:
    explicit DesktopFileProperties(QDBusConnection bus = QDBusConnection::sessionBus(), int timeoutMs = 10000)
        : bus_(std::move(bus)), timeoutMs_(timeoutMs) {}
    void show(const QString& path) override;

private:
    QDBusConnection bus_;
    int timeoutMs_;
};

// The file: address of a path as the file manager takes it: its real bytes, percent-encoded.
QString fileUri(const QString& path);

// The program's own properties window for path: name, folder, type, size, dates, owner
// and permissions. Not modal; it deletes itself when closed.
QDialog* showPropertiesWindow(const QString& path);

} // namespace platform
