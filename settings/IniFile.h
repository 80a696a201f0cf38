#pragma once
// Reading and writing INI files ("config.ini", "Language.ini") by the rules of the Windows
// profile functions: [section] headers, key=value lines, names compared without regard to ASCII
// case, blanks around names and values dropped, ';' comment lines, the first matching section
// and key winning, a value in matching quotes losing them, CR LF or LF line ends.
//
// Named ini::GetString / ini::WriteString rather than after the Windows functions, whose names
// are macros in <windows.h>. Each call opens the file afresh; calls from several threads are safe
// as long as no two write the same file at once.
#include <cstddef>
#include <string>
#include <string_view>

namespace ini {

// Returns the value of key in [section] of the file at path, or def when the file, section or key
// is missing; at most bufferSize - 1 bytes of either (nothing for a buffer of 0 or 1 bytes).
std::string GetString(const std::string& section, const std::string& key, const std::string& def,
                      std::size_t bufferSize, const std::string& path);

// The same lookup in a file's content already read.
std::string GetStringFromText(std::string_view content, const std::string& section,
                              const std::string& key, const std::string& def,
                              std::size_t bufferSize);

// Sets key=value in [section] of the file at path, adding the file, section or key when missing
// and keeping every other line. The file is replaced at once (a temporary file next to it is
// renamed over it), so a failure leaves it as it was. Returns false on failure, or when a name
// is empty or holds a line end, ']' (section) or '=' (key), or the value holds a line end.
bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                 const std::string& path);

}  // namespace ini
