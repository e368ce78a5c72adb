#include "platform/FileProperties.h"

#include "platform/Background.h"
#include "platform/PathCodec.h"

#include <QApplication>
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

} // namespace

FileFacts readFileFacts(const QString& path) {
    const QByteArray bytes = encodePath(path);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = slash < 0 ? path : path.mid(slash + 1);
    const QString folder = slash < 0 ? QString() : (slash == 0 ? QStringLiteral("/") : path.left(slash));
    FileFacts facts;
    struct stat st {};
    if (path.isEmpty()) {
        facts.rows = {{"Name:", "name", QStringLiteral("No file is selected.")}};
        return facts;
    }
    if (::lstat(bytes.constData(), &st) != 0) {
        facts.rows = {{"Name:", "name", name},
                      {"Folder:", "folder", folder},
                      {"Status:", "status", QStringLiteral("This file does not exist (any more).")}};
        return facts;
    }
    facts.exists = true;
    facts.rows = {{"Name:", "name", name.isEmpty() ? path : name},
                  {"Folder:", "folder", folder},
                  {"Type:", "type", typeText(bytes, st)}};
    if (S_ISDIR(st.st_mode)) {
        const int n = entriesIn(bytes);
        facts.rows.append({"Contains:", "size",
                           n < 0 ? QStringLiteral("cannot be read") : QStringLiteral("%1 items").arg(n)});
    } else {
        facts.rows.append({"Size:", "size", sizeText(qint64(st.st_size))});
    }
    facts.rows.append({{"Modified:", "modified", timeText(st.st_mtim)},
                       {"Accessed:", "accessed", timeText(st.st_atim)},
                       {"Changed:", "changed", timeText(st.st_ctim)},
                       {"Owner:", "owner", userName(st.st_uid)},
                       {"Group:", "group", groupName(st.st_gid)},
                       {"Permissions:", "permissions", permissionText(st.st_mode)}});
    return facts;
}

QDialog* showPropertiesWindow(const QString& path, const FileFacts& facts) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    auto* window = new QDialog;
    window->setObjectName(QStringLiteral("propertiesWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(
        path.isEmpty() ? QStringLiteral("Properties")
                       : QStringLiteral("Properties of %1").arg(slash < 0 ? path : path.mid(slash + 1)));
    auto* layout = new QVBoxLayout(window);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    for (const FileFacts::Row& row : facts.rows) {
        auto* valueLabel = new QLabel(row.value);
        valueLabel->setObjectName(QLatin1String(row.name));
        valueLabel->setTextFormat(Qt::PlainText);
        valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        valueLabel->setWordWrap(true);
        auto* captionLabel = new QLabel(QLatin1String(row.caption));
        captionLabel->setBuddy(valueLabel);
        form->addRow(captionLabel, valueLabel);
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
    runInBackground(
        qApp, [path] { return readFileFacts(path); },
        [bus = busWhenNeeded(bus_), timeoutMs = timeoutMs_, path](const FileFacts& facts) {
            if (!facts.exists) {
                showPropertiesWindow(path, facts);
                return;
            }
            askFileManager(bus, QStringLiteral("ShowItemProperties"), path, timeoutMs,
                           [path, facts] { showPropertiesWindow(path, facts); });
        });
}

} // namespace platform
