#pragma once
// The transfer-channel switches ("Lora2COM", "COM2GPRS", ...): a switch is on while its
// background image name holds "enable" and off while it holds "disable".
//
// Threads: UI thread only.
#include <string_view>

class CPaintManagerUI;

// True when the control exists and its image name contains "enable". UI thread.
bool IsSwitchOn(CPaintManagerUI& paintManager, std::string_view name);
// Turns the switch on or off by swapping "disable" and "enable" in its image name; a missing
// control is skipped. UI thread.
void SetSwitch(CPaintManagerUI& paintManager, std::string_view name, bool on);
