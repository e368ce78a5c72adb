#pragma once

#include <QString>

class QWidget;

namespace platform {

// A modal message box as the program asks for it: text, title, buttons, icon and the
// button that Enter chooses. Tests replace MessageBoxes with one that records the
// request and answers it.
struct MessageBoxRequest {
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Answer { Ok, Yes, No };

    QString text;
    QString title = QStringLiteral("ORVIK SEARCHER");
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    Answer defaultButton = Answer::Ok;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageBoxRequest::Answer show(QWidget* parent, const MessageBoxRequest& request) = 0;
};

class QtMessageBoxes : public MessageBoxes {
public:
    MessageBoxRequest::Answer show(QWidget* parent, const MessageBoxRequest& request) override;
};

} // namespace platform
