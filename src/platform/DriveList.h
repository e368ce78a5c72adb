#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <future>
#include <memory>

class QObject;

namespace platform {

// One searchable volume: its root folder and, where it has one, its name.
struct Volume {
    QString rootPath;
    QString name;
    bool operator==(const Volume&) const = default;
};

// The volumes the drive list offers; tests offer their own temporary folders.
class DriveList {
public:
    virtual ~DriveList() = default;
    virtual QList<Volume> volumes() const = 0;
    // Index into volumes() of the volume selected at start (-1 for none).
    virtual int startIndex(const QList<Volume>& volumes) const = 0;
    // Calls changed on receiver's thread, while receiver lives, whenever the volumes may have
    // changed (one was mounted or unmounted); by default the volumes never change.
    virtual void watch(QObject* receiver, std::function<void()> changed) {
        (void)receiver;
        (void)changed;
    }
};

// The mounted volumes without the kernel's pseudo file systems, by root path, as the system's
// mount table has them: a volume mounted or unmounted while the program runs comes or goes. The
// volume that holds the user's home folder is selected at start. Nothing here asks a volume
// anything, so a volume that hangs is listed like any other.
class MountedVolumes : public DriveList {
public:
    MountedVolumes() = default;
    // The first volumes() answers with the list read ahead, once it is there; later ones read
    // the volumes afresh.
    explicit MountedVolumes(std::shared_future<QList<Volume>> readAhead) : readAhead_(std::move(readAhead)) {}
    QList<Volume> volumes() const override;
    int startIndex(const QList<Volume>& volumes) const override;
    void watch(QObject* receiver, std::function<void()> changed) override;

private:
    mutable std::shared_future<QList<Volume>> readAhead_;
};

// What MountedVolumes lists, read now from mountTable (the system's, /proc/self/mountinfo, by
// default).
QList<Volume> readMountedVolumes(const QString& mountTable = QString());

// The text of a drive list entry: the root path, then the name in brackets if any.
QString driveEntryText(const Volume& volume);

} // namespace platform
