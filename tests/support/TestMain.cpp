// Test entry: a QApplication exists for every test, on the offscreen platform unless a display
// was asked for, so widget tests run headless in CI. The automatic backups of every test (and
// of the programs it starts) go to a folder of the run's own, never the user's data.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "tests/support/TestPaths.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testpaths::FreshDataHome();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
