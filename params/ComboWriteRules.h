#pragma once
// How the state of a drop-down list turns back into the unit's value: the inverse of the
// rules that picked the item when the unit was read. Each list follows the write rule of its
// row in ComboRules.h; a list without a row writes its selected position.
//
// Threads: any thread (reads labels from Language.ini).
#include <string>
#include <string_view>

// What a list's state writes.
struct ComboWrite {
    bool write = false;          // false: nothing for the list's own parameter
    std::string value;           // the value for the list's own parameter
    std::string_view sideEntry;  // a parameter that also receives sideValue; empty when none
    std::string_view sideValue;
};

// Returns what the list of the parameter `name` writes with item `index` selected (-1: none)
// whose text is `text`. The side entry is named even when the table may lack it; the caller
// looks it up.
ComboWrite DeriveComboWrite(std::string_view name, int index, std::string_view text);
