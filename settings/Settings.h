#pragma once
// The program's settings: "config.ini" with [Set] Language, and the skin folder it selects.
#include <string>

// "config.ini" in the executable's folder when that folder is writable and not an installed
// program's (see IsInstalledLayout), otherwise in the user's configuration folder
// (sys::UserFolder: $XDG_CONFIG_HOME/dtuconfig/, %APPDATA%\dtuconfig\); "" with the reason in
// *why when there is none.
std::string ConfigIniPath(const std::string& instancePath, std::string* why = nullptr);

// True when the executable's folder (ending in a slash) holds no skins of its own but
// ../share/dtuconfig/ beside it does: an installed program, whose folder is never written.
bool IsInstalledLayout(const std::string& instancePath);
// Where the skins and help live: the executable's folder in a build folder, the installed
// ../share/dtuconfig/ otherwise. Ends in a slash.
std::string DataFolder(const std::string& instancePath);
// The folder for the engineer's backups and logs (sys::UserFolder: $XDG_DATA_HOME/dtuconfig/,
// %LOCALAPPDATA%\dtuconfig\), created when missing; "" when there is none or it cannot be.
std::string UserDataFolder();

// [Set] Language read as at most 19 characters and converted like atoi: 0 when missing or
// not a number.
int ReadLanguageSetting(const std::string& configPath);
// Writes [Set] Language as "%d"; false when the file cannot be written.
bool WriteLanguageSetting(const std::string& configPath, int language);

// [Port] ReopenLostPort: whether a port lost while open is reopened when its adapter comes
// back; on unless the file says 0.
bool ReadReopenSetting(const std::string& configPath);

// [Folders] <kind>: the folder the last file dialog of that kind chose a file in; "" when none
// is stored. Each kind of dialog ("LoadCfg", "SaveCfg", "Other") remembers its own.
std::string ReadDialogFolder(const std::string& configPath, const std::string& kind);
// Stores it; false when the file cannot be written or the folder holds a line end.
bool WriteDialogFolder(const std::string& configPath, const std::string& kind,
                       const std::string& folder);

// The skin folder for a language: "skin/ConifgENRes" for 0, "skin/ConifgRes" otherwise,
// inside the data folder (which ends in a slash).
std::string SkinFolder(const std::string& dataFolder, int language);
// The label file inside a skin folder.
std::string LabelFileIn(const std::string& skinFolder);

// The start-up both the window and the command line share: finds the executable's folder and
// the data folder, reads the language from config.ini, makes its skin folder the resource
// path and its
// Language.ini the label file. Returns the language. UI thread, before any frame exists.
int SetUpSkinAndLabels();
