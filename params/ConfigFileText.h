#pragma once
// The .cfg file's bytes: the unit's listing as a Windows C library text-mode file stores it,
// which is how .cfg files have always been written, so files from Windows load unchanged.
#include <cstddef>
#include <string>
#include <string_view>

// The listing text is never longer than this once read back from a file.
inline constexpr std::size_t kConfigTextLimit = 8192;

// Returns the file bytes for a listing: every LF becomes CR LF, nothing else changes (so the
// listing's own CR LF is stored as CR CR LF). Pure; any thread.
std::string EncodeConfigText(std::string_view answer);

// Returns the listing held in file bytes: every CR LF becomes LF, a lone CR stays, a Ctrl-Z
// (byte 26) ends the text, and at most limit characters are returned. Pure; any thread.
std::string DecodeConfigText(std::string_view fileBytes, std::size_t limit = kConfigTextLimit);
