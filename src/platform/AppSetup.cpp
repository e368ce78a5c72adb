#include "platform/AppSetup.h"

#include <QCoreApplication>
#include <QFont>
#include <QtGlobal>
#include <algorithm>
#include <cstring>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

namespace platform {

void prepareApplication() {
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

ApplicationArguments::ApplicationArguments(int argc, char** argv) : argc_(argc), argv_(argv, argv + argc) {
    bool named = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    for (int i = 1; i < argc; ++i)
        named = named || std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0;
    if (!named && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        static char option[] = "-platform", x11[] = "xcb";
        argv_.insert(argv_.begin() + std::min(argc, 1), {option, x11});
        argc_ += 2;
    }
    argv_.push_back(nullptr);
}

void substituteFonts() {
    if (QFont::substitutes(QStringLiteral("MS Sans Serif")).isEmpty())
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("Microsoft Sans Serif"),
                                                                     QStringLiteral("Liberation Sans")});
    // Liberation Sans has Arial's widths; naming it spares the font engine's search for Arial.
    if (QFont::substitutes(QStringLiteral("Arial")).isEmpty())
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    // The Copy File dialog's boxes: a face close to Tahoma's widths rather than DejaVu's.
    if (QFont::substitutes(QStringLiteral("Tahoma")).isEmpty())
        QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));
}

StartupReader::StartupReader() : reading_([this] {
    FcInit();
    volumesRead_.set_value(readMountedVolumes());
}) {}

StartupReader::~StartupReader() {
    wait();
}

void StartupReader::wait() {
    if (reading_.joinable()) reading_.join();
}

} // namespace platform
