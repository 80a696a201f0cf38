#pragma once
// Labels: every text the program logs or shows comes from the skin folder's Language.ini,
// looked up by section and key on each call, so an edited file takes effect at once.
//
// Threads: LabelText and SetLabelFilePath from any thread; the path is normally set once at
// start-up, before the worker starts.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "ui/StdString.h"

// The label file every lookup reads.
void SetLabelFilePath(const std::string& path);
std::string LabelFilePath();

// The value of key in section (at most 199 bytes, cut before a character that does not fit;
// empty when missing) followed by suffix.
CStdString LabelText(const char* section, const char* key, const char* suffix = nullptr);

// A label with its "{name}" marks replaced by the values given (every occurrence; marks
// without a value stay as they are).
using LabelValues = std::initializer_list<std::pair<std::string_view, std::string>>;
std::string FilledLabel(const char* section, const char* key, LabelValues values);

// A label with "{count}" filled in: for a count of one the key with "One" behind it where the
// file has it ("1 change pending", never "1 changes pending"), else the key itself.
std::string CountLabel(const char* section, const char* key, int count);

// The program's title in the window's language ([Program] Title), which its message boxes
// carry; "DTU" when the label file has none.
CStdString ProgramTitle();
