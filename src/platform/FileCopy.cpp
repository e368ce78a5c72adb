#include "platform/FileCopy.h"

#include "platform/Background.h"
#include "platform/MessageBoxes.h"
#include "platform/PathCodec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <future>
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

namespace {

// Where a copy on its own thread and the window that asked for it meet: how far it got, and
// whether the user cancelled it.
struct CopyState {
    std::atomic<qint64> done{0}, total{0};
    std::atomic<bool> cancelled{false};
};

// Runs f on the window's thread and waits for what it returns; ifGone where the window goes first.
template <typename R, typename F> R askWindow(ResultPost& post, F f, R ifGone) {
    auto promise = std::make_shared<std::promise<R>>(); // the only one: dropped unasked, it says so
    std::future<R> answer = promise->get_future();
    post.post([promise = std::move(promise), f = std::move(f)]() mutable { promise->set_value(f()); });
    try {
        return answer.get();
    } catch (const std::future_error&) {
        return ifGone;
    }
}

// The prompts as the copy's thread meets them: questions and errors go to the window's thread and
// wait for the user there; progress goes into the state, which the window shows.
class BridgedPrompts : public CopyPrompts {
public:
    BridgedPrompts(std::shared_ptr<ResultPost> post, std::shared_ptr<CopyPrompts> prompts,
                   std::shared_ptr<CopyState> state)
        : post_(std::move(post)), prompts_(std::move(prompts)), state_(std::move(state)) {}
    bool confirmReplace(QWidget* owner, const QString& source, const QString& target) override {
        return askWindow(
            *post_,
            [prompts = prompts_, owner, source, target] {
                return prompts->confirmReplace(owner, source, target);
            },
            false);
    }
    void reportError(QWidget* owner, const QString& source, const QString& target,
                     const QString& reason) override {
        askWindow(
            *post_,
            [prompts = prompts_, owner, source, target, reason] {
                prompts->reportError(owner, source, target, reason);
                return true;
            },
            true);
    }
    std::unique_ptr<CopyProgress> startProgress(QWidget*, const QString&, const QString&, qint64) override {
        struct Progress : CopyProgress {
            std::shared_ptr<CopyState> state;
            bool update(qint64 done, qint64 total) override {
                state->total = total;
                state->done = done;
                return !state->cancelled;
            }
        };
        auto progress = std::make_unique<Progress>();
        progress->state = state_;
        return progress;
    }

private:
    std::shared_ptr<ResultPost> post_;
    std::shared_ptr<CopyPrompts> prompts_;
    std::shared_ptr<CopyState> state_;
};

// The window's side of a running copy, a child of the owner: shows the progress as it comes,
// takes the user's Cancel to the copy, and cancels it when the owner goes.
class CopyWatch : public QObject {
public:
    CopyWatch(QWidget* owner, std::shared_ptr<CopyState> state, std::unique_ptr<CopyProgress> progress)
        : QObject(owner), state_(std::move(state)), progress_(std::move(progress)) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            if (progress_ && !progress_->update(state_->done, state_->total)) state_->cancelled = true;
        });
        timer->start(kShowEveryMs);
    }
    ~CopyWatch() override { state_->cancelled = true; } // a copy nobody waits for goes no further

private:
    static constexpr int kShowEveryMs = 50;
    std::shared_ptr<CopyState> state_;
    std::unique_ptr<CopyProgress> progress_;
};

} // namespace

void OwnFileCopier::shellCopy(QWidget* owner, const QString& source, const QString& target,
                              std::function<void(CopyResult)> done) {
    auto state = std::make_shared<CopyState>();
    QPointer<CopyWatch> watch =
        new CopyWatch(owner, state, prompts_ ? prompts_->startProgress(owner, source, target, 0) : nullptr);
    runInBackground(
        owner,
        [post = ResultPost::of(owner), prompts = prompts_, state, owner, source, target] {
            BridgedPrompts bridge(post, prompts, state);
            return copyFile(source, target, prompts ? &bridge : nullptr, owner);
        },
        [watch, done = std::move(done)](CopyResult result) {
            delete watch.data(); // the progress window goes
            done(result);
        });
}

void OwnFileCopier::plainCopy(QWidget* owner, const QString& source, const QString& target,
                              std::function<void(int error)> done) {
    runInBackground(
        owner, [source, target] { return copyFile(source, target, nullptr, nullptr).error; },
        std::move(done));
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
        dialog_->setValue(total > 0 ? int(done * 1000 / total) : 0);
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
