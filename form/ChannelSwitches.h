#pragma once
// The transfer-channel switches ("Lora2COM", "COM2GPRS", ...): each transfer-channel entry is one
// AT+ZDATCHAN bit mask shown as a row of on/off switches, one switch per direction of transfer.
// A switch is on while its background image name holds "enable" and off while it holds
// "disable".
//
// Threads: the tables and FindChannelEntry any thread; the switches UI thread only.
#include <span>
#include <string_view>

class CPaintManagerUI;

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

// True when the control exists and its image name contains "enable". UI thread.
bool IsSwitchOn(CPaintManagerUI& paintManager, std::string_view name);
// Turns the switch on or off by swapping "disable" and "enable" in its image name; a missing
// control is skipped. UI thread.
void SetSwitch(CPaintManagerUI& paintManager, std::string_view name, bool on);
