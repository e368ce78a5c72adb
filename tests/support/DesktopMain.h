#pragma once

// A test's main, with the platform chosen as the program chooses it: X where an X display is
// there, also in a Wayland session (XWayland).
#include "platform/AppSetup.h"

#include <QApplication>
#include <QTest>

#define ORVIK_DESKTOP_TEST_MAIN(TestObject)                                                                  \
    int main(int argc, char* argv[]) {                                                                       \
        platform::ApplicationArguments arguments(argc, argv);                                                \
        QApplication app(arguments.argc(), arguments.argv());                                                \
        TestObject test;                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, arguments.argc(), arguments.argv());                                      \
    }
