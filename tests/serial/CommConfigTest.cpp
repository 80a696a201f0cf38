#include <gtest/gtest.h>

#include "serial/CommConfig.h"

using serial::CommSettings;
using serial::StopBits;

namespace {

TEST(CommConfig, ParsesTheFieldsItKnowsAndRefusesTheRest) {
    const CommSettings start{9600, 'N', 8, StopBits::One};
    struct Row {
        const char* text;
        bool ok;
        CommSettings expected;  // unchanged start when refused
    };
    const Row rows[] = {
        {"baud=9600 parity=N data=8 stop=1", true, {9600, 'N', 8, StopBits::One}},
        {"baud=115200 parity=E data=7 stop=2", true, {115200, 'E', 7, StopBits::Two}},
        {"BAUD=2400 Parity=o DATA=8 stop=1", true, {2400, 'O', 8, StopBits::One}},
        {"baud=300 parity=M data=5 stop=1.5", true, {300, 'M', 5, StopBits::OnePointFive}},
        {"baud=250000 parity=s data=6 stop=1", true, {250000, 'S', 6, StopBits::One}},
        {"  parity=E   ", true, {9600, 'E', 8, StopBits::One}},
        {"baud=9600 parity=X data=8 stop=1", false, start},
        {"baud=9600 parity=NE data=8 stop=1", false, start},
        {"baud=9600 parity= data=8 stop=1", false, start},
        {"baud=9600 parity=N data=4 stop=1", false, start},
        {"baud=9600 parity=N data=9 stop=1", false, start},
        {"baud=9600 parity=N data=8 stop=0", false, start},
        {"baud=9600 parity=N data=8 stop=1.0", false, start},
        {"baud=9600 parity=N data=8 stop=3", false, start},
        {"baud=0 parity=N data=8 stop=1", false, start},
        {"baud=-9600 parity=N data=8 stop=1", false, start},
        {"baud=96x0 parity=N data=8 stop=1", false, start},
        {"baud=99999999999 parity=N", false, start},
        {"speed=9600", false, start},
        {"baud9600", false, start},
        {"", false, start},
        // A bad field anywhere refuses the whole text: nothing before it is taken either.
        {"baud=4800 parity=Q", false, start},
    };
    for (const Row& row : rows) {
        CommSettings s = start;
        EXPECT_EQ(serial::ParseConfigText(row.text, s), row.ok) << row.text;
        EXPECT_EQ(s, row.expected) << row.text;
    }
}

TEST(CommConfig, BuildsTheTextThatOpenPortParses) {
    struct Row {
        unsigned baud;
        char parity;
        unsigned data;
        unsigned stop;
        const char* text;
        bool parses;
    };
    const Row rows[] = {
        {9600, 'N', 8, 1, "baud=9600 parity=N data=8 stop=1", true},
        {115200, 'E', 7, 2, "baud=115200 parity=E data=7 stop=2", true},
        // An empty character format gives parity NUL and stop 0: the text ends at the NUL.
        {9600, '\0', 8, 0, "baud=9600 parity=", false},
        {9600, 'N', 8, 0, "baud=9600 parity=N data=8 stop=0", false},
        {4294967295u, 'N', 8, 1, "baud=-1 parity=N data=8 stop=1", false},
    };
    for (const Row& row : rows) {
        std::string text = serial::BuildConfigText(row.baud, row.parity, row.data, row.stop);
        EXPECT_EQ(text, row.text);
        CommSettings s;
        EXPECT_EQ(serial::ParseConfigText(text, s), row.parses) << text;
    }
}

TEST(CommConfig, RefusesFramesNoUartSends) {
    struct Row {
        unsigned data;
        StopBits stop;
        bool supported;
    };
    const Row rows[] = {
        {5, StopBits::OnePointFive, true}, {8, StopBits::OnePointFive, false},
        {5, StopBits::Two, false},         {8, StopBits::Two, true},
        {5, StopBits::One, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(serial::IsSupportedFrame({9600, 'N', row.data, row.stop}), row.supported)
            << row.data << " data bits, stop " << static_cast<int>(row.stop);
    }
}

}  // namespace
