#pragma once
// Taking the unit's values out of its AT+SHOW listing.
#include <cstddef>
#include <string_view>

#include "params/Listing.h"
#include "params/ParameterTable.h"

// The listing is parsed from the anchor on, at most this many characters of it: as many as the
// receive buffer holds, so no listing is ever cut short on its way into the table.
inline constexpr std::size_t kWorkCopyChars = static_cast<std::size_t>(kRxCapacity);
// A value longer than this is ignored and the entry keeps the value it had.
inline constexpr std::size_t kMaxValueChars = 99;

// Stores in every entry the value that follows its response label in answer[0, length); entries
// whose label or line end is missing, or whose value is too long, keep theirs. An answer without
// the anchor, or with length <= 0, changes nothing. The text ends at its first zero byte, as the
// receive buffer is a C string. Runs on the thread that owns the table at the time (the UI
// thread, or the worker after a read-for-apply answer).
void ParseDeviceAnswer(ParameterTable& table, const char* answer, int length);
