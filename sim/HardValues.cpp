#include "sim/HardValues.h"

namespace sim {

namespace {

// clang-format off
constexpr HardValue kHardValues[] = {
    // command              value                                    what the form lacks
    {"AT+DIOINTFACE1",      "RS232"},                                // an item of a text list
    {"AT+MANAPRO",          "1"},                                    // the same, a number
    {"AT+DEBUG",            "7"},                                    // past a list's items
    {"AT+DIOWORKMODE1",     "5"},                                    // shown as "Off", written 0
    {"AT+DIOHIGHINFO1",     "\xB8\xDF\xB5\xE7\xC6\xBD"},             // GBK "高电平"
    {"AT+DIOLOWINFO1",      "\xB5\xCD\xB5\xE7\xC6\xBD"},             // GBK "低电平"
    {"AT+APN",              "\xD2\xC6\xB6\xAF"},                     // GBK "移动"
};
// clang-format on

}  // namespace

std::span<const HardValue> HardValues() {
    return kHardValues;
}

}  // namespace sim
