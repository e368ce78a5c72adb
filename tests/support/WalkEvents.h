#pragma once

// What a walk tells, event by event, and child processes for tests that need rights or mounts of
// their own.
#include "search/FolderWalk.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryFile>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

struct Recorder : search::WalkSink {
    QStringList events; // "file[*] <folder>|<name>" (* first in its folder), "listed <folder>", "yield"
    int yields = 0, stopAfterYields = -1;
    std::function<void()> atYield; // once, at the first yield
    void fileFound(std::string_view folder, std::string_view name, bool first) override {
        events << QString("file%1 %2|%3")
                      .arg(first ? "*" : "", QString::fromUtf8(folder), QString::fromUtf8(name));
    }
    void folderListed(std::string_view folder) override {
        events << "listed " + QUtf8StringView(folder).toString();
    }
    bool yield() override {
        if (atYield) std::exchange(atYield, nullptr)();
        return events << "yield", stopAfterYields < 0 || ++yields < stopAfterYields;
    }
};

inline QStringList walked(const QByteArray& root, const char* pattern, int yieldInterval = 60000,
                          bool readAhead = false) {
    search::FolderWalk walk;
    walk.setYieldInterval(yieldInterval);
    if (readAhead) walk.setSlowListing(0); // every folder read ahead, as on a slow volume
    Recorder r;
    walk.run(root.toStdString(), search::WildcardPattern(QString::fromUtf8(pattern)), r);
    return r.events;
}

// Runs body in a forked child and gives its exit status; the lines it gives go to *lines (through a
// file opened before the fork, which a child that gave up its rights can still write).
inline int inChild(const std::function<int(QStringList& out)>& body, QStringList* lines = nullptr) {
    QTemporaryFile file;
    if (!file.open()) return -1;
    int status = 0;
    if (const pid_t child = ::fork(); child == 0) {
        QStringList out;
        const int code = body(out);
        const QByteArray data = out.join('\n').toUtf8();
        ::_exit(::write(file.handle(), data.constData(), size_t(data.size())) == data.size() ? code : 4);
    } else {
        ::waitpid(child, &status, 0);
    }
    QFile in(file.fileName());
    if (lines && in.open(QIODevice::ReadOnly))
        *lines = QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace testsupport
