#pragma once
// Small byte-string helpers the unit's parts share. ASCII only: the unit's dialect is ASCII,
// values may carry other bytes but are never case-folded.
#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

// The text with ASCII letters made capitals.
std::string ToUpperAscii(std::string_view text);
// True when both texts are equal ignoring the case of ASCII letters.
bool EqualsNoCase(std::string_view a, std::string_view b);
// Position of the first occurrence of needle in text ignoring ASCII case, or npos.
std::size_t FindNoCase(std::string_view text, std::string_view needle);
// Parses a whole decimal number (optional leading '-'); false on anything else or overflow.
bool ParseInteger(std::string_view text, long long* value);
// Parses a non-negative decimal number with an optional fraction ("0.5"), scaled by `scale`
// and rounded down; false on anything else.
bool ParseScaled(std::string_view text, long long scale, long long* value);

}  // namespace sim
