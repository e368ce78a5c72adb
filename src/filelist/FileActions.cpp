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

bool AskToDelete(platform::MessageBoxes& boxes, QWidget* parent, const QString& entry,
                 const QString& positionText) {
    if (entry.isEmpty()) return false;
    if (positionText == QLatin1String("0")) {
        MessageBoxRequest r;
        r.text = QStringLiteral("  Please select file from the file list!");
        r.title = QStringLiteral(" File Selection Error ");
        boxes.show(parent, r);
        return false;
    }
    if (CheckBlockedType(boxes, parent, entry, BlockedAction::Delete, QString::fromLatin1(kSearcherTitle)))
        return false;
    MessageBoxRequest question;
    question.text = QStringLiteral(" Are you sure, you want to delete this file?");
    question.title = QStringLiteral("Delete Selected File !");
    question.buttons = MessageBoxRequest::Buttons::YesNo;
    question.icon = MessageBoxRequest::Icon::Question;
    question.defaultButton = MessageBoxRequest::Answer::No;
    return boxes.show(parent, question) == MessageBoxRequest::Answer::Yes;
}

int DeleteFile(const QByteArray& entryBytes) {
    return ::unlink(entryBytes.constData()) == 0 ? 0 : errno; // exactly the named entry
}

void ReportDelete(platform::MessageBoxes& boxes, QWidget* parent, int error) {
    MessageBoxRequest done;
    done.title = QStringLiteral("File Delete Message");
    if (error != 0) {
        done.text = QStringLiteral("The selected file could not be deleted: %1.")
                        .arg(QString::fromLocal8Bit(std::strerror(error)));
        done.icon = MessageBoxRequest::Icon::Warning;
    } else {
        done.text = QStringLiteral("Your selected file has been deleted forever!");
        done.icon = MessageBoxRequest::Icon::Information;
    }
    boxes.show(parent, done);
}

bool MayOpenWithDesktop(platform::MessageBoxes& boxes, QWidget* parent, const QString& entry) {
    return !entry.isEmpty() &&
           !CheckBlockedType(boxes, parent, entry, BlockedAction::Open, QString::fromLatin1(kShowTitle));
}

QString OpenRefusal(const QString& entry) {
    struct stat st {};
    if (::stat(platform::encodePath(entry).constData(), &st) != 0)
        return QStringLiteral("  The file cannot be opened: %1.")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(st.st_mode) || (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) ||
        entry.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive))
        return QStringLiteral("  Due to security reasons , a file that runs as a program cannot be opened !");
    return QString();
}

} // namespace filelist
