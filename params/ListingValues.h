#pragma once
// What a listing holds, as values by parameter, and how two listings differ: the backups'
// history and "diff A B" compare the unit's own values without a form in between.
//
// Threads: pure functions on their arguments; any thread.
#include <map>
#include <string>
#include <vector>

// One parameter two listings give different values.
struct ValueDifference {
    std::string name;
    std::string before;  // in the first listing
    std::string after;   // in the second
};

// The values the listing gives, by control name. Parameters the unit lists under one label
// (the three transfer-channel masks, a DIO work mode and its I/O mode) appear once, under the
// first name in key order.
std::map<std::string, std::string> ListingValues(const std::string& listing);

// The parameters both listings give and give differently, in key order.
std::vector<ValueDifference> DifferingValues(const std::string& before, const std::string& after);

// The unit a listing comes from, as a folder name: its device type and Modem's ID number
// joined by "_" (so never "." or ".."), every byte but letters, digits, "-" and "." made "_",
// at most 100 bytes; "unknown" when the listing names neither.
std::string UnitNameOfListing(const std::string& listing);
