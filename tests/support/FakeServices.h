#pragma once

// Desktop services that a test scripts: the volumes it offers, the time it shows, the answers it
// gives to message boxes, file dialogs and the copy's questions, and what it was asked to do.
#include "platform/Clock.h"
#include "platform/DesktopFiles.h"
#include "platform/DriveList.h"
#include "platform/FileCopy.h"
#include "platform/FileDialogs.h"
#include "platform/FileProperties.h"
#include "platform/MessageBoxes.h"
#include "platform/Services.h"
#include "platform/WebPane.h"

#include <QPointer>

#include <functional>
#include <memory>

namespace testsupport {
using Box = platform::MessageBoxRequest;

struct FixedVolumes : platform::DriveList {
    QList<platform::Volume> list;
    int start = 0;
    QList<std::pair<QPointer<QObject>, std::function<void()>>> watchers;
    QList<platform::Volume> volumes() const override { return list; }
    int startIndex(const QList<platform::Volume>&) const override { return start; }
    void watch(QObject* receiver, std::function<void()> f) override {
        watchers.append({receiver, std::move(f)});
    }

    void changed() { // tells the windows that still live, once the test changed the list
        for (const auto& [receiver, f] : watchers)
            if (receiver) f();
    }
};
struct FixedClock : platform::Clock {
    QDateTime time = QDateTime(QDate(2026, 12, 4), QTime(9, 5, 7));
    QDateTime now() const override { return time; }
};
struct ScriptedMessageBoxes : platform::MessageBoxes {
    QList<Box> shown;
    QList<Box::Answer> answers; // taken from the front; Ok or Yes when empty
    Box::Answer show(QWidget*, const Box& request) override {
        shown.append(request);
        if (!answers.isEmpty()) return answers.takeFirst();
        return request.buttons == Box::Buttons::YesNo ? Box::Answer::Yes : Box::Answer::Ok;
    }
    QStringList take() { // every box shown so far as "title|text", then forgotten
        QStringList out;
        for (const Box& b : std::exchange(shown, {}))
            out << b.title + '|' + b.text;
        return out;
    }
};
struct ScriptedFileDialogs : platform::FileDialogs {
    QStringList openAnswers, saveAnswers; // taken from the front; empty = cancelled
    QStringList titles, filters, suggestedNames;
    QString openFileName(QWidget*, const QString& title, const QString& filter) override {
        titles << title, filters << filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString saveFileName(QWidget*, const QString& title, const QString& filter,
                         const QString& suggested) override {
        titles << title, filters << filter, suggestedNames << suggested;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
};
// The copy's questions answered by the test; its progress can cancel after a number of steps and lets
// the test look at the disk in between.
struct ScriptedCopyPrompts : platform::CopyPrompts {
    QList<bool> replaceAnswers; // taken from the front; keep the target when empty
    QStringList replaceAsked, errors;
    int cancelAfterSteps = -1, steps = 0; // -1: never cancel
    std::function<void(qint64 done, qint64 total)> onStep;
    bool confirmReplace(QWidget*, const QString&, const QString& target) override {
        return replaceAsked << target, !replaceAnswers.isEmpty() && replaceAnswers.takeFirst();
    }

    void reportError(QWidget*, const QString&, const QString&, const QString& reason) override {
        errors << reason;
    }
    std::unique_ptr<platform::CopyProgress> startProgress(QWidget*, const QString&, const QString&,
                                                          qint64) override {
        struct Progress : platform::CopyProgress {
            ScriptedCopyPrompts* p;
            explicit Progress(ScriptedCopyPrompts* p) : p(p) {}
            bool update(qint64 done, qint64 total) override {
                if (++p->steps, p->onStep) p->onStep(done, total);
                return p->cancelAfterSteps < 0 || p->steps < p->cancelAfterSteps;
            }
        };
        return std::make_unique<Progress>(this);
    }
};
struct RecordingFileProperties : platform::FileProperties {
    QStringList shown;
    void show(const QString& path) override { shown << path; }
};
struct RecordingDesktopFiles : platform::DesktopFiles { // "open PATH", "folder PATH", "copy PATH"
    QStringList asked;
    void open(const QString& path) override { asked << "open " + path; }
    void showInFolder(const QString& path) override { asked << "folder " + path; }
    void copyPath(const QString& path) override { asked << "copy " + path; }
};

struct FakeServices {
    std::shared_ptr<FixedVolumes> volumes = std::make_shared<FixedVolumes>();
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>();
    std::shared_ptr<ScriptedMessageBoxes> messageBoxes = std::make_shared<ScriptedMessageBoxes>();
    std::shared_ptr<ScriptedFileDialogs> fileDialogs = std::make_shared<ScriptedFileDialogs>();
    std::shared_ptr<platform::WebPaneFactory> webPanes = std::make_shared<platform::BlankWebPaneFactory>();
    std::shared_ptr<ScriptedCopyPrompts> copyPrompts = std::make_shared<ScriptedCopyPrompts>();
    std::shared_ptr<RecordingFileProperties> fileProperties = std::make_shared<RecordingFileProperties>();
    std::shared_ptr<RecordingDesktopFiles> desktopFiles = std::make_shared<RecordingDesktopFiles>();
    explicit FakeServices(const QString& root = QString()) { // one volume whose root is the given folder
        if (!root.isEmpty()) volumes->list.append({root, "test"});
    }
    platform::Services services() const {
        platform::Services s;
        s.drives = volumes, s.clock = clock, s.messageBoxes = messageBoxes, s.fileDialogs = fileDialogs,
        s.webPanes = webPanes;
        s.fileProperties = fileProperties, s.desktopFiles = desktopFiles,
        s.fileCopier = std::make_shared<platform::OwnFileCopier>(copyPrompts);
        return s;
    }
};

} // namespace testsupport
