#include "settings/NetworkPorts.h"

#include <algorithm>

#include "settings/IniFile.h"

namespace {

constexpr const char* kSection = "NetworkPorts";
constexpr std::string_view kRfc2217 = "rfc2217://";
constexpr std::string_view kTcp = "tcp://";
constexpr std::string_view kSchemeEnd = "://";
// Longer than any host name (253) with its kind and port.
constexpr std::size_t kValueBufferBytes = 512;
constexpr unsigned long kHighestPort = 65535;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHostChar(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || c == '-' || c == '.' || c == '_';
}

// A host name or IPv4 address, or an IPv6 address in brackets (with its zone, if any).
bool IsHost(const std::string& host) {
    if (host.front() == '[') {
        const std::string inside = host.substr(1, host.size() - 2);
        const auto v6 = [](char c) { return IsHostChar(c) || c == ':' || c == '%'; };
        return inside.find(':') != std::string::npos &&
               std::all_of(inside.begin(), inside.end(), v6);
    }
    return std::all_of(host.begin(), host.end(), IsHostChar);
}

// The port without leading zeros; "" when it is no number from 1 to 65535.
std::string PortNumber(std::string_view text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit)) return {};
    text.remove_prefix(std::min(text.find_first_not_of('0'), text.size()));
    if (text.empty() || text.size() > 5) return {};
    const unsigned long value = std::stoul(std::string(text));
    return value <= kHighestPort ? std::string(text) : std::string();
}

std::string KeyOf(std::size_t index) {
    return "Port" + std::to_string(index + 1);
}

}  // namespace

NetworkName ParseNetworkName(std::string_view text) {
    NetworkName result;
    const auto fault = [&](NetworkNameFault kind) {
        result.fault = kind;
        return result;
    };
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return fault(NetworkNameFault::Form);
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);

    std::string scheme(kRfc2217);
    if (const std::size_t end = text.find(kSchemeEnd); end != std::string_view::npos) {
        scheme = Lower(text.substr(0, end + kSchemeEnd.size()));
        if (scheme != kRfc2217 && scheme != kTcp) return fault(NetworkNameFault::Form);
        text.remove_prefix(end + kSchemeEnd.size());
    }
    // The port follows the last colon, or the bracket that closes an IPv6 address.
    const std::size_t close = text.front() == '[' ? text.find(']') : 0;
    if (close == std::string_view::npos) return fault(NetworkNameFault::Form);
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon < close) return fault(NetworkNameFault::Form);
    result.host = std::string(text.substr(0, colon));
    if (result.host.empty() || result.host == "[]") return fault(NetworkNameFault::NoHost);
    const std::string host = Lower(result.host);
    if ((close != 0 && close + 1 != colon) || !IsHost(host))
        return fault(NetworkNameFault::BadHost);
    const std::string port = PortNumber(text.substr(colon + 1));
    if (port.empty()) return fault(NetworkNameFault::BadPort);
    result.name = scheme + host + ":" + port;
    return result;
}

std::vector<std::string> ReadNetworkPorts(const std::string& configPath) {
    std::vector<std::string> ports;
    for (std::size_t i = 0; i < kMaxNetworkPorts; ++i) {
        const std::string value =
            ini::GetString(kSection, KeyOf(i), "", kValueBufferBytes, configPath);
        const NetworkName parsed = ParseNetworkName(value);
        if (parsed.fault != NetworkNameFault::None) continue;
        if (std::find(ports.begin(), ports.end(), parsed.name) == ports.end())
            ports.push_back(parsed.name);
    }
    return ports;
}

bool WriteNetworkPorts(const std::string& configPath, const std::vector<std::string>& ports) {
    for (std::size_t i = 0; i < kMaxNetworkPorts; ++i) {
        if (i < ports.size()) {
            if (!ini::WriteString(kSection, KeyOf(i), ports[i], configPath)) return false;
            continue;
        }
        // A key left with a value would bring a removed port back at the next start.
        if (ini::GetString(kSection, KeyOf(i), "", kValueBufferBytes, configPath).empty()) continue;
        if (!ini::WriteString(kSection, KeyOf(i), "", configPath)) return false;
    }
    return true;
}

std::vector<std::string> WithNetworkPortFirst(std::vector<std::string> ports,
                                              const std::string& name) {
    ports.erase(std::remove(ports.begin(), ports.end(), name), ports.end());
    ports.insert(ports.begin(), name);
    if (ports.size() > kMaxNetworkPorts) ports.resize(kMaxNetworkPorts);
    return ports;
}
