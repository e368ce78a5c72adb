#pragma once

#include <QDBusConnection>
#include <QString>

#include <functional>
#include <optional>

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
// is empty or names nothing, the program's own properties window is shown instead. The file
// is looked at on a thread of its own, never waited for: a file on a volume that hangs
// shows nothing until the volume answers.
class DesktopFileProperties : public FileProperties {
public:
    // Without a bus given, the session bus, connected to when first needed.
    explicit DesktopFileProperties(std::optional<QDBusConnection> bus = std::nullopt, int timeoutMs = 10000)
        : bus_(std::move(bus)), timeoutMs_(timeoutMs) {}
    void show(const QString& path) override;

private:
    std::optional<QDBusConnection> bus_;
    int timeoutMs_;
};

// Asks the desktop's file manager (org.freedesktop.FileManager1) on bus to do method for
// path, without waiting; noAnswer runs when none answers within timeoutMs (or there is no bus).
void askFileManager(const QDBusConnection& bus, const QString& method, const QString& path, int timeoutMs,
                    std::function<void()> noAnswer);

// The bus given, or else the session bus, connected to on this first call: not at start,
// where connecting (and, with no session bus, the D-Bus library starting one) would cost
// the window its first appearance.
const QDBusConnection& busWhenNeeded(std::optional<QDBusConnection>& bus);

// What the program's own properties window shows of a file: its rows, by name, in order. Reads
// the file system: runs on any thread.
struct FileFacts {
    struct Row {
        const char* caption; // "Name:", "Size:", ...
        const char* name;    // the value label's object name: "name", "size", ...
        QString value;
    };
    bool exists = false;
    QList<Row> rows;
};
FileFacts readFileFacts(const QString& path);

// The program's own properties window for path, with the facts read of it: name, folder,
// type, size, dates, owner and permissions. Not modal; it deletes itself when closed.
QDialog* showPropertiesWindow(const QString& path, const FileFacts& facts);

} // namespace platform
