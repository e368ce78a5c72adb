#pragma once

#include <QList>
#include <QString>

#include <future>

namespace platform {

// One searchable volume: its root folder and, where it has one, its name.
struct Volume {
    QString rootPath;
    QString name;
};

// The volumes the drive list offers; tests offer their own temporary folders.
class DriveList {
public:
    virtual ~DriveList() = default;
    virtual QList<Volume> volumes() const = 0;
    // Index into volumes() of the volume selected at start (-1 for none).
    virtual int startIndex(const QList<Volume>& volumes) const = 0;
};

// The mounted, ready volumes without the kernel's pseudo file systems, by root path; the
// volume that holds the user's home folder is selected at start.
class MountedVolumes : public DriveList {
public:
    MountedVolumes() = default;
    // The first volumes() answers with the list read ahead, once it is there; later ones read
    // the volumes afresh.
    explicit MountedVolumes(std::shared_future<QList<Volume>> readAhead) : readAhead_(std::move(readAhead)) {}
    QList<Volume> volumes() const override;
    int startIndex(const QList<Volume>& volumes) const override;

private:
    mutable std::shared_future<QList<Volume>> readAhead_;
};

// What MountedVolumes lists, read now (it asks each volume whether it is ready).
QList<Volume> readMountedVolumes();

// The text of a drive list entry: the root path, then the name in brackets if any.
QString driveEntryText(const Volume& volume);

} // namespace platform
