#include "platform/DriveList.h"

#include "platform/DesktopData.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr char kMountTable[] = "/proc/self/mountinfo";

bool isPseudoFileSystem(const QByteArray& type) {
    static const QSet<QByteArray> pseudo = {
        "proc",     "sysfs",       "devtmpfs",  "devpts",     "cgroup", "cgroup2",  "securityfs",
        "debugfs",  "tracefs",     "mqueue",    "pstore",     "bpf",    "autofs",   "fusectl",
        "configfs", "binfmt_misc", "hugetlbfs", "rpc_pipefs", "nsfs",   "efivarfs", "selinuxfs"};
    return pseudo.contains(type);
}

// Where the system keeps the kernel's own file systems (/dev/shm, /sys/fs/cgroup...).
bool isSystemPlace(const QString& root) {
    for (const char* place : {"/proc", "/sys", "/dev"})
        if (root == QLatin1String(place) || root.startsWith(QLatin1String(place) + QLatin1Char('/')))
            return true;
    return false;
}

// The bytes a name stands for where each escape is introducer and digits digits in base.
QByteArray unescaped(const QByteArray& name, QByteArrayView introducer, int digits, int base) {
    QByteArray out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const qsizetype at = i + introducer.size();
        bool ok = false;
        const int c = QByteArrayView(name).sliced(i).startsWith(introducer) && at + digits <= name.size()
                          ? name.mid(at, digits).toInt(&ok, base)
                          : 0;
        if (ok) {
            out.append(char(c));
            i = at + digits - 1;
        } else {
            out.append(name[i]);
        }
    }
    return out;
}

// The mount table writes blanks, tabs, line breaks and backslashes in a field as \ and three
// octal digits.
QString mountField(const QByteArray& field) {
    return QFile::decodeName(unescaped(field, "\\", 3, 8));
}

// The volumes' names (their labels), by device, as the system's device manager files them
// (a label's \xHH stand for the bytes it holds).
QHash<QString, QString> labelsByDevice() {
    QHash<QString, QString> labels;
    const QDir byLabel(QStringLiteral("/dev/disk/by-label"));
    for (const QFileInfo& link : byLabel.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        labels.insert(link.canonicalFilePath(),
                      QString::fromUtf8(unescaped(QFile::encodeName(link.fileName()), "\\x", 2, 16)));
    return labels;
}

} // namespace

QList<Volume> MountedVolumes::volumes() const {
    if (readAhead_.valid()) return std::exchange(readAhead_, {}).get();
    return readMountedVolumes();
}

QList<Volume> readMountedVolumes(const QString& mountTable) {
    QFile table(mountTable.isEmpty() ? QString::fromLatin1(kMountTable) : mountTable);
    if (!table.open(QIODevice::ReadOnly)) return {};
    const QHash<QString, QString> labels = labelsByDevice();
    QList<Volume> out;
    QHash<QString, qsizetype> at; // a place mounted again shows the last one mounted there
    for (const QByteArray& line : table.readAll().split('\n')) {
        // ID PARENT MAJOR:MINOR ROOT MOUNTPOINT OPTIONS [OPTIONAL...] - TYPE SOURCE SUPEROPTIONS
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 6 || dash + 2 >= fields.size()) continue;
        const QString root = mountField(fields[4]);
        if (isPseudoFileSystem(fields[dash + 1]) || isSystemPlace(root)) continue;
        const Volume volume{root, labels.value(mountField(fields[dash + 2]))};
        if (const auto known = at.constFind(root); known != at.constEnd()) {
            out[*known] = volume;
        } else {
            at.insert(root, out.size());
            out.append(volume);
        }
    }
    std::sort(out.begin(), out.end(),
              [](const Volume& a, const Volume& b) { return a.rootPath < b.rootPath; });
    return out;
}

int MountedVolumes::startIndex(const QList<Volume>& volumes) const {
    // The volume mounted nearest the home folder on the way to it, by the path alone: nothing asks
    // a volume, which might hang.
    const QString home = homeFolder();
    int best = -1;
    for (int i = 0; i < volumes.size(); ++i) {
        const QString& root = volumes[i].rootPath;
        const bool holds =
            root == QLatin1String("/") || home == root || home.startsWith(root + QLatin1Char('/'));
        if (holds && (best < 0 || root.size() > volumes[best].rootPath.size())) best = i;
    }
    return best >= 0 ? best : (volumes.isEmpty() ? -1 : 0);
}

void MountedVolumes::watch(QObject* receiver, std::function<void()> changed) {
    // The kernel marks the mount table as having news (an exceptional condition to poll) when a
    // volume is mounted or unmounted.
    const int fd = ::open(kMountTable, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Exception, receiver);
    QObject::connect(notifier, &QSocketNotifier::activated, receiver, [fd, changed = std::move(changed)] {
        char buffer[4096];
        ::lseek(fd, 0, SEEK_SET); // read to the end: the news is taken
        while (::read(fd, buffer, sizeof buffer) > 0) {
        }
        changed();
    });
    QObject::connect(notifier, &QObject::destroyed, [fd] { ::close(fd); });
}

QString driveEntryText(const Volume& volume) {
    return volume.name.isEmpty() ? volume.rootPath
                                 : volume.rootPath + QStringLiteral("  [") + volume.name + ']';
}

} // namespace platform
