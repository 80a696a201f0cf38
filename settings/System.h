#pragma once
// What the program asks of the system it runs on, in one place: its own path, the folders
// where a user's settings and data go, whether a folder may be written, and the user's name.
// One implementation file per system (settings/posix/System.cpp, settings/win32/System.cpp).
//
// Threads: any; nothing is cached.
#include <string>

namespace sys {

// The running executable's full path; "" when the system does not tell.
std::string ProgramPath();
// The folder of the running executable, ending in '/'; "" when unknown.
std::string ProgramFolder();

enum class UserFolderKind { Config, Data };

// The program's folder for this user's files of that kind, ending in '/', made when missing:
// Config $XDG_CONFIG_HOME/dtuconfig (~/.config/dtuconfig) or %APPDATA%\dtuconfig, Data
// $XDG_DATA_HOME/dtuconfig (~/.local/share/dtuconfig) or %LOCALAPPDATA%\dtuconfig. The same
// rule for both: a variable counts only when it holds an absolute path, and without one (a
// service with HOME unset) there is no such folder: "" with the reason in *why.
std::string UserFolder(UserFolderKind kind, std::string* why = nullptr);
// The same folder's path without making it; "" with the reason when there is none.
std::string UserFolderPath(UserFolderKind kind, std::string* why = nullptr);

// True when this process may create files in the folder.
bool FolderWritable(const std::string& folder);

// The name of the user the program runs as ("$USER" when the system has none to give).
std::string UserName();

// The most memory the process has held resident so far, in KiB (for the benchmarks).
long PeakMemoryKb();

}  // namespace sys
