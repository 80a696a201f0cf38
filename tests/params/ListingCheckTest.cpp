// A listing read from files written by other tools: every line-end convention gives the same
// values, and what a reader would pass over in silence is reported.
#include "params/ListingCheck.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "params/ConfigFileText.h"
#include "params/DeviceAnswer.h"
#include "params/ParameterTable.h"

namespace {

using namespace std::string_literals;

ParameterTable Table() {
    ParameterTable table;
    BuildParameterTable(table);
    return table;
}

std::map<std::string, std::string> Parsed(const std::string& text) {
    ParameterTable table = Table();
    ParseDeviceAnswer(table, text.data(), static_cast<int>(text.size()));
    std::map<std::string, std::string> values;
    for (const auto& [name, entry] : table) values[name] = entry.value;
    return values;
}

// The unit's own listing, with its CR LF line ends.
const std::string kListing =
    "\r\nAT+SHOW\r\n[Device configuration]\r\nAccess Point Name:cmnet\r\n"
    "PPP Authentication User Id:user\r\nServer's Ip:10.1.2.3\r\nServer's Port:5001\r\n"
    "DIO1 workmode:4\r\n\r\nOK\r\n";

std::string WithLineEnds(const std::string& listing, const std::vector<std::string>& ends) {
    std::string bytes;
    std::size_t line = 0;
    for (char c : listing) {
        if (c == '\r') continue;
        if (c == '\n') {
            bytes += ends[line++ % ends.size()];
        } else {
            bytes += c;
        }
    }
    return bytes;
}

TEST(ListingCheck, EveryLineEndConventionReadsToTheSameListing) {
    const std::map<std::string, std::string> values = Parsed(kListing);
    ASSERT_EQ(values.at("Server's Port"), "5001");
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"as this program writes (CR CR LF)", EncodeConfigText(kListing)},
        {"CR LF (a Windows editor)", WithLineEnds(kListing, {"\r\n"})},
        {"LF (a Linux editor)", WithLineEnds(kListing, {"\n"})},
        {"a mix, edited lines in CR LF",
         WithLineEnds(kListing, {"\r\r\n", "\r\n", "\n", "\r\r\n"})},
        {"more CRs than one before the LF", WithLineEnds(kListing, {"\r\r\r\n"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ListingCheck check = ReadListingFile(c.bytes, Table());
        EXPECT_EQ(check.text, kListing);
        EXPECT_EQ(Parsed(check.text), values);
        EXPECT_FALSE(check.Refused()) << ListingRefusalText(check);
        EXPECT_TRUE(check.closed);
        EXPECT_EQ(check.values, 5);
    }
}

TEST(ListingCheck, SaysWhatAReaderWouldPassOver) {
    const std::string apn = "Access Point Name:cmnet\r\n";
    struct Case {
        const char* what;
        std::string text;
        ListingRefusal refusal;
        bool closed;
        int values;
        std::vector<std::string> twice = {};
        std::vector<std::string> above = {};
    };
    const Case cases[] = {
        {"empty", "", ListingRefusal::Empty, false, 0},
        {"no anchor", "\r\nServer's Ip:1.2.3.4\r\nOK\r\n", ListingRefusal::NoAnchor, false, 0},
        {"the anchor without its line end", "Access Point Name:cmn", ListingRefusal::NoValues,
         false, 0},
        {"cut in a line: the cut line holds no value", apn + "Server's Ip:1.2",
         ListingRefusal::None, false, 1},
        {"a closing OK without its line end", apn + "OK", ListingRefusal::None, true, 1},
        {"OK inside a value does not close", apn + "Server's Ip:OK\r\n", ListingRefusal::None,
         false, 2},
        {"a label twice",
         apn + "Server's Port:1\r\nServer's Port:2\r\nOK\r\n",
         ListingRefusal::LabelsTwice,
         true,
         2,
         {"Server's Port:"}},
        {"a shared label is one line", apn + "EL transmit channel:3\r\nOK\r\n",
         ListingRefusal::None, true, 2},
        {"a parameter above the anchor",
         "\r\nServer's Ip:9.9.9.9\r\n" + apn + "OK\r\n",
         ListingRefusal::ValuesAboveAnchor,
         true,
         1,
         {},
         {"Server's Ip:"}},
        {"the unit's heading and echo above the anchor are fine",
         "\r\nAT+SHOW\r\n[Device configuration]\r\n" + apn + "OK\r\n", ListingRefusal::None, true,
         1},
        {"lines after the closing OK are no part of it",
         apn + "OK\r\nServer's Ip:1.2.3.4\r\nServer's Ip:1\r\n", ListingRefusal::None, true, 1},
        {"Secondary Server's Ip is not Server's Ip",
         apn + "Secondary Server's Ip:1.1.1.1\r\nServer's Ip:2.2.2.2\r\nOK\r\n",
         ListingRefusal::None, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ListingCheck check = CheckListing(c.text, Table());
        EXPECT_EQ(check.refusal, c.refusal) << ListingRefusalText(check);
        EXPECT_EQ(check.Refused(), !ListingRefusalText(check).empty());
        EXPECT_EQ(check.closed, c.closed);
        EXPECT_EQ(check.values, c.values);
        EXPECT_EQ(check.labelsTwice, c.twice);
        EXPECT_EQ(check.labelsAboveAnchor, c.above);
    }
    // What follows the closing OK is dropped, so no reader meets it.
    EXPECT_EQ(CheckListing(apn + "OK\r\nServer's Ip:1.2.3.4\r\n", Table()).text, apn + "OK\r\n");
}

TEST(ListingCheck, AFileEndsAtCtrlZOrAZeroByteAndAtTheLimit) {
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t limit;
        std::string text;
    };
    const Case cases[] = {
        {"Ctrl-Z", "a\r\r\nb\x1a\r\nc", 100, "a\r\nb"},
        {"a zero byte", "a\n"s + '\0' + "b", 100, "a\r\n"},
        {"a lone CR stays", "a\rb\r", 100, "a\rb\r"},
        {"the limit in characters of the text", "ab\ncd", 4, "ab\r\n"},
        {"a line end is never split by the limit", "ab\ncd", 3, "ab"},
        {"a long file is read past 8192 characters", std::string(20000, 'x'), kListingTextLimit,
         std::string(20000, 'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodeListingFile(c.bytes, c.limit), c.text);
    }
}

}  // namespace
