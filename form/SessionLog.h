#pragma once
// The session log: every text the log view showed since start or the last Clear (kept when the
// view empties itself at its limit), and Save log, which writes it with the secrets masked.
//
// Threads: UI thread only.
#include <string>
#include <string_view>

class FormWindow;

// Adds the text as shown to the log; past its limit the oldest lines go first.
void RecordSessionLog(std::string& log, std::string_view shown);

// Asks for a file and writes the session log into it as a whole, secret values masked; logs
// where it went, or shows why it could not be written.
void SaveSessionLog(FormWindow& frame);
