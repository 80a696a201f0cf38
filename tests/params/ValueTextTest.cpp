// Reading numbers as the unit's C library does, and spotting bytes that would split a command.
#include "params/ValueText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(ValueText, LeadingNumberReadsAsAtoiWithoutOverflow) {
    struct Case {
        std::string text;
        int number;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"12", 12},
        {"  \t+7x", 7},
        {"-3", -3},
        {"- 3", 0},
        {"4 5", 4},
        {"0012", 12},
        {"2147483647", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999", INT_MIN},
    };
    for (const Case& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.number) << c.text;
}

TEST(ValueText, ControlBytesAreEveryByteBelowSpaceAndDel) {
    for (int b = 0; b < 256; ++b) {
        const std::string text{'a', static_cast<char>(b), 'z'};
        EXPECT_EQ(HoldsControlByte(text), b < 0x20 || b == 0x7F) << b;
    }
    EXPECT_FALSE(HoldsControlByte(""));
}

}  // namespace
