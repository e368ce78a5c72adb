#include "platform/DriveList.h"

#include <QDir>
#include <QSet>
#include <QStorageInfo>

#include <utility>

namespace platform {

namespace {

bool isPseudoFileSystem(const QByteArray& type) {
    static const QSet<QByteArray> pseudo = {
        "proc",     "sysfs",       "devtmpfs",  "devpts",     "cgroup", "cgroup2",  "securityfs",
        "debugfs",  "tracefs",     "mqueue",    "pstore",     "bpf",    "autofs",   "fusectl",
        "configfs", "binfmt_misc", "hugetlbfs", "rpc_pipefs", "nsfs",   "efivarfs", "selinuxfs"};
    return pseudo.contains(type);
}

} // namespace

QList<Volume> MountedVolumes::volumes() const {
    if (readAhead_.valid()) return std::exchange(readAhead_, {}).get();
    return readMountedVolumes();
}

QList<Volume> readMountedVolumes() {
    QList<Volume> out;
    QSet<QString> seen;
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        if (!info.isValid() || !info.isReady() || isPseudoFileSystem(info.fileSystemType())) continue;
        const QString root = info.rootPath();
        if (seen.contains(root)) continue;
        seen.insert(root);
        out.append({root, info.name()});
    }
    std::sort(out.begin(), out.end(),
              [](const Volume& a, const Volume& b) { return a.rootPath < b.rootPath; });
    return out;
}

int MountedVolumes::startIndex(const QList<Volume>& volumes) const {
    const QString home = QStorageInfo(QDir::homePath()).rootPath();
    for (int i = 0; i < volumes.size(); ++i)
        if (volumes[i].rootPath == home) return i;
    return volumes.isEmpty() ? -1 : 0;
}

QString driveEntryText(const Volume& volume) {
    return volume.name.isEmpty() ? volume.rootPath
                                 : volume.rootPath + QStringLiteral("  [") + volume.name + ']';
}

} // namespace platform
