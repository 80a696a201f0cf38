#include "params/ValueCheck.h"

#include <algorithm>

namespace {

struct KindRow {
    std::string_view name;
    ValueKind kind;
};

constexpr ValueKind kHost = ValueKind::HostAddress;
constexpr ValueKind kIp = ValueKind::IpAddress;
constexpr ValueKind kPort = ValueKind::Port;
constexpr ValueKind kNumber = ValueKind::Number;

// The form's fields whose labels say what they hold, by control name; every other parameter
// takes text or is a list, whose items the form itself makes.
// clang-format off
constexpr KindRow kKinds[] = {
    // servers
    {"Server's Ip", kHost},                 {"Server's Port", kPort},
    {"Secondary Server's Ip", kHost},       {"Secondary Server's Port", kPort},
    {"Server2's Ip", kHost},                {"Server2's Port", kPort},
    {"Server3's Ip", kHost},                {"Server3's Port", kPort},
    {"Server4's Ip", kHost},                {"Server4's Port", kPort},
    {"Server5's Ip", kHost},                {"Server5's Port", kPort},
    {"Wait Time Between Dial Failures", kNumber},
    {"Link Fail Retry Times", kNumber},
    {"ListenPort", kPort},
    // management platform, GPS
    {"dtu manage server's Ip", kHost},      {"dtu manage server's Port", kPort},
    {"GPS Server's Ip", kHost},             {"GPS Server's Port", kPort},
    {"GPS transmit interval", kNumber},
    // wireless
    {"PPP Wait Time Between Dial Failures", kNumber},
    {"PPP Link Fail Retry Times", kNumber},
    {"Dns Server's Ip", kIp},               {"Second Dns Server's Ip", kIp},
    // global
    {"Lcp echo interval", kNumber},         {"Lcp echo testing number", kNumber},
    {"ICMP Ip", kHost},
    {"ICMP interval", kNumber},             {"ICMP testing number", kNumber},
    {"Send group package waiting for", kNumber},
    {"Max Tcp Frame Len", kNumber},
    {"Resend wating", kNumber},             {"Maximum retransmission times", kNumber},
    {"Waiting for the failure", kNumber},   {"Heartbeat poll time seconds", kNumber},
    // digital I/O
    {"DIO1 upper threshold", kNumber},      {"DIO1 lower threshold", kNumber},
    {"DIO2 upper threshold", kNumber},      {"DIO2 lower threshold", kNumber},
    {"DIO3 upper threshold", kNumber},      {"DIO3 lower threshold", kNumber},
    {"DIO1 reported times", kNumber},       {"DIO2 reported times", kNumber},
    {"DIO3 reported times", kNumber},
    {"Mobus address", kNumber},
    // LoRa
    {"LORA ID", kNumber},                   {"LORA TAddr", kNumber},
    {"LORA Power", kNumber},                {"LORA freq", kNumber},
    {"LORA pid", kNumber},
    // the transfer-channel masks ("set" gives them as numbers)
    {"EL transmit channel", kNumber},       {"EL transmit channel_Z", kNumber},
    {"EL transmit channel_G", kNumber},
};
// clang-format on

constexpr int kMaxPort = 65535;
// A 32-bit unsigned number has at most ten digits; no setting of the unit is larger.
constexpr std::size_t kMaxNumberDigits = 10;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

ValueFault CheckNumber(std::string_view value) {
    if (!AllDigits(value)) return ValueFault::NotNumber;
    if (value.size() > 1 && value.front() == '0') return ValueFault::LeadingZero;
    if (value.size() > kMaxNumberDigits) return ValueFault::NumberTooLong;
    return ValueFault::None;
}

bool IsIpAddress(std::string_view value) {
    int parts = 0;
    for (;;) {
        const std::size_t dot = value.find('.');
        const std::string_view part = value.substr(0, dot);
        if (!AllDigits(part) || part.size() > 3 || (part.size() > 1 && part.front() == '0')) {
            return false;
        }
        if (std::stoi(std::string(part)) > 255) return false;
        ++parts;
        if (dot == std::string_view::npos) break;
        value.remove_prefix(dot + 1);
    }
    return parts == 4;
}

// Labels of letters, digits and inner hyphens, at least one letter somewhere: a name made of
// digits and dots only is a mistyped address ("999.1.1.1"), not a name.
bool IsHostName(std::string_view value) {
    if (value.size() > 253) return false;
    bool letter = false;
    for (;;) {
        const std::size_t dot = value.find('.');
        const std::string_view label = value.substr(0, dot);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') {
            return false;
        }
        for (char c : label) {
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                letter = true;
            } else if (!IsDigit(c) && c != '-') {
                return false;
            }
        }
        if (dot == std::string_view::npos) break;
        value.remove_prefix(dot + 1);
    }
    return letter;
}

}  // namespace

ValueKind ValueKindOf(std::string_view name) {
    for (const KindRow& row : kKinds) {
        if (row.name == name) return row.kind;
    }
    return ValueKind::Any;
}

ValueFault CheckValue(ValueKind kind, std::string_view value) {
    switch (kind) {
        case ValueKind::Any:
            return ValueFault::None;
        case ValueKind::HostAddress:
            return value.empty() || IsIpAddress(value) || IsHostName(value)
                       ? ValueFault::None
                       : ValueFault::NotAddress;
        case ValueKind::IpAddress:
            return value.empty() || IsIpAddress(value) ? ValueFault::None
                                                       : ValueFault::NotIpAddress;
        case ValueKind::Port: {
            const ValueFault fault = CheckNumber(value);
            if (fault == ValueFault::LeadingZero) return fault;
            if (fault != ValueFault::None || std::stol(std::string(value)) > kMaxPort) {
                return ValueFault::NotPort;
            }
            return ValueFault::None;
        }
        case ValueKind::Number:
            return CheckNumber(value);
    }
    return ValueFault::None;
}

std::string ValueFaultText(ValueFault fault) {
    switch (fault) {
        case ValueFault::None:
            return {};
        case ValueFault::NotAddress:
            return "an address is a dotted IPv4 address (such as 192.0.2.10) or a host name";
        case ValueFault::NotIpAddress:
            return "an address here is a dotted IPv4 address, such as 192.0.2.10";
        case ValueFault::NotNumber:
            return "a whole number is needed: digits only";
        case ValueFault::LeadingZero:
            return "a number does not start with 0 (the unit would list it without)";
        case ValueFault::NotPort:
            return "a port is a number from 0 to 65535";
        case ValueFault::NumberTooLong:
            return "the number has more digits than any setting takes";
    }
    return {};
}

std::string ValueRefusal(std::string_view name, std::string_view value) {
    const ValueFault fault = CheckValue(ValueKindOf(name), value);
    if (fault == ValueFault::None) return {};
    return "\"" + std::string(name) + "=" + std::string(value) + "\": " + ValueFaultText(fault);
}
