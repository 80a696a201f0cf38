#pragma once
// How a value read from the unit picks the item of its drop-down list. Each list follows the
// read rule of its row in ComboRules.h; a list without a row takes its value as the item's
// position.
//
// Threads: UI thread (reads the list's items).
#include <string_view>

class CComboUI;
class ParameterTable;

// What a value does to its list.
struct ItemChoice {
    bool change = false;  // false: the list keeps its selection
    int item = -1;        // the item to select; -1 selects none
    bool clears = false;  // the unit's own word for "none" (-1), not a value out of reach
};

// Returns the item the value of the parameter `name` selects in `combo`. The table is read for
// the lists derived from other parameters ("I/O selection").
ItemChoice ChooseItem(std::string_view name, std::string_view value, const CComboUI& combo,
                      const ParameterTable& table);
