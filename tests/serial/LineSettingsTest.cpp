#include <gtest/gtest.h>
#include <termios.h>

#include "serial/posix/LineSettings.h"

using serial::CommSettings;
using serial::StopBits;

namespace {

// The character format as the line driver gets it, against the C library's constants.
TEST(LineSettings, CharacterFormatBecomesTheControlFlags) {
    struct Row {
        unsigned data;
        char parity;
        StopBits stop;
        tcflag_t flags;
    };
    const Row rows[] = {
        {8, 'N', StopBits::One, CS8},
        {7, 'E', StopBits::Two, CS7 | PARENB | CSTOPB},
        {8, 'O', StopBits::One, CS8 | PARENB | PARODD},
        {6, 'M', StopBits::One, CS6 | PARENB | PARODD | CMSPAR},
        {8, 'S', StopBits::Two, CS8 | PARENB | CMSPAR | CSTOPB},
        {5, 'N', StopBits::OnePointFive, CS5 | CSTOPB},
    };
    for (const Row& row : rows) {
        CommSettings s{9600, row.parity, row.data, row.stop};
        EXPECT_EQ(serial::posix::FrameFlagsFor(s), row.flags) << row.data << row.parity;
    }
}

}  // namespace
