#pragma once
// The eleven tab buttons of the form and whether each is offered. The index is the page
// index of the tab layout "switch" and the tab of a parameter.
//
// Threads: UI thread only.
#include <array>
#include <string>

struct TabEntry {
    std::string name;  // the tab button's control name
    bool enabled = true;
    int skinWidth = 0;  // its button's width in the skin, once its caption was fitted (TabStrip.h)
};

inline constexpr int kTabCount = 11;
inline constexpr std::array<const char*, kTabCount> kTabButtonNames = {
    "WorkModeTab", "ServerTab", "SerialTab", "IOTab",  "WirelessTab",  "GlobalTab",
    "EquimentTab", "LoraTab",   "ZigbeeTab", "GPSTab", "OperationTab",
};

using TabTable = std::array<TabEntry, kTabCount>;

// Names every entry and enables it, as window initialisation does.
inline void ResetTabTable(TabTable& tabs) {
    for (int i = 0; i < kTabCount; ++i)
        tabs[static_cast<std::size_t>(i)] = {kTabButtonNames[static_cast<std::size_t>(i)], true, 0};
}

// True when tab is 0..10 and that entry is enabled; any other tab never counts as enabled.
inline bool IsTabEnabled(const TabTable& tabs, int tab) {
    return tab >= 0 && tab < kTabCount && tabs[static_cast<std::size_t>(tab)].enabled;
}
