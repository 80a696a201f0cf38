#pragma once
// The line settings of a port and the configuration text they travel in: the text is built from
// the numbers the user picked and then read back field by field, so a bad pick (a parity letter
// the line does not know, 9 data bits, 0 stop bits) is caught in one place whatever the platform.
#include <string>
#include <string_view>

namespace serial {

enum class StopBits { One, OnePointFive, Two };

struct CommSettings {
    unsigned baud = 9600;
    char parity = 'N';  // N none, E even, O odd, M mark, S space (always upper case here)
    unsigned dataBits = 8;
    StopBits stopBits = StopBits::One;

    friend bool operator==(const CommSettings&, const CommSettings&) = default;
};

// The configuration text "baud=%d parity=%c data=%d stop=%d" for the four numbers. Any thread.
std::string BuildConfigText(unsigned baud, char parity, unsigned dataBits, unsigned stopBits);

// Reads a configuration text of space-separated key=value fields (baud, parity, data, stop; keys
// and letters in any case) into settings, changing only the fields the text names. Returns false,
// leaving settings untouched, on an unknown key, a missing or malformed value, baud 0, a parity
// other than N E O M S, data bits outside 5 to 8 or stop bits other than 1, 1.5 and 2. Any thread.
bool ParseConfigText(std::string_view text, CommSettings& settings);

// False for combinations no UART produces: 1.5 stop bits need 5 data bits, and 2 stop bits
// cannot go with 5 (the line would send 1.5). Any thread.
bool IsSupportedFrame(const CommSettings& settings);

}  // namespace serial
