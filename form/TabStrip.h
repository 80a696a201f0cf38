#pragma once
// The tab strip above the form's pages: the buttons of the offered tabs in "HorizontalLayoutUI6",
// scrolled by "TabLeft" and "TabRight", and the pages of the tab layout "switch".
//
// Threads: UI thread only.
#include <string>
#include <string_view>

#include "form/TabTable.h"

class FormWindow;
class CPaintManagerUI;

inline constexpr int kStripRebuild = 0;
inline constexpr int kStripBack = 1;
inline constexpr int kStripForward = 2;

// Rebuilds the strip from the tab table and keeps the page shown while its tab is enabled,
// else selects the first enabled tab (mode 0), or
// scrolls it back (1) or forward (2); other modes and a skin without the strip do nothing.
void ScrollTabStrip(FormWindow& frame, int mode);
// The same on a paint manager and a tab table. UI thread.
void ScrollTabStrip(CPaintManagerUI& paintManager, const TabTable& tabs, int mode);

// Offers at most one module tab by the device type ("-L" LoRa, else "-Z" ZigBee, else
// "K3V61" GPS), then rebuilds the strip. UI thread.
void ApplyDeviceTypeTabs(FormWindow& frame, std::string_view deviceType);
void ApplyDeviceTypeTabs(CPaintManagerUI& paintManager, TabTable& tabs,
                         std::string_view deviceType);

// The option inside a tab button: its name less the trailing "Tab". Any thread.
std::string TabOptionName(std::string_view button);

// Shows text as the tab's caption, its button widened to show it whole (a count of pending edits
// behind the title) and narrowed back to the skin's width when it fits that. UI thread.
void SetTabCaption(CPaintManagerUI& paintManager, TabEntry& tab, const std::string& text);

// A tab's caption less the count of pending edits shown behind it ("Work mode (2)"). Any thread.
std::string TabTitleWithoutCount(const std::string& caption);

// True for the tab buttons of the optional modules, offered by the device type. Any thread.
bool IsModuleTab(std::string_view button);

// The page of a tab option: the index of the first entry whose button name contains the
// option's name, or -1 (also for an empty name). Any thread.
int TabIndexForOption(const TabTable& tabs, std::string_view option);
// Selects the page of a tab option in "switch"; false when there is none. UI thread.
bool SelectPageForOption(CPaintManagerUI& paintManager, const TabTable& tabs,
                         std::string_view option);
