// Test entry for the engine on its own: a core application for its window's messages and
// timers, and no GUI. The automatic backups go to a folder of the run's own.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "tests/support/TestPaths.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testpaths::FreshDataHome();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
