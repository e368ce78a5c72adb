#pragma once

#include "platform/DriveList.h"

#include <future>
#include <memory>

namespace platform {

class Clock;
class DesktopData;
class DesktopFiles;
class FileCopier;
class FileDialogs;
class FileProperties;
class MessageBoxes;
class WebPaneFactory;

// What a window needs from the desktop. Each member can be replaced by a test.
struct Services {
    std::shared_ptr<MessageBoxes> messageBoxes;
    std::shared_ptr<FileDialogs> fileDialogs;
    std::shared_ptr<DriveList> drives;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<WebPaneFactory> webPanes;
    std::shared_ptr<FileProperties> fileProperties;
    std::shared_ptr<FileCopier> fileCopier;
    std::shared_ptr<DesktopData> desktopData; // none: the file type is not registered
    std::shared_ptr<DesktopFiles> desktopFiles;
};

// The real implementations: Qt's message boxes and file dialogs, the mounted volumes,
// the system clock, the web panes, the file manager's properties, our own copy, the
// user's desktop data and the desktop's ways with a file. The drive list starts with the
// volumes read ahead, where they are given.
Services desktopServices(std::shared_future<QList<Volume>> volumesReadAhead = {});

} // namespace platform
