// Ports on a network serial server: the names an engineer types, and the list config.ini keeps
// of them, also after the file was edited by hand.
#include "settings/NetworkPorts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestPaths.h"

namespace {

using Fault = NetworkNameFault;
using Ports = std::vector<std::string>;

TEST(NetworkPorts, TypedNamesAreReadOrSaidWhatIsWrong) {
    const struct {
        const char* typed;
        const char* name;  // "" when refused
        Fault fault;
    } cases[] = {
        {"rfc2217://10.0.0.5:4001", "rfc2217://10.0.0.5:4001", Fault::None},
        {"tcp://10.0.0.5:4001", "tcp://10.0.0.5:4001", Fault::None},
        {"10.0.0.5:4001", "rfc2217://10.0.0.5:4001", Fault::None},
        {"  Box-7.Plant:04001\t", "rfc2217://box-7.plant:4001", Fault::None},
        {"TCP://serial_srv:1", "tcp://serial_srv:1", Fault::None},
        {"rfc2217://[::1]:65535", "rfc2217://[::1]:65535", Fault::None},
        {"[FE80::1%eth0]:2217", "rfc2217://[fe80::1%eth0]:2217", Fault::None},
        {"", "", Fault::Form},
        {"10.0.0.5", "", Fault::Form},
        {"ssh://10.0.0.5:22", "", Fault::Form},
        {"tcp://", "", Fault::Form},
        {"[::1]", "", Fault::Form},
        {":4001", "", Fault::NoHost},
        {"tcp://:4001", "", Fault::NoHost},
        {"[]:4001", "", Fault::NoHost},
        {"::1:4001", "", Fault::BadHost},
        {"serial box:4001", "", Fault::BadHost},
        {"服务器:4001", "", Fault::BadHost},
        {"[::1]x:4001", "", Fault::BadHost},
        {"box:", "", Fault::BadPort},
        {"box:0", "", Fault::BadPort},
        {"box:65536", "", Fault::BadPort},
        {"box:0000065536", "", Fault::BadPort},
        {"box:+80", "", Fault::BadPort},
        {"box:80/", "", Fault::BadPort},
        {"box:http", "", Fault::BadPort},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const NetworkName parsed = ParseNetworkName(c.typed);
        EXPECT_EQ(parsed.name, c.name);
        EXPECT_EQ(parsed.fault, c.fault);
        // Every name read reads the same again.
        if (c.fault != Fault::None) continue;
        EXPECT_EQ(ParseNetworkName(parsed.name).name, parsed.name);
    }
}

TEST(NetworkPorts, ConfigKeepsTheNewestFirstOnceEachAndLeavesTheRestOfTheFileAlone) {
    const std::string path = testpaths::TempDir() + "/config.ini";
    // Edited by hand: Chinese around the list, entries that are no port's, a copy of one,
    // a key missing, one beyond the last the program reads.
    const std::string before =
        "; 配置文件：手工编辑\r\n"
        "[Folders]\r\n"
        "LoadCfg=/home/张三/配置\r\n"
        "[NetworkPorts]\r\n"
        "; 机柜 3 的串口服务器\r\n"
        "Port1=tcp://10.0.0.5:4001\r\n"
        "Port2=服务器:4001\r\n"
        "port3 = 10.0.0.6:4002\r\n"
        "Port5=rfc2217://10.0.0.6:4002\r\n"
        "Port6=ssh://10.0.0.7:22\r\n"
        "Port7=box:0\r\n"
        "Port8=\"tcp://[::1]:4003\"\r\n"
        "Port17=tcp://10.0.0.9:4009\r\n"
        "[Set]\r\n"
        "Language=1\r\n";
    testpaths::WriteFile(path, before);
    EXPECT_EQ(ReadNetworkPorts(path),
              (Ports{"tcp://10.0.0.5:4001", "rfc2217://10.0.0.6:4002", "tcp://[::1]:4003"}));

    Ports ports = ReadNetworkPorts(path);
    ports = WithNetworkPortFirst(ports, "tcp://[::1]:4003");
    ports = WithNetworkPortFirst(ports, "rfc2217://box:2217");
    ASSERT_TRUE(WriteNetworkPorts(path, ports));
    EXPECT_EQ(ReadNetworkPorts(path), ports);
    const std::string after = testpaths::ReadFile(path);
    for (const char* kept : {"; 配置文件：手工编辑\r\n", "LoadCfg=/home/张三/配置\r\n",
                             "; 机柜 3 的串口服务器\r\n", "[Set]\r\nLanguage=1\r\n"}) {
        EXPECT_NE(after.find(kept), std::string::npos) << kept << "\n" << after;
    }

    // A port taken off stays off after the next start; entries the program dropped are gone.
    ASSERT_TRUE(WriteNetworkPorts(path, {"tcp://[::1]:4003"}));
    EXPECT_EQ(ReadNetworkPorts(path), (Ports{"tcp://[::1]:4003"}));
    EXPECT_EQ(testpaths::ReadFile(path).find("10.0.0.6"), std::string::npos);

    // At most the newest sixteen.
    Ports many;
    for (int i = 1; i <= 20; ++i)
        many = WithNetworkPortFirst(many, "tcp://box:" + std::to_string(i));
    ASSERT_TRUE(WriteNetworkPorts(path, many));
    const Ports read = ReadNetworkPorts(path);
    ASSERT_EQ(read.size(), kMaxNetworkPorts);
    EXPECT_EQ(read.front(), "tcp://box:20");
    EXPECT_EQ(read.back(), "tcp://box:5");

    EXPECT_TRUE(ReadNetworkPorts(testpaths::TempDir() + "/none.ini").empty());
    EXPECT_TRUE(ReadNetworkPorts(testpaths::TempDir()).empty()) << "a folder in its place";
    EXPECT_FALSE(WriteNetworkPorts("/nonexistent-folder/config.ini", {"tcp://box:1"}));
}

}  // namespace
