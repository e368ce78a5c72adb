#include "platform/AppSetup.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <unistd.h>

namespace platform {

void prepareApplication() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace platform
