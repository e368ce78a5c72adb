#include "filelist/BlockedTypes.h"

#include "platform/MessageBoxes.h"

namespace filelist {

namespace {

struct BlockedType {
    const char* code; // lower case
    const char* openMessage;
    const char* deleteMessage;
};

// In the order they are tested. The article stands only before EXE, INI and OCX.
constexpr BlockedType kBlockedTypes[] = {
    {"exe", "  Due to security reasons , an EXE file cannot be opened !",
     "  Due to security reasons , an EXE file cannot be deleted !"},
    {"ini", "  Due to security reasons , an INI file cannot be opened !",
     "  Due to security reasons , an INI file cannot be deleted !"},
    {"sk2", "  Due to security reasons , SK2 file cannot be opened !",
     "  Due to security reasons , SK2 file cannot be deleted !"},
    {"dll", "  Due to security reasons , DLL file cannot be opened !",
     "  Due to security reasons , DLL file cannot be deleted !"},
    {"ocx", "  Due to security reasons , an OCX file cannot be opened !",
     "  Due to security reasons , an OCX file cannot be deleted !"},
    {"zip", "  Due to security reasons , ZIP file cannot be opened !",
     "  Due to security reasons , ZIP file cannot be deleted !"},
    {"rar", "  Due to security reasons , RAR file cannot be opened !",
     "  Due to security reasons , RAR file cannot be deleted !"},
};

} // namespace

QString blockedTypeMessage(const QString& path, BlockedAction action) {
    const QString end = path.right(3).toLower();
    for (const BlockedType& type : kBlockedTypes)
        if (end == QLatin1StringView(type.code))
            return QString::fromLatin1(action == BlockedAction::Open ? type.openMessage : type.deleteMessage);
    return QString();
}

bool CheckBlockedType(platform::MessageBoxes& boxes, QWidget* parent, const QString& path,
                      BlockedAction action, const QString& title) {
    const QString message = blockedTypeMessage(path, action);
    if (message.isNull()) return false;
    platform::MessageBoxRequest box;
    box.text = message;
    box.title = title;
    box.buttons = platform::MessageBoxRequest::Buttons::Ok;
    box.icon = platform::MessageBoxRequest::Icon::None;
    boxes.show(parent, box);
    return true;
}

} // namespace filelist
