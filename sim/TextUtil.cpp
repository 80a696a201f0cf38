#include "sim/TextUtil.h"

#include <limits>

namespace sim {

namespace {
char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
}  // namespace

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperAscii(c);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view needle) {
    if (needle.size() > text.size()) return std::string_view::npos;
    for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
        if (EqualsNoCase(text.substr(i, needle.size()), needle)) return i;
    }
    return std::string_view::npos;
}

bool ParseInteger(std::string_view text, long long* value) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 18) return false;
    long long result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + (c - '0');
    }
    *value = negative ? -result : result;
    return true;
}

bool ParseScaled(std::string_view text, long long scale, long long* value) {
    const std::size_t dot = text.find('.');
    std::string_view whole = text.substr(0, dot);
    std::string_view fraction = dot == std::string_view::npos ? "" : text.substr(dot + 1);
    if (whole.empty() && fraction.empty()) return false;
    if (dot != std::string_view::npos && fraction.empty()) return false;
    long long wholeValue = 0;
    if (!whole.empty() && (whole.front() == '-' || !ParseInteger(whole, &wholeValue))) {
        return false;
    }
    if (wholeValue > std::numeric_limits<long long>::max() / scale / 10) return false;
    long long result = wholeValue * scale;
    long long place = scale;
    for (char c : fraction) {
        if (c < '0' || c > '9') return false;
        place /= 10;
        result += (c - '0') * place;
    }
    *value = result;
    return true;
}

}  // namespace sim
