#pragma once

#include <QDBusConnection>
#include <QString>

#include <optional>

namespace platform {

// What the desktop does with a found file besides what the buttons do: open it with the
// application the desktop has for its type, show it in its folder, put it on the
// clipboard. Every call returns at once. Tests replace this.
class DesktopFiles {
public:
    virtual ~DesktopFiles() = default;
    virtual void open(const QString& path) = 0;
    virtual void showInFolder(const QString& path) = 0;
    virtual void copyPath(const QString& path) = 0;
};

// The desktop's own ways: its default application (Qt's desktop services, which ask
// xdg-open or the desktop portal), the file manager over D-Bus
// (org.freedesktop.FileManager1.ShowItems; the folder opened with its default application
// where none answers), the system clipboard.
class SystemDesktopFiles : public DesktopFiles {
public:
    // Without a bus given, the session bus, connected to when first needed.
    explicit SystemDesktopFiles(std::optional<QDBusConnection> bus = std::nullopt) : bus_(std::move(bus)) {}
    void open(const QString& path) override;
    void showInFolder(const QString& path) override;
    void copyPath(const QString& path) override;

private:
    std::optional<QDBusConnection> bus_;
};

} // namespace platform
