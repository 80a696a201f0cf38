// A port named the Windows way or the Linux way gives its unit's files a name every system
// takes.
#include <gtest/gtest.h>

#include "cli/CliUnitReport.h"

namespace {

TEST(PortNames, TheUnitsFilesAreNamedByThePortsLastPart) {
    const struct {
        const char* port;
        const char* stem;
    } cases[] = {
        {"/dev/ttyUSB0", "ttyUSB0-2"},
        {"COM3", "COM3-2"},
        {"\\\\.\\COM10", "COM10-2"},
        {"VIRTUAL1", "VIRTUAL1-2"},
        {"odd:na*me", "odd_na_me-2"},
        {"rfc2217://10.0.0.5:4001", "10.0.0.5_4001-2"},
        {"tcp://[fe80::1]:4002", "[fe80__1]_4002-2"},
    };
    for (const auto& c : cases) EXPECT_EQ(UnitFileStem(c.port, 2), c.stem) << c.port;
}

}  // namespace
