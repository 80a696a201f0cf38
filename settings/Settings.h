#pragma once
// The program's settings: "config.ini" with [Set] Language, and the skin folder it selects.
#include <string>

// "config.ini" in the executable's folder when that folder is writable, otherwise in
// $XDG_CONFIG_HOME/dtuconfig/ (~/.config/dtuconfig/).
std::string ConfigIniPath(const std::string& instancePath);

// [Set] Language read as at most 19 characters and converted like atoi: 0 when missing or
// not a number.
int ReadLanguageSetting(const std::string& configPath);
// Writes [Set] Language as "%d"; false when the file cannot be written.
bool WriteLanguageSetting(const std::string& configPath, int language);

// [Port] ReopenLostPort: whether a port lost while open is reopened when its adapter comes
// back; on unless the file says 0.
bool ReadReopenSetting(const std::string& configPath);

// The skin folder for a language: "skin/ConifgENRes" for 0, "skin/ConifgRes" otherwise,
// inside the instance path (which ends in a slash).
std::string SkinFolder(const std::string& instancePath, int language);
// The label file inside a skin folder.
std::string LabelFileIn(const std::string& skinFolder);

// The start-up both the window and the command line share: finds the executable's folder,
// reads the language from config.ini, makes its skin folder the resource path and its
// Language.ini the label file. Returns the language. UI thread, before any frame exists.
int SetUpSkinAndLabels();
