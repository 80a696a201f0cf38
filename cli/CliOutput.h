#pragma once
// What the command line prints on stdout: parameters as "name<TAB>value" lines or one JSON
// object, and one line per write. Text is UTF-8; the unit's bytes that are not valid UTF-8
// are decoded as GBK, the units' code page.
//
// Threads: the main (UI) thread.
#include <string>
#include <string_view>

class ParameterTable;

// The unit's bytes as UTF-8 text.
std::string UnitText(std::string_view bytes);

// The parameters the listing gives a value (parsed into a fresh table), in key order: one
// JSON object of control name to value, or "name<TAB>value" lines; a password is masked.
// Returns how many there were (0: the text is not a listing).
std::string FormatListing(const std::string& listing, bool json, int* count);

// "name<TAB>old<TAB>new", then "<TAB>result" when result is not empty; a password's values
// are masked.
std::string FormatWrite(std::string_view name, std::string_view oldValue, std::string_view newValue,
                        std::string_view result);

// Writes a line (a newline is added) to stdout now, clearing a progress line on stderr first.
void PrintLine(const std::string& line);
// Writes text to stdout as it is.
void PrintText(const std::string& text);
// Writes "dtuconfig: message" to stderr, clearing a progress line first: something went
// wrong, and the first such message is why (FirstProblem).
void PrintMessage(const std::string& message);
// Writes a notice the same way: information (where a backup went), no problem.
void PrintNotice(const std::string& message);
// The first message PrintMessage wrote in this process; "" before one.
const std::string& FirstProblem();

// Whether progress is shown: only when stderr is a terminal.
bool ProgressWanted();
// Shows text as the progress line on stderr (replacing the previous one).
void ShowProgress(const std::string& text);
// Ends the progress line, if one is shown.
void ClearProgress();
