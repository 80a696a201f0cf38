#pragma once
// How the unit's text is judged: the final result codes stand on lines of their own, the
// other markers are searched anywhere in what has been received since the job started.
//
// Threads: pure functions, any thread.
#include <string_view>

#include "params/Listing.h"

// The markers the unit's texts are recognised by, letter for letter.
inline constexpr std::string_view kLoginGreeting = "enter setting!";
inline constexpr std::string_view kCommandList = "AT+LIST";
inline constexpr std::string_view kSettingTimeout = "Seting Timeout and quit";
inline constexpr std::string_view kPromptMarker = "'s' key";

// True when "OK" stands on a line of its own: at the start of the text or right after "\n",
// and followed by "\r\n". The letters inside a value ("BOOK") do not count.
bool HasOkLine(std::string_view text);
// True when "ERROR" stands on a line of its own, or a complete line starts with "+CME ERROR:"
// or "+CMS ERROR:".
bool HasErrorLine(std::string_view text);
// True when marker occurs anywhere in text.
bool HasMarker(std::string_view text, std::string_view marker);
