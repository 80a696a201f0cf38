#pragma once
// The files "provision" works from, checked before any unit is touched: the template (a .cfg
// listing) and the units' CSV, whose first column is the key that picks a unit's row ("port",
// or a parameter the unit reports, such as "Modem'sID number") and whose other columns are
// control names with the unit's own values. An empty cell leaves the template's value.
//
// Threads: the main (UI) thread.
#include <string>
#include <vector>

#include "cli/CliOptions.h"

class FormWindow;

inline constexpr const char* kPortKey = "port";

struct UnitsFile {
    std::vector<std::string> columns;            // the header; columns[0] is the key
    std::vector<std::vector<std::string>> rows;  // each as wide as the header
};

struct ProvisionFiles {
    std::string templateListing;  // the template's listing, as a unit sends it
    UnitsFile units;              // no columns without --units
};

// Splits CSV text (quotes as RFC 4180 has them, CR LF or LF line ends, blank lines skipped)
// into rows of fields; false with *error when a quote is left open.
bool ParseCsv(const std::string& text, std::vector<std::vector<std::string>>* rows,
              std::string* error);

// Reads and checks the template and the units' file of the options; returns every problem
// found (empty: both are fine) and fills *files.
std::vector<std::string> ReadProvisionFiles(const CliOptions& options, ProvisionFiles* files);

// Shows each of the file's values in its control on the frame and lists the ones the form
// would not write back as given.
std::vector<std::string> CheckValuesShown(FormWindow& frame, const UnitsFile& units);

// The row whose key is `key`; -1 when none.
int FindUnitRow(const UnitsFile& units, const std::string& key);

// The row's values as NAME=VALUE, the key and empty cells left out.
std::vector<Assignment> RowAssignments(const UnitsFile& units, int row);
