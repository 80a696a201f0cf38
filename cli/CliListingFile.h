#pragma once
// A .cfg file (or a backup named by its id) as the command line reads it: checked whole before
// anything of it is used. What refuses it is printed and ends the command with status 4; a
// file without the listing's closing OK is read as far as it goes, with a warning that says
// how many values it holds.
//
// Threads: the main (UI) thread.
#include <string>

// Reads the file at `path` (named `shown` in messages) into `listing`; false when it cannot be
// read or is refused, the reason printed.
bool ReadCheckedListing(const std::string& path, const std::string& shown, std::string* listing);
