#include "filelist/FileActions.h"

#include "filelist/BlockedTypes.h"
#include "platform/DesktopFiles.h"
#include "platform/FileProperties.h"
#include "platform/MessageBoxes.h"
#include "platform/PathCodec.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace filelist {

using platform::MessageBoxRequest;

void DisplayFileProperties(platform::FileProperties& properties, const QString& sFullFileAndPathName) {
    properties.show(sFullFileAndPathName);
}

DeleteOutcome DeleteSelectedFile(platform::MessageBoxes& boxes, QWidget* parent, const QString& entry,
                                 const QString& positionText) {
    if (entry.isEmpty()) return DeleteOutcome::NotAsked;
    if (positionText == QLatin1String("0")) {
        MessageBoxRequest r;
        r.text = QStringLiteral("  Please select file from the file list!");
        r.title = QStringLiteral(" File Selection Error ");
        boxes.show(parent, r);
        return DeleteOutcome::NotAsked;
    }
    if (CheckBlockedType(boxes, parent, entry, BlockedAction::Delete, QString::fromLatin1(kSearcherTitle)))
        return DeleteOutcome::NotAsked;

    MessageBoxRequest question;
    question.text = QStringLiteral(" Are you sure, you want to delete this file?");
    question.title = QStringLiteral("Delete Selected File !");
    question.buttons = MessageBoxRequest::Buttons::YesNo;
    question.icon = MessageBoxRequest::Icon::Question;
    question.defaultButton = MessageBoxRequest::Answer::No;
    if (boxes.show(parent, question) != MessageBoxRequest::Answer::Yes) return DeleteOutcome::Kept;

    MessageBoxRequest done;
    done.title = QStringLiteral("File Delete Message");
    // unlink removes exactly the named entry: never a folder, and a link rather than its target.
    if (::unlink(platform::encodePath(entry).constData()) != 0) {
        done.text = QStringLiteral("The selected file could not be deleted: %1.")
                        .arg(QString::fromLocal8Bit(std::strerror(errno)));
        done.icon = MessageBoxRequest::Icon::Warning;
        boxes.show(parent, done);
        return DeleteOutcome::Failed;
    }
    done.text = QStringLiteral("Your selected file has been deleted forever!");
    done.icon = MessageBoxRequest::Icon::Information;
    boxes.show(parent, done);
    return DeleteOutcome::Deleted;
}

bool OpenWithDesktop(platform::MessageBoxes& boxes, platform::DesktopFiles& desktop, QWidget* parent,
                     const QString& entry) {
    if (entry.isEmpty() ||
        CheckBlockedType(boxes, parent, entry, BlockedAction::Open, QString::fromLatin1(kShowTitle)))
        return false;
    MessageBoxRequest refusal;
    refusal.title = QString::fromLatin1(kShowTitle);
    struct stat st {};
    if (::stat(platform::encodePath(entry).constData(), &st) != 0) {
        refusal.text = QStringLiteral("  The file cannot be opened: %1.")
                           .arg(QString::fromLocal8Bit(std::strerror(errno)));
    } else if (!S_ISREG(st.st_mode) || (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) ||
               entry.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive)) {
        refusal.text =
            QStringLiteral("  Due to security reasons , a file that runs as a program cannot be opened !");
    } else {
        desktop.open(entry);
        return true;
    }
    boxes.show(parent, refusal);
    return false;
}

} // namespace filelist
