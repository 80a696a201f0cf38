#include "sim/ValueDomain.h"

#include "sim/TextUtil.h"

namespace sim {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool TextFits(std::string_view value, int maxLength) {
    if (value.size() > static_cast<std::size_t>(maxLength)) return false;
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

bool PhoneFits(std::string_view value) {
    if (value.empty()) return true;
    if (value.front() == '+') value.remove_prefix(1);
    if (value.empty() || value.size() > 20) return false;
    for (char c : value) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

// A decimal number without sign and without leading zeros ("0" itself is fine).
bool PlainNumber(std::string_view text) {
    if (text.empty()) return false;
    if (text.size() > 1 && text.front() == '0') return false;
    for (char c : text) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

bool Ipv4Fits(std::string_view value) {
    int parts = 0;
    while (true) {
        const std::size_t dot = value.find('.');
        const std::string_view part = value.substr(0, dot);
        long long number = 0;
        if (part.size() > 3 || !PlainNumber(part) || !ParseInteger(part, &number) || number > 255) {
            return false;
        }
        ++parts;
        if (dot == std::string_view::npos) break;
        value.remove_prefix(dot + 1);
    }
    return parts == 4;
}

bool HostNameFits(std::string_view value) {
    if (value.empty() || value.size() > 99) return false;
    bool hasLetter = false;
    while (true) {
        const std::size_t dot = value.find('.');
        const std::string_view label = value.substr(0, dot);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') {
            return false;
        }
        for (char c : label) {
            if (IsLetter(c)) {
                hasLetter = true;
            } else if (!IsDigit(c) && c != '-') {
                return false;
            }
        }
        if (dot == std::string_view::npos) break;
        value.remove_prefix(dot + 1);
    }
    // All-digit names are mistyped addresses ("1.2.3.999"), not names.
    return hasLetter;
}

bool IntegerFits(const ValueDomain& domain, std::string_view value) {
    std::string_view digits = value;
    if (!digits.empty() && digits.front() == '-') {
        if (domain.min >= 0) return false;
        digits.remove_prefix(1);
        if (digits == "0") return false;
    }
    long long number = 0;
    if (!PlainNumber(digits) || !ParseInteger(value, &number)) return false;
    return number >= domain.min && number <= domain.max;
}

bool ChoiceFits(std::string_view words, std::string_view value) {
    while (!words.empty()) {
        const std::size_t space = words.find(' ');
        if (words.substr(0, space) == value) return true;
        if (space == std::string_view::npos) break;
        words.remove_prefix(space + 1);
    }
    return false;
}

}  // namespace

bool ValueFits(const ValueDomain& domain, std::string_view value) {
    switch (domain.kind) {
        case ValueKind::Text:
            return TextFits(value, domain.maxLength);
        case ValueKind::Phone:
            return PhoneFits(value);
        case ValueKind::Host:
            return Ipv4Fits(value) || HostNameFits(value);
        case ValueKind::Ipv4:
            return Ipv4Fits(value);
        case ValueKind::Integer:
            return IntegerFits(domain, value);
        case ValueKind::Choice:
            return ChoiceFits(domain.choices, value);
        case ValueKind::HexWord:
            if (value.empty() || value.size() > 4) return false;
            for (char c : value) {
                if (!IsHexDigit(c)) return false;
            }
            return true;
        case ValueKind::ReadOnly:
            return false;
    }
    return false;
}

}  // namespace sim
