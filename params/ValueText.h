#pragma once
// Small readings of a parameter's value text shared by filling the form and writing it back.
//
// Threads: pure functions, any thread.
#include <string_view>

// The value read as the C library's atoi reads it: leading blanks skipped, an optional sign,
// the digits up to the first non-digit, 0 when there are none. Saturates at the int range
// instead of overflowing.
int LeadingNumber(std::string_view text);

// True when the text holds a byte that would end or split an AT command line on the unit:
// any control byte below 0x20 (CR, LF, NUL, tab included) or DEL (0x7F).
bool HoldsControlByte(std::string_view text);
