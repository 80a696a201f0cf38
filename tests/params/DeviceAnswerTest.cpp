#include "params/DeviceAnswer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "params/ConfigFileText.h"

namespace {

constexpr const char* kOld = "old";
const std::string kApn = "Access Point Name:cmnet\r\n";

// An answer padded after its anchor line so that tail starts at offset `at` of the parsed copy.
std::string TailAt(std::size_t at, const std::string& tail) {
    return kApn + std::string(at - kApn.size(), 'x') + tail;
}

struct Case {
    const char* what;
    std::string answer;
    int length;                                  // -1: the whole answer
    std::map<std::string, std::string> changed;  // every other entry keeps kOld
};

TEST(ParseDeviceAnswer, TakesValuesBehindLabels) {
    const std::string v99(99, 'a');
    const std::string v100(100, 'b');
    const Case cases[] = {
        {"anchor value trimmed, secondary not fooled",
         "\r\nAT+SHOW\r\nAccess Point Name: internet \r\nServer's Ip:10.1.2.3\r\nOK\r\n",
         -1,
         {{"Access Point Name", "internet"}, {"Server's Ip", "10.1.2.3"}}},
        {"secondary line first",
         kApn + "Secondary Server's Ip:5.6.7.8\r\nServer's Ip:1.2.3.4\r\n",
         -1,
         {{"Access Point Name", "cmnet"},
          {"Server's Ip", "1.2.3.4"},
          {"Secondary Server's Ip", "5.6.7.8"}}},
        {"empty values",
         kApn + "Server's Ip:\r\nServer's Port:   \r\n",
         -1,
         {{"Access Point Name", "cmnet"}, {"Server's Ip", ""}, {"Server's Port", ""}}},
        {"99 characters taken, 100 kept",
         kApn + "Server's Ip:" + v99 + "\r\nServer's Port:" + v100 + "\r\n",
         -1,
         {{"Access Point Name", "cmnet"}, {"Server's Ip", v99}}},
        {"blanks around a 99-character value do not count",
         kApn + "Server's Ip:  " + v99 + "  \r\r\n",
         -1,
         {{"Access Point Name", "cmnet"}, {"Server's Ip", v99}}},
        {"inner blanks and tabs stay, trailing CRs go",
         kApn + "Center call number:\t*99 # \r\r\n",
         -1,
         {{"Access Point Name", "cmnet"}, {"Center call number", "\t*99 #"}}},
        {"shared labels fill every sharer",
         kApn + "EL transmit channel:45\r\nDIO1 workmode:3\r\n",
         -1,
         {{"Access Point Name", "cmnet"},
          {"EL transmit channel", "45"},
          {"EL transmit channel_Z", "45"},
          {"EL transmit channel_G", "45"},
          {"DIO1 workmode", "3"},
          {"I/O1 Mode", "3"}}},
        {"first occurrence wins",
         kApn + "Server's Port:1\r\nServer's Port:2\r\n",
         -1,
         {{"Access Point Name", "cmnet"}, {"Server's Port", "1"}}},
        {"Server1's Ip belongs to the second server",
         kApn + "Server1's Ip:8.8.4.4\r\n",
         -1,
         {{"Access Point Name", "cmnet"}, {"Server2's Ip", "8.8.4.4"}}},
        {"text before the anchor is not parsed",
         "\r\nServer's Ip:9.9.9.9\r\n" + kApn + "Server's Port:80\r\n",
         -1,
         {{"Access Point Name", "cmnet"}, {"Server's Port", "80"}}},
        {"no anchor", "\r\nServer's Ip:9.9.9.9\r\nOK\r\n", -1, {}},
        {"truncated without a last line end",
         kApn + "Server's Port:5000",
         -1,
         {{"Access Point Name", "cmnet"}}},
        {"a label ending at the last character of the copy still has its value",
         TailAt(kWorkCopyChars - 16, "\r\nServer's Ip:\r\n"),
         -1,
         {{"Access Point Name", "cmnet"}, {"Server's Ip", ""}}},
        {"a line end cut off by the copy size",
         TailAt(kWorkCopyChars - 15, "\r\nServer's Ip:\r\n"),
         -1,
         {{"Access Point Name", "cmnet"}}},
        {"a label beyond the copy size",
         TailAt(kWorkCopyChars + 10, "\r\nServer's Ip:1\r\n"),
         -1,
         {{"Access Point Name", "cmnet"}}},
        {"nothing read past the given length",
         kApn + "Server's Port:80\r\n",
         static_cast<int>(kApn.size()) + 17,
         {{"Access Point Name", "cmnet"}}},
        {"a zero byte ends the text",
         kApn + std::string(1, '\0') + "Server's Port:80\r\n",
         -1,
         {{"Access Point Name", "cmnet"}}},
        {"zero length", kApn, 0, {}},
        {"negative length", kApn, -5, {}},
        {"an entry without a label is left alone",
         "Access Point Name:\r\n",
         -1,
         {{"Access Point Name", ""}}},
        {"a file with single CR LF line ends yields nothing",
         DecodeConfigText("\r\nAccess Point Name:cmnet\r\nServer's Ip:1.2.3.4\r\n"),
         -1,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParameterTable table;
        BuildParameterTable(table);
        for (auto& [name, entry] : table) entry.value = kOld;
        const int length = c.length == -1 ? static_cast<int>(c.answer.size()) : c.length;
        // Exactly `length` bytes with no terminating zero, so a sanitizer build sees any read
        // past the end.
        const std::vector<char> bytes(c.answer.begin(), c.answer.begin() + std::max(length, 0));
        ParseDeviceAnswer(table, length > 0 ? bytes.data() : c.answer.data(), length);
        for (const auto& [name, entry] : table) {
            const auto it = c.changed.find(name);
            EXPECT_EQ(entry.value, it == c.changed.end() ? kOld : it->second) << name;
        }
    }
}

TEST(ParseDeviceAnswer, NullAnswerChangesNothing) {
    ParameterTable table;
    BuildParameterTable(table);
    table.SetValue("Access Point Name", kOld);
    ParseDeviceAnswer(table, nullptr, 100);
    EXPECT_EQ(table.FindParameter("Access Point Name")->value, kOld);
}

}  // namespace
