#pragma once

// Desktop services that a test scripts: the volumes it offers, the time it shows,
// the answers it gives to message boxes and file dialogs.
#include "platform/Clock.h"
#include "platform/DriveList.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/Services.h"
#include "platform/WebPane.h"

#include <QList>
#include <QStringList>
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
    QStringList titles, filters;
    QString openFileName(QWidget*, const QString& title, const QString& filter) override {
        titles << title;
        filters << filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString saveFileName(QWidget*, const QString& title, const QString& filter, const QString&) override {
        titles << title;
        filters << filter;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
};

struct FakeServices {
    std::shared_ptr<FixedVolumes> volumes = std::make_shared<FixedVolumes>();
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>();
    std::shared_ptr<ScriptedMessageBoxes> messageBoxes = std::make_shared<ScriptedMessageBoxes>();
    std::shared_ptr<ScriptedFileDialogs> fileDialogs = std::make_shared<ScriptedFileDialogs>();
    std::shared_ptr<platform::WebPaneFactory> webPanes = std::make_shared<platform::BlankWebPaneFactory>();

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
        return s;
    }
};

} // namespace testsupport
