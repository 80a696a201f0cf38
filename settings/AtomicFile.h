#pragma once
// Replacing a file's contents as a whole or not at all: the bytes go to a new file beside the
// old one, are flushed to the disk, and only then renamed over it. A failure on the way (the
// folder missing, the disk full, a size limit, a folder in the way) removes the new file and
// leaves the old one exactly as it was.
//
// Threads: any thread; concurrent replaces of one path leave one of the contents whole.
#include <string>
#include <string_view>

// Writes bytes to path, replacing an existing file (its permissions are kept; a symbolic link
// is followed, so the file it points to is replaced). Returns false with the reason in error.
bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* error);
