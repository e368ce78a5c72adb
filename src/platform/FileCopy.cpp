#include "platform/FileCopy.h"

#include "platform/MessageBoxes.h"
#include "platform/PathCodec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr qsizetype kChunk = qsizetype(1) << 20;

QByteArray baseName(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QString reasonFor(int error) {
    return QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.');
}

// Closes a descriptor and removes the unfinished file it belongs to.
class TempFile {
public:
    ~TempFile() {
        if (fd >= 0) ::close(fd);
        if (!name.isEmpty()) ::unlink(name.constData());
    }
    void keep() { name.clear(); }
    int fd = -1;
    QByteArray name;
};

class Descriptor {
public:
    explicit Descriptor(int d) : fd(d) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    int fd;
};

bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

CopyResult copyFile(const QString& source, const QString& target, CopyPrompts* prompts, QWidget* owner) {
    auto fail = [&](int error, const QString& reason) {
        if (prompts) prompts->reportError(owner, source, target, reason);
        return CopyResult{error, false};
    };
    // The system's error of the call that just failed, read before anything else can change it.
    auto failed = [&] {
        const int error = errno;
        return fail(error, reasonFor(error));
    };
    const QByteArray from = encodePath(source);
    QByteArray to = encodePath(target);
    if (from.isEmpty()) return fail(ENOENT, QStringLiteral("No file to copy was given."));
    if (to.isEmpty()) return fail(ENOENT, QStringLiteral("No target was given."));

    Descriptor in(::open(from.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (in.fd < 0) return failed();
    struct stat src {};
    if (::fstat(in.fd, &src) != 0) return failed();
    if (S_ISDIR(src.st_mode)) return fail(EISDIR, QStringLiteral("It is a folder, not a file."));
    if (!S_ISREG(src.st_mode)) return fail(EINVAL, QStringLiteral("Only ordinary files can be copied."));

    struct stat dst {};
    if (::stat(to.constData(), &dst) == 0 && S_ISDIR(dst.st_mode)) { // into the folder, under the file's name
        if (!to.endsWith('/')) to += '/';
        to += baseName(from);
    }
    // Whatever carries the target's name counts as existing, a link that leads nowhere too.
    struct stat entry {};
    const bool exists = ::lstat(to.constData(), &entry) == 0;
    const bool reachable = exists && ::stat(to.constData(), &dst) == 0;
    if (reachable && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino)
        return fail(EINVAL, QStringLiteral("The source and the target are the same file."));
    if (reachable && S_ISDIR(dst.st_mode))
        return fail(EISDIR, QStringLiteral("A folder of that name exists."));
    if (exists && prompts && !prompts->confirmReplace(owner, source, decodePath(to)))
        return CopyResult{0, true};

    TempFile out;
    out.name = folderOf(to) + "/." + baseName(to) + ".copy-XXXXXX";
    out.fd = ::mkostemp(out.name.data(), O_CLOEXEC);
    if (out.fd < 0) {
        out.name.clear();
        return failed();
    }

    std::unique_ptr<CopyProgress> progress =
        prompts ? prompts->startProgress(owner, source, decodePath(to), qint64(src.st_size)) : nullptr;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const ssize_t n = ::read(in.fd, buffer.data(), size_t(buffer.size()));
        if (n < 0) {
            if (errno == EINTR) continue;
            return failed();
        }
        if (n == 0) break;
        if (!writeAll(out.fd, buffer.constData(), n)) return failed();
        done += n;
        if (progress && !progress->update(done, qint64(src.st_size))) return CopyResult{0, true};
    }
    progress.reset();

    ::fchmod(out.fd, src.st_mode & 07777);
    const struct timespec times[2] = {src.st_atim, src.st_mtim};
    ::futimens(out.fd, times);
    const int fd = out.fd;
    out.fd = -1;
    if (::close(fd) != 0) return failed();
    if (::rename(out.name.constData(), to.constData()) != 0) return failed();
    out.keep();
    return CopyResult{};
}

CopyResult OwnFileCopier::shellCopy(QWidget* owner, const QString& source, const QString& target) {
    return copyFile(source, target, prompts_.get(), owner);
}

int OwnFileCopier::plainCopy(const QString& source, const QString& target) {
    return copyFile(source, target, nullptr, nullptr).error;
}

// --- the prompts as windows ------------------------------------------------------

namespace {

QString nameOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

class WindowProgress : public CopyProgress {
public:
    WindowProgress(QWidget* owner, const QString& source, const QString& target, int showAfterMs)
        : owner_(owner), source_(source), target_(target), showAfterMs_(showAfterMs) {
        clock_.start();
    }
    ~WindowProgress() override { delete dialog_; }

    bool update(qint64 done, qint64 total) override {
        if (!dialog_ && clock_.elapsed() >= showAfterMs_) {
            dialog_ = new QProgressDialog(owner_);
            dialog_->setObjectName(QStringLiteral("copyProgress"));
            dialog_->setWindowTitle(QStringLiteral("Copying..."));
            const QString folder = QFileInfo(target_).path();
            dialog_->setLabelText(QStringLiteral("Copying \"%1\"\nto %2").arg(nameOf(source_), folder));
            dialog_->setAccessibleName(dialog_->labelText());
            dialog_->setCancelButtonText(QStringLiteral("Cancel"));
            dialog_->setWindowModality(Qt::WindowModal);
            dialog_->setAutoClose(false);
            dialog_->setAutoReset(false);
            dialog_->setMinimumDuration(0);
            dialog_->setRange(0, 1000);
            dialog_->show();
        }
        if (!dialog_) return true;
        dialog_->setValue(total > 0 ? int(done * 1000 / total) : 1000);
        QCoreApplication::processEvents(); // the progress window is modal: only it takes input
        return !dialog_->wasCanceled();
    }

private:
    QWidget* owner_;
    QString source_, target_;
    int showAfterMs_;
    QElapsedTimer clock_;
    QPointer<QProgressDialog> dialog_;
};

} // namespace

bool WindowCopyPrompts::confirmReplace(QWidget* owner, const QString& source, const QString& target) {
    MessageBoxRequest r;
    r.title = QStringLiteral("Confirm File Replace");
    r.text = QStringLiteral("The file \"%1\" already exists in %2.\n\nDo you want to replace it with \"%3\"?")
                 .arg(nameOf(target), QFileInfo(target).path(), source);
    r.buttons = MessageBoxRequest::Buttons::YesNo;
    r.icon = MessageBoxRequest::Icon::Question;
    r.defaultButton = MessageBoxRequest::Answer::No;
    return QtMessageBoxes().show(owner, r) == MessageBoxRequest::Answer::Yes;
}

void WindowCopyPrompts::reportError(QWidget* owner, const QString& source, const QString& target,
                                    const QString& reason) {
    MessageBoxRequest r;
    r.title = QStringLiteral("Error Copying File");
    r.text = QStringLiteral("Cannot copy \"%1\" to \"%2\": %3").arg(nameOf(source), target, reason);
    r.icon = MessageBoxRequest::Icon::Warning;
    QtMessageBoxes().show(owner, r);
}

std::unique_ptr<CopyProgress> WindowCopyPrompts::startProgress(QWidget* owner, const QString& source,
                                                               const QString& target, qint64) {
    return std::make_unique<WindowProgress>(owner, source, target, showAfterMs_);
}

} // namespace platform
