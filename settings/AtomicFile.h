#pragma once
// Replacing a file's contents as a whole or not at all: the bytes go to a new file beside the
// old one, are flushed to the disk, and only then renamed over it. A failure on the way (the
// folder missing, the disk full, a size limit, a folder in the way) removes the new file and
// leaves the old one exactly as it was.
//
// Threads: any thread; concurrent replaces of one path leave one of the contents whole.
#include <cstdio>
#include <string>
#include <string_view>

// Who may read the file written: anyone the umask lets (an existing file's permissions are
// kept), or its owner alone (mode 0600, also over an existing file): logs, reports and backups
// hold a unit's settings.
enum class FileAccess { Usual, OwnerOnly };

// Writes bytes to path, replacing an existing file (a symbolic link is followed, so the file
// it points to is replaced). Returns false with the reason in error.
bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* error,
                         FileAccess access = FileAccess::Usual);

// Writes bytes to a new file at path, whole or not at all, and never over another: when the
// name is taken (by another process too), returns false with *taken set and leaves that file
// alone. Returns false with the reason in error on any other failure.
bool CreateFileContents(const std::string& path, std::string_view bytes, FileAccess access,
                        bool* taken, std::string* error);

// Creates or truncates path for writing as it goes (a log), readable by its owner alone, also
// when it was there before; null with the system's reason in error.
std::FILE* OpenOwnerOnlyFile(const std::string& path, std::string* error);
