#pragma once
// The port list's own items below the ports: the entry that adds a port on a network serial
// server and, while any is listed, the one that removes one. What they do when picked is in
// NetworkPortEntry.h; this is only what the list shows, so the list's filling needs no more.
//
// Threads: UI thread only.
#include <string>
#include <vector>

class AppWindow;
class CComboUI;

// The labels' section of the entries and of what they ask and say.
inline constexpr const char* kNetworkPortSection = "NetworkPort";

// A label of that section ("AddEntry", "RemoveEntry", ...); "" when the skin has none.
std::string PortListLabel(const char* key);
// The frame's extra ports that are on a network server, in the list's order.
std::vector<std::string> ListedNetworkPorts(const AppWindow& frame);
// Whether the list has the entries (the skin names them).
bool HasPortListEntries();
// Appends the entries to a list just filled with the ports.
void AddPortListEntries(AppWindow& frame, CComboUI& combo);
// Whether an item's text is one of the entries rather than a port.
bool IsPortListEntry(const std::string& itemText);
