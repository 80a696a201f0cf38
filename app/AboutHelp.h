#pragma once
// The program's own texts (version, date, help) and the language switch.
//
// Threads: UI thread only.
#include <functional>
#include <string>
#include <vector>

#include "ui/Types.h"

class AppWindow;

// The version the unit-facing texts have always carried.
inline constexpr const char* kProgramVersion = "V1.5.0";
// The program's own release, from the build; shown beside the unit-facing one.
inline constexpr const char* kPackageVersion = DTU_PACKAGE_VERSION;
inline constexpr int kProgramYear = 2018;
inline constexpr int kProgramMonth = 3;
inline constexpr int kProgramDay = 6;
// The help text is read up to this many bytes.
inline constexpr int kHelpTextLimit = 9999;

// Appends "Help.txt" to "HelpRichEdit" (the [InitValue] Text label when there is none), sets
// "Ver" (with the program's release beside it) and "VerDown", hides "Logo_Container".
// Returns 0.
LRESULT ShowAboutAndHelp(AppWindow& frame);

// Handler of 2132: stores the "Language" pick in config.ini and restarts the program in it,
// once pending edits may go and the line is wound down (Leave.h); a pick the engineer takes
// back selects the language shown again. Returns 0 without a "Language" combo, 1 otherwise.
LRESULT SwitchLanguage(AppWindow& frame);

// Starts the program anew: executable path and arguments; false when it could not start.
// Tests replace it; null restores the real one.
using Restarter = std::function<bool(const std::string& exe, const std::vector<std::string>&)>;
void SetRestarter(Restarter restarter);
