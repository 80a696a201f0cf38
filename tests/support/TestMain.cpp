// Test entry: a QApplication exists for every test, on the offscreen platform unless a display
// was asked for, so widget tests run headless in CI. The automatic backups of every test (and
// of the programs it starts) go to a folder of the run's own, never the user's data.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QTemporaryDir dataHome;
    if (!dataHome.isValid()) return 1;
    setenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit().constData(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
