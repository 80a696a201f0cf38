// Test entry for the libraries below the window: no QApplication, so a test that needs one
// (a widget, an event loop) fails instead of passing by accident.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
