#pragma once
// What values a parameter of the unit accepts. Each parameter row names one domain; a write
// whose value is outside it is answered ERROR and changes nothing.
#include <string_view>

namespace sim {

enum class ValueKind {
    Text,      // printable bytes (GBK allowed), no control bytes, at most maxLength, may be empty
    Phone,     // empty, or an optional '+' and 1 to 20 digits
    Host,      // a dotted IPv4 address or a host name, at most 99 bytes
    Ipv4,      // a dotted IPv4 address
    Integer,   // a decimal number in [min, max], no sign unless negative, no leading zeros
    Choice,    // one of the space-separated words, matched exactly (case-sensitive)
    HexWord,   // 1 to 4 hexadecimal digits
    ReadOnly,  // listed but never written
};

struct ValueDomain {
    ValueKind kind = ValueKind::Text;
    long min = 0;
    long max = 0;
    std::string_view choices = {};
    int maxLength = 99;
};

constexpr ValueDomain Text(int maxLength = 99) {
    return {ValueKind::Text, 0, 0, {}, maxLength};
}
constexpr ValueDomain Int(long min, long max) {
    return {ValueKind::Integer, min, max};
}
constexpr ValueDomain Choice(std::string_view words) {
    return {ValueKind::Choice, 0, 0, words};
}

inline constexpr ValueDomain kPhone{ValueKind::Phone};
inline constexpr ValueDomain kHost{ValueKind::Host};
inline constexpr ValueDomain kIpv4{ValueKind::Ipv4};
inline constexpr ValueDomain kHexWord{ValueKind::HexWord};
inline constexpr ValueDomain kReadOnly{ValueKind::ReadOnly};
inline constexpr ValueDomain kPort = Int(0, 65535);
inline constexpr ValueDomain kSwitch = Int(0, 1);
inline constexpr ValueDomain kBaud =
    Choice("1200 2400 4800 9600 14400 19200 38400 57600 115200 230400");
inline constexpr ValueDomain kFrame = Choice("8N1 8E1 8O1 8N2 7E1 7O1 7N2");
inline constexpr ValueDomain kBindingCenter = Choice("0 1 2 4 8 16 255");

// True when `value` lies in the domain. Any thread.
bool ValueFits(const ValueDomain& domain, std::string_view value);

}  // namespace sim
