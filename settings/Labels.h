#pragma once
// Labels: every text the program logs or shows comes from the skin folder's Language.ini,
// looked up by section and key on each call, so an edited file takes effect at once.
//
// Threads: LabelText and SetLabelFilePath from any thread; the path is normally set once at
// start-up, before the worker starts.
#include <string>

#include "ui/StdString.h"

// The label file every lookup reads.
void SetLabelFilePath(const std::string& path);
std::string LabelFilePath();

// The value of key in section (at most 199 bytes, cut before a character that does not fit;
// empty when missing) followed by suffix.
CStdString LabelText(const char* section, const char* key, const char* suffix = nullptr);
