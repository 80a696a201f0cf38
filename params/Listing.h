#pragma once
// The unit's parameter listing as the program meets it, on the line and in .cfg files: the one
// command that asks for it, the label it starts with, the length below which an answer is not
// a listing, and the receive buffer that holds the longest one.
//
// Threads: constants, any thread.
#include <string_view>

inline constexpr const char* kListingCommand = "\r\nAT+SHOW\r\n";
// Readers ignore everything before it: a listing starts here.
inline constexpr std::string_view kListingAnchor = "Access Point Name:";
// An answer of this many characters or fewer is no listing (an error, a cut-off line).
inline constexpr int kListingMinimum = 3000;
// The receive buffer: at most kRxCapacity characters and a terminating zero. The longest
// listing, every value at the 99 characters a unit keeps, is about 19.5 KB: it fits whole.
inline constexpr int kRxBufferSize = 32768;
inline constexpr int kRxCapacity = kRxBufferSize - 1;
