#pragma once
// The transfer-channel entries: each is one AT+ZDATCHAN bit mask shown as a row of on/off
// switches, one switch per direction of transfer.
//
// Threads: constant data, any thread.
#include <span>
#include <string_view>

struct ChannelSwitch {
    std::string_view name;  // the switch control
    int bit;                // its bit in the mask
};

struct ChannelEntry {
    std::string_view entry;  // the parameter
    std::span<const ChannelSwitch> switches;
    int keptBits;  // bits of the stored value a write carries over unchanged
};

// clang-format off
inline constexpr ChannelSwitch kLoraSwitches[] = {
    {"Lora2COM", 1}, {"COM2Lora", 2}, {"Lora2GPRS", 16}, {"GPRS2Lora", 32},
};
inline constexpr ChannelSwitch kZigbeeSwitches[] = {
    {"Zigbee2COM", 1}, {"COM2Zigbee", 2}, {"Zigbee2GPRS", 16}, {"GPRS2Zigbee", 32},
};
inline constexpr ChannelSwitch kGpsSwitches[] = {
    {"GPS2COM", 1}, {"COM2GPS", 2}, {"GPS2GPRS", 16}, {"GPRS2GPS", 32},
    {"GPRS2COM", 4}, {"COM2GPRS", 8},
};

// The LoRa and ZigBee masks keep bits 2, 3, 6 and 7, which have no switch on their tabs.
inline constexpr ChannelEntry kChannelEntries[] = {
    // entry                    switches          kept bits
    {"EL transmit channel",   kLoraSwitches,    204},
    {"EL transmit channel_Z", kZigbeeSwitches,  204},
    {"EL transmit channel_G", kGpsSwitches,     0},
};
// clang-format on

// The row of a transfer-channel entry, or null for any other name.
inline const ChannelEntry* FindChannelEntry(std::string_view name) {
    for (const ChannelEntry& row : kChannelEntries) {
        if (row.entry == name) return &row;
    }
    return nullptr;
}
