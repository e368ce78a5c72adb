#include "platform/MessageBoxes.h"

#include <QMessageBox>

namespace platform {

MessageBoxRequest::Answer QtMessageBoxes::show(QWidget* parent, const MessageBoxRequest& request) {
    using Answer = MessageBoxRequest::Answer;
    QMessageBox box(parent);
    box.setText(request.text);
    box.setWindowTitle(request.title);
    switch (request.icon) {
    case MessageBoxRequest::Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageBoxRequest::Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageBoxRequest::Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageBoxRequest::Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageBoxRequest::Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (request.buttons == MessageBoxRequest::Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(request.defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

} // namespace platform
