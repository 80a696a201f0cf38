#pragma once
// What "provision" records of one unit: who it is, what it held before and after, each write
// and its outcome, and whether the read-back confirmed them; written as one JSON file.
//
// Threads: the main (UI) thread.
#include <map>
#include <string>
#include <vector>

struct WriteRecord {
    std::string name;
    std::string oldValue;
    std::string newValue;
    std::string outcome;  // "OK", "ERROR", "UNKNOWN", "NOT SENT"; "NOT KEPT" after the read-back
};

struct UnitReport {
    std::string port;
    int sequence = 1;
    std::string deviceType;
    std::string modemId;
    std::map<std::string, std::string> before;  // the unit's listing before the writes
    std::map<std::string, std::string> after;   // the read-back's listing (before, without one)
    std::vector<WriteRecord> writes;
    // "verified" (every write found kept), "nothing to write", "not kept", "not read back",
    // "not written"
    std::string readBack = "not written";
    bool configured = false;
    std::vector<std::string> problems;
};

// The values of every parameter the listing reports, by control name.
std::map<std::string, std::string> ListingValues(const char* listing, int length);

// The unit's files' name without its ending: the port's last path part and the unit's number.
std::string UnitFileStem(const std::string& port, int sequence);
// The report's file name in its folder: the stem and ".json".
std::string ReportFileName(const std::string& port, int sequence);

// Writes the report as JSON (texts as UTF-8); false with *error when the file cannot be written.
bool WriteUnitReport(const std::string& path, const UnitReport& report, std::string* error);
