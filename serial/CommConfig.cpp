#include "serial/CommConfig.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace serial {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// A whole decimal number without sign, or false.
bool ParseUnsigned(std::string_view text, unsigned* value) {
    if (text.empty()) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseField(std::string_view key, std::string_view value, CommSettings& s) {
    if (EqualsNoCase(key, "baud")) {
        unsigned baud = 0;
        if (!ParseUnsigned(value, &baud) || baud == 0) return false;
        s.baud = baud;
        return true;
    }
    if (EqualsNoCase(key, "parity")) {
        if (value.size() != 1) return false;
        char p = static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
        if (std::string_view("NEOMS").find(p) == std::string_view::npos) return false;
        s.parity = p;
        return true;
    }
    if (EqualsNoCase(key, "data")) {
        unsigned bits = 0;
        if (!ParseUnsigned(value, &bits) || bits < 5 || bits > 8) return false;
        s.dataBits = bits;
        return true;
    }
    if (EqualsNoCase(key, "stop")) {
        if (value == "1") {
            s.stopBits = StopBits::One;
        } else if (value == "1.5") {
            s.stopBits = StopBits::OnePointFive;
        } else if (value == "2") {
            s.stopBits = StopBits::Two;
        } else {
            return false;
        }
        return true;
    }
    return false;
}

}  // namespace

std::string BuildConfigText(unsigned baud, char parity, unsigned dataBits, unsigned stopBits) {
    // Sized by a first dry run, so no number can overflow the text.
    const char* format = "baud=%d parity=%c data=%d stop=%d";
    int length = std::snprintf(nullptr, 0, format, static_cast<int>(baud), parity,
                               static_cast<int>(dataBits), static_cast<int>(stopBits));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, static_cast<int>(baud), parity,
                  static_cast<int>(dataBits), static_cast<int>(stopBits));
    // A NUL parity character ends the text there, as it would for the C string it stands for.
    text.resize(text.find('\0'));
    return text;
}

bool ParseConfigText(std::string_view text, CommSettings& settings) {
    CommSettings parsed = settings;
    bool any = false;
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ' || text[pos] == '\t') {
            ++pos;
            continue;
        }
        size_t end = text.find_first_of(" \t", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view field = text.substr(pos, end - pos);
        size_t eq = field.find('=');
        if (eq == std::string_view::npos) return false;
        if (!ParseField(field.substr(0, eq), field.substr(eq + 1), parsed)) return false;
        any = true;
        pos = end;
    }
    if (!any) return false;
    settings = parsed;
    return true;
}

bool IsSupportedFrame(const CommSettings& s) {
    if (s.stopBits == StopBits::OnePointFive) return s.dataBits == 5;
    if (s.stopBits == StopBits::Two) return s.dataBits != 5;
    return true;
}

}  // namespace serial
