// Test entry for the engine on its own: a core application for its window's messages and
// timers, and no GUI. The automatic backups go to a folder of the run's own.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dataHome;
    if (!dataHome.isValid()) return 1;
    setenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit().constData(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
