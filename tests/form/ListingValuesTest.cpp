// What a listing holds and how two differ: each value once, and the unit's name as a folder
// name that is safe whatever the unit calls itself.
#include <gtest/gtest.h>

#include "params/ListingValues.h"
#include "tests/form/TestListing.h"

namespace {

std::string Listing(const std::map<std::string, std::string>& overrides) {
    ParameterTable table;
    BuildParameterTable(table);
    return formtest::MakeListing(table, overrides);
}

TEST(ListingValues, UnitNamesAreSafeFolderNames) {
    struct Case {
        const char* type;
        const char* id;
        const char* name;
    };
    const Case cases[] = {
        {"DTU-K3-L", "12345678", "DTU-K3-L_12345678"},
        {"M5Z30", "", "M5Z30_"},
        {"", "", "unknown"},
        {"../etc", "a/b c", ".._etc_a_b_c"},
        {"DTU", "\xb2\xe2\xca\xd4", "DTU_____"},  // GBK bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UnitNameOfListing(Listing({{"Device Type", c.type}, {"Modem'sID number", c.id}})),
                  c.name);
    }
    EXPECT_EQ(UnitNameOfListing("no listing at all"), "unknown");
}

TEST(ListingValues, DifferencesNameEachValueOnceInKeyOrder) {
    const std::string before = Listing({{"Server's Ip", "1.2.3.4"}, {"EL transmit channel", "3"}});
    const std::string after = Listing({{"Server's Ip", "5.6.7.8"}, {"EL transmit channel", "12"}});
    const std::vector<ValueDifference> d = DifferingValues(before, after);
    ASSERT_EQ(d.size(), 2u);
    // The three masks share the unit's one line: one difference, under the first name.
    EXPECT_EQ(d[0].name, "EL transmit channel");
    EXPECT_EQ(d[0].before, "3");
    EXPECT_EQ(d[0].after, "12");
    EXPECT_EQ(d[1].name, "Server's Ip");
    EXPECT_TRUE(DifferingValues(before, before).empty());
    EXPECT_TRUE(DifferingValues(before, "not a listing").empty());
}

}  // namespace
