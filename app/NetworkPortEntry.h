#pragma once
// The port list's own entries below the ports: one that adds a port on a network serial server
// (asked for, checked, listed, chosen and remembered in config.ini) and, while any is listed,
// one that removes such a port from the list again.
//
// Threads: UI thread only.
#include <string>

class AppWindow;

// Puts the network ports the settings file remembers among the frame's extra ports, after
// those given; before the window is created, as the program starts.
void LoadRememberedNetworkPorts(AppWindow& frame, const std::string& configPath);
// Selects the list's first port; an entry is never picked for the engineer.
void SelectFirstPort(AppWindow& frame);
// After a pick in the list: an entry picked is run (the pick given back to the port chosen
// before when nothing is added) and true returned; a port picked is remembered as the one
// chosen, and false returned.
bool TakePortListEntry(AppWindow& frame);
