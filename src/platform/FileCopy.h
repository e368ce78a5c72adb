#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

class QWidget;

namespace platform {

// What the copy of a file reports to the window that asked for it.
struct CopyResult {
    int error = 0;        // 0, or the system's error number (errno) of the step that failed
    bool aborted = false; // the user kept an existing target or cancelled the copy
};

// Progress of one copy; update() returns false when the user cancelled.
class CopyProgress {
public:
    virtual ~CopyProgress() = default;
    virtual bool update(qint64 done, qint64 total) = 0;
};

// What the copy asks the user and tells them, on the window's thread.
class CopyPrompts {
public:
    virtual ~CopyPrompts() = default;
    // The target exists: may it be replaced?
    virtual bool confirmReplace(QWidget* owner, const QString& source, const QString& target) = 0;
    // The copy failed; reason is a sentence for the user.
    virtual void reportError(QWidget* owner, const QString& source, const QString& target,
                             const QString& reason) = 0;
    // A copy of size bytes starts (0: not known yet, the updates say); the progress lives until it ends.
    virtual std::unique_ptr<CopyProgress> startProgress(QWidget* owner, const QString& source,
                                                        const QString& target, qint64 size) = 0;
};

// Copies the file source to target; both are paths as the program shows them (see
// PathCodec.h), so names that are not valid UTF-8 copy by their real bytes. A target
// that is an existing folder receives the file under its own name.
//
// The copy goes to a new file beside the target that takes the target's name only once
// it is complete, so a failed or cancelled copy leaves the target as it was (or absent).
// The file's permission bits and times go with it.
//
// With prompts, an existing target is replaced only when confirmReplace says so,
// progress is reported and a failure is reported before returning. Without prompts the
// copy replaces an existing target and tells nobody. Either way copying a file onto
// itself fails (EINVAL) and leaves it alone. Only regular files are copied.
CopyResult copyFile(const QString& source, const QString& target, CopyPrompts* prompts, QWidget* owner);

// The copies a window asks for; tests replace this. Each returns at once: the copy runs on a
// thread of its own, never waited for, and done gets its result on the owner's thread, while the
// owner lives. A copy whose owner goes is cancelled (the target stays as it was).
class FileCopier {
public:
    virtual ~FileCopier() = default;
    // The desktop's copy: confirmation, progress window, error report.
    virtual void shellCopy(QWidget* owner, const QString& source, const QString& target,
                           std::function<void(CopyResult)> done) = 0;
    // A plain copy that replaces an existing target; done gets 0 or the error number.
    virtual void plainCopy(QWidget* owner, const QString& source, const QString& target,
                           std::function<void(int error)> done) = 0;
};

// The program's own copy (copyFile) with the given prompts, which are asked on the owner's thread
// while the copy waits for their answer; the progress is shown from there, and a Cancel there
// stops the copy.
class OwnFileCopier : public FileCopier {
public:
    explicit OwnFileCopier(std::shared_ptr<CopyPrompts> prompts) : prompts_(std::move(prompts)) {}
    void shellCopy(QWidget* owner, const QString& source, const QString& target,
                   std::function<void(CopyResult)> done) override;
    void plainCopy(QWidget* owner, const QString& source, const QString& target,
                   std::function<void(int error)> done) override;

private:
    std::shared_ptr<CopyPrompts> prompts_;
};

// The prompts as windows: a Yes/No question (No the default), a warning box, and a
// progress window with a Cancel button that appears once a copy has run showAfterMs, modal to
// the window that asked for the copy.
class WindowCopyPrompts : public CopyPrompts {
public:
    explicit WindowCopyPrompts(int showAfterMs = 500) : showAfterMs_(showAfterMs) {}
    bool confirmReplace(QWidget* owner, const QString& source, const QString& target) override;
    void reportError(QWidget* owner, const QString& source, const QString& target,
                     const QString& reason) override;
    std::unique_ptr<CopyProgress> startProgress(QWidget* owner, const QString& source, const QString& target,
                                                qint64 size) override;

private:
    int showAfterMs_;
};

} // namespace platform
