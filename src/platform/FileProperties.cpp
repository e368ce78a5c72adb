#include "platform/FileProperties.h"

#include "platform/PathCodec.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QVBoxLayout>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

namespace platform {

namespace {

bool pathExists(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::lstat(encodePath(path).constData(), &st) == 0;
}

QString permissionText(mode_t mode) {
    QString s;
    const char letters[] = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i)
        s += (mode & (0400 >> i)) ? QLatin1Char(letters[i]) : QLatin1Char('-');
    return s + QStringLiteral(" (%1)").arg(uint(mode & 07777), 4, 8, QLatin1Char('0'));
}

QString timeText(const struct timespec& t) {
    if (t.tv_sec == 0 && t.tv_nsec == 0) return QStringLiteral("unknown");
    return QLocale::system().toString(QDateTime::fromSecsSinceEpoch(t.tv_sec), QLocale::LongFormat);
}

QString sizeText(qint64 bytes) {
    const QString exact = QLocale::system().toString(bytes) + QStringLiteral(" bytes");
    if (bytes < 1024) return exact;
    return QLocale::system().formattedDataSize(bytes) + QStringLiteral(" (") + exact + QLatin1Char(')');
}

QString typeText(const QByteArray& bytes, const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return QStringLiteral("Folder");
    if (S_ISLNK(st.st_mode)) return QStringLiteral("Link");
    if (S_ISFIFO(st.st_mode)) return QStringLiteral("Pipe");
    if (S_ISSOCK(st.st_mode)) return QStringLiteral("Socket");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return QStringLiteral("Device");
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromLocal8Bit(bytes));
    return type.comment() + QStringLiteral(" (") + type.name() + QLatin1Char(')');
}

int entriesIn(const QByteArray& folder) {
    DIR* d = ::opendir(folder.constData());
    if (!d) return -1;
    int n = 0;
    while (dirent* e = ::readdir(d))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) ++n;
    ::closedir(d);
    return n;
}

QString userName(uid_t uid) {
    const passwd* pw = ::getpwuid(uid);
    return (pw ? QString::fromLocal8Bit(pw->pw_name) : QStringLiteral("unknown")) +
           QStringLiteral(" (%1)").arg(uid);
}

QString groupName(gid_t gid) {
    const group* gr = ::getgrgid(gid);
    return (gr ? QString::fromLocal8Bit(gr->gr_name) : QStringLiteral("unknown")) +
           QStringLiteral(" (%1)").arg(gid);
}

void addRow(QFormLayout* form, const char* caption, const QString& value, const char* name) {
    auto* valueLabel = new QLabel(value);
    valueLabel->setObjectName(QLatin1String(name));
    valueLabel->setTextFormat(Qt::PlainText);
    valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    valueLabel->setWordWrap(true);
    auto* captionLabel = new QLabel(QLatin1String(caption));
    captionLabel->setBuddy(valueLabel);
    form->addRow(captionLabel, valueLabel);
}

} // namespace

QDialog* showPropertiesWindow(const QString& path) {
    const QByteArray bytes = encodePath(path);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = slash < 0 ? path : path.mid(slash + 1);
    const QString folder = slash < 0 ? QString() : (slash == 0 ? QStringLiteral("/") : path.left(slash));

    auto* window = new QDialog;
    window->setObjectName(QStringLiteral("propertiesWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(path.isEmpty() ? QStringLiteral("Properties")
                                          : QStringLiteral("Properties of %1").arg(name));
    auto* layout = new QVBoxLayout(window);
    auto* form = new QFormLayout;
    layout->addLayout(form);

    struct stat st {};
    if (path.isEmpty()) {
        addRow(form, "Name:", QStringLiteral("No file is selected."), "name");
    } else if (::lstat(bytes.constData(), &st) != 0) {
        addRow(form, "Name:", name, "name");
        addRow(form, "Folder:", folder, "folder");
        addRow(form, "Status:", QStringLiteral("This file does not exist (any more)."), "status");
    } else {
        addRow(form, "Name:", name.isEmpty() ? path : name, "name");
        addRow(form, "Folder:", folder, "folder");
        addRow(form, "Type:", typeText(bytes, st), "type");
        if (S_ISDIR(st.st_mode)) {
            const int n = entriesIn(bytes);
            addRow(form,
                   "Contains:", n < 0 ? QStringLiteral("cannot be read") : QStringLiteral("%1 items").arg(n),
                   "size");
        } else {
            addRow(form, "Size:", sizeText(qint64(st.st_size)), "size");
        }
        addRow(form, "Modified:", timeText(st.st_mtim), "modified");
        addRow(form, "Accessed:", timeText(st.st_atim), "accessed");
        addRow(form, "Changed:", timeText(st.st_ctim), "changed");
        addRow(form, "Owner:", userName(st.st_uid), "owner");
        addRow(form, "Group:", groupName(st.st_gid), "group");
        addRow(form, "Permissions:", permissionText(st.st_mode), "permissions");
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
    window->setMinimumWidth(420);
    window->adjustSize();
    window->show();
    return window;
}

void askFileManager(const QDBusConnection& bus, const QString& method, const QString& path, int timeoutMs,
                    std::function<void()> noAnswer) {
    if (!bus.isConnected()) {
        noAnswer();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), method);
    call << QStringList{fileUri(path)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, timeoutMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [noAnswer = std::move(noAnswer)](QDBusPendingCallWatcher* w) {
                         if (w->isError()) noAnswer(); // no file manager answered
                         w->deleteLater();
                     });
}

const QDBusConnection& busWhenNeeded(std::optional<QDBusConnection>& bus) {
    if (!bus) bus = QDBusConnection::sessionBus();
    return *bus;
}

void DesktopFileProperties::show(const QString& path) {
    if (!pathExists(path)) {
        showPropertiesWindow(path);
        return;
    }
    askFileManager(busWhenNeeded(bus_), QStringLiteral("ShowItemProperties"), path, timeoutMs_,
                   [path] { showPropertiesWindow(path); });
}

} // namespace platform
