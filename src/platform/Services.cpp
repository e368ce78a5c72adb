#include "platform/Services.h"

#include "platform/Clock.h"
#include "platform/DesktopData.h"
#include "platform/DesktopFiles.h"
#include "platform/DriveList.h"
#include "platform/FileCopy.h"
#include "platform/FileDialogs.h"
#include "platform/FileProperties.h"
#include "platform/LazyWebPane.h"
#include "platform/MessageBoxes.h"

namespace platform {

Services desktopServices(std::shared_future<QList<Volume>> volumesReadAhead) {
    Services s;
    s.messageBoxes = std::make_shared<QtMessageBoxes>();
    s.fileDialogs = std::make_shared<QtFileDialogs>();
    s.drives = std::make_shared<MountedVolumes>(std::move(volumesReadAhead));
    s.clock = std::make_shared<SystemClock>();
    s.webPanes = std::make_shared<LazyWebPaneFactory>();
    s.fileProperties = std::make_shared<DesktopFileProperties>();
    s.fileCopier = std::make_shared<OwnFileCopier>(std::make_shared<WindowCopyPrompts>());
    s.desktopData = std::make_shared<XdgDesktopData>();
    s.desktopFiles = std::make_shared<SystemDesktopFiles>();
    return s;
}

} // namespace platform
