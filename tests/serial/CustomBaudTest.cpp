// Reads the line back through termios2, so <termios.h> stays out of this file.
#include <asm/termbits.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include "serial/SerialPort.h"
#include "tests/serial/PtyHelpers.h"

using namespace serialtest;

namespace {

TEST(CustomBaud, RatesWithoutAStandardCodeAreSetExactly) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    RecordingOwner owner;
    CSerialPort port;
    struct Row {
        UINT baud;
        unsigned code;  // the standard code, or BOTHER with the exact rate
    };
    const Row rows[] = {{250000, BOTHER}, {31250, BOTHER}, {9600, B9600}, {921600, B921600}};
    for (const Row& row : rows) {
        ASSERT_TRUE(port.OpenPort(&owner, pty.slavePath, row.baud, 'N', 8, 1, EV_RXCHAR, 8192));
        struct termios2 t {};
        ASSERT_EQ(ioctl(pty.slaveFd, TCGETS2, &t), 0);
        EXPECT_EQ(t.c_cflag & CBAUD, row.code) << row.baud;
        EXPECT_EQ(t.c_ospeed, row.baud);
        EXPECT_EQ(t.c_ispeed, row.baud);
    }
}

}  // namespace
