#pragma once
// Reading a .cfg file from disk: the file's listing as LoadFromFile takes it, whatever the
// caller (the window, the command line, the backup history) does with it next.
//
// Threads: any.
#include <string>

#include "params/ListingCheck.h"
#include "ui/StdString.h"

// Reads a .cfg file as LoadFromFile does (any line ends read as the listing's CR LF, at most the
// longest listing) and checks it whole (ListingCheck.h); false when the file cannot be opened
// or read.
bool ReadConfigFile(const CStdString& path, ListingCheck* check);
// ReadConfigFile's listing alone, whatever the check found.
bool ReadConfigListing(const CStdString& path, std::string* listing);
