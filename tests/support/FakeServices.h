#pragma once

// Desktop services that a test scripts: the volumes it offers, the time it shows,
// the answers it gives to message boxes, file dialogs and the copy's questions.
#include "platform/Clock.h"
#include "platform/DesktopFiles.h"
#include "platform/DriveList.h"
#include "platform/FileCopy.h"
#include "platform/FileDialogs.h"
#include "platform/FileProperties.h"
#include "platform/MessageBoxes.h"
#include "platform/Services.h"
#include "platform/WebPane.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

namespace testsupport {

class FixedVolumes : public platform::DriveList {
public:
    QList<platform::Volume> list;
    int start = 0;
    QList<platform::Volume> volumes() const override { return list; }
    int startIndex(const QList<platform::Volume>&) const override { return start; }
};

class FixedClock : public platform::Clock {
public:
    QDateTime time = QDateTime(QDate(2026, 12, 4), QTime(9, 5, 7));
    QDateTime now() const override { return time; }
};

class ScriptedMessageBoxes : public platform::MessageBoxes {
public:
    QList<platform::MessageBoxRequest> shown;
    QList<platform::MessageBoxRequest::Answer> answers; // taken from the front; Ok/Yes when empty
    platform::MessageBoxRequest::Answer show(QWidget*, const platform::MessageBoxRequest& request) override {
        shown.append(request);
        if (!answers.isEmpty()) return answers.takeFirst();
        return request.buttons == platform::MessageBoxRequest::Buttons::YesNo
                   ? platform::MessageBoxRequest::Answer::Yes
                   : platform::MessageBoxRequest::Answer::Ok;
    }
};

class ScriptedFileDialogs : public platform::FileDialogs {
public:
    QStringList openAnswers, saveAnswers; // taken from the front; empty = cancelled
    QStringList titles, filters, suggestedNames;
    QString openFileName(QWidget*, const QString& title, const QString& filter) override {
        titles << title;
        filters << filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString saveFileName(QWidget*, const QString& title, const QString& filter,
                         const QString& suggestedName) override {
        titles << title;
        filters << filter;
        suggestedNames << suggestedName;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
};

// The copy's questions answered by the test; its progress can cancel after a number of
// steps and lets the test look at the disk in between.
class ScriptedCopyPrompts : public platform::CopyPrompts {
public:
    QList<bool> replaceAnswers; // taken from the front; keep the target when empty
    QStringList replaceAsked, errors;
    int cancelAfterSteps = -1; // -1: never cancel
    int steps = 0;
    std::function<void(qint64 done, qint64 total)> onStep;

    bool confirmReplace(QWidget*, const QString&, const QString& target) override {
        replaceAsked << target;
        return !replaceAnswers.isEmpty() && replaceAnswers.takeFirst();
    }
    void reportError(QWidget*, const QString&, const QString&, const QString& reason) override {
        errors << reason;
    }
    std::unique_ptr<platform::CopyProgress> startProgress(QWidget*, const QString&, const QString&,
                                                          qint64) override {
        struct Progress : platform::CopyProgress {
            ScriptedCopyPrompts* prompts;
            explicit Progress(ScriptedCopyPrompts* p) : prompts(p) {}
            bool update(qint64 done, qint64 total) override {
                ++prompts->steps;
                if (prompts->onStep) prompts->onStep(done, total);
                return prompts->cancelAfterSteps < 0 || prompts->steps < prompts->cancelAfterSteps;
            }
        };
        return std::make_unique<Progress>(this);
    }
};

class RecordingFileProperties : public platform::FileProperties {
public:
    QStringList shown;
    void show(const QString& path) override { shown << path; }
};

// The desktop's ways with a file, written down as "open PATH", "folder PATH", "copy PATH".
class RecordingDesktopFiles : public platform::DesktopFiles {
public:
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
    std::shared_ptr<platform::FileCopier> fileCopier = std::make_shared<platform::OwnFileCopier>(copyPrompts);
    std::shared_ptr<RecordingFileProperties> fileProperties = std::make_shared<RecordingFileProperties>();
    std::shared_ptr<RecordingDesktopFiles> desktopFiles = std::make_shared<RecordingDesktopFiles>();

    // One volume whose root is the given folder.
    explicit FakeServices(const QString& root = QString()) {
        if (!root.isEmpty()) volumes->list.append({root, QStringLiteral("test")});
    }
    platform::Services services() const {
        platform::Services s;
        s.drives = volumes;
        s.clock = clock;
        s.messageBoxes = messageBoxes;
        s.fileDialogs = fileDialogs;
        s.webPanes = webPanes;
        s.fileCopier = fileCopier;
        s.fileProperties = fileProperties;
        s.desktopFiles = desktopFiles;
        return s;
    }
};

} // namespace testsupport
