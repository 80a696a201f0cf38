#pragma once
// Ports on a network serial server: their names as the engineer types them, and the list the
// window remembers in config.ini ([NetworkPorts] Port1 .. Port16, the newest first).
//
// Threads: any; each call reads or writes the file afresh.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// At most this many network ports are remembered.
inline constexpr std::size_t kMaxNetworkPorts = 16;

// What is wrong with a name typed for a network port.
enum class NetworkNameFault {
    None,
    Form,     // not HOST:PORT, rfc2217://HOST:PORT or tcp://HOST:PORT
    NoHost,   // nothing before the port
    BadHost,  // a character no host name or address holds
    BadPort,  // not a number from 1 to 65535
};

struct NetworkName {
    std::string name;  // "rfc2217://host:port" or "tcp://host:port"; "" when fault is set
    std::string host;  // as typed, for the message when it is wrong
    NetworkNameFault fault = NetworkNameFault::None;
};

// Reads what the engineer typed: blanks around it dropped, a plain HOST:PORT taken as RFC 2217,
// the kind and the host in lower case (host names are), the port without leading zeros. An IPv6
// address stands in brackets: rfc2217://[::1]:2217.
NetworkName ParseNetworkName(std::string_view text);

// The remembered ports, newest first: entries that are no network port's name are skipped,
// each kept once, at most kMaxNetworkPorts; none when the file or the section is missing.
std::vector<std::string> ReadNetworkPorts(const std::string& configPath);
// Stores the list as Port1 .. PortN and empties the keys after it that hold a value; every
// other line of the file stays as it is. False when the file cannot be written.
bool WriteNetworkPorts(const std::string& configPath, const std::vector<std::string>& ports);

// The list with name put first, any earlier copy of it dropped, cut to kMaxNetworkPorts.
std::vector<std::string> WithNetworkPortFirst(std::vector<std::string> ports,
                                              const std::string& name);
