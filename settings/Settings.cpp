#include "settings/Settings.h"

#include <cstdlib>
#include <filesystem>

#include "settings/IniFile.h"
#include "settings/Labels.h"
#include "settings/System.h"
#include "ui/PaintManager.h"

namespace {
// The setting is read through a 20-byte buffer: at most 19 characters.
constexpr std::size_t kLanguageBufferBytes = 20;
// A folder as long as the systems' own path limits allow.
constexpr std::size_t kFolderBufferBytes = 4097;
// The installed data, relative to the executable's folder (/usr/bin/ -> /usr/share/dtuconfig/).
constexpr const char* kInstalledData = "../share/dtuconfig/";

bool HoldsSkins(const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder + "skin", ec);
}

}  // namespace

bool IsInstalledLayout(const std::string& instancePath) {
    return !instancePath.empty() && !HoldsSkins(instancePath) &&
           HoldsSkins(instancePath + kInstalledData);
}

std::string DataFolder(const std::string& instancePath) {
    if (!IsInstalledLayout(instancePath)) return instancePath;
    std::error_code ec;
    const auto tidy = std::filesystem::weakly_canonical(instancePath + kInstalledData, ec);
    return ec ? instancePath + kInstalledData : tidy.string() + "/";
}

std::string ConfigIniPath(const std::string& instancePath, std::string* why) {
    if (!instancePath.empty() && !IsInstalledLayout(instancePath) &&
        sys::FolderWritable(instancePath)) {
        return instancePath + "config.ini";
    }
    const std::string folder = sys::UserFolder(sys::UserFolderKind::Config, why);
    return folder.empty() ? std::string() : folder + "config.ini";
}

std::string UserDataFolder() {
    return sys::UserFolder(sys::UserFolderKind::Data);
}

int ReadLanguageSetting(const std::string& configPath) {
    std::string text = ini::GetString("Set", "Language", "", kLanguageBufferBytes, configPath);
    return std::atoi(text.c_str());
}

bool WriteLanguageSetting(const std::string& configPath, int language) {
    return ini::WriteString("Set", "Language", std::to_string(language), configPath);
}

bool ReadReopenSetting(const std::string& configPath) {
    std::string text =
        ini::GetString("Port", "ReopenLostPort", "1", kLanguageBufferBytes, configPath);
    return std::atoi(text.c_str()) != 0;
}

std::string ReadDialogFolder(const std::string& configPath, const std::string& kind) {
    return ini::GetString("Folders", kind, "", kFolderBufferBytes, configPath);
}

bool WriteDialogFolder(const std::string& configPath, const std::string& kind,
                       const std::string& folder) {
    return ini::WriteString("Folders", kind, folder, configPath);
}

std::string SkinFolder(const std::string& dataFolder, int language) {
    return dataFolder + (language == 0 ? "skin/ConifgENRes" : "skin/ConifgRes");
}

std::string LabelFileIn(const std::string& skinFolder) {
    return skinFolder + "/Language.ini";
}

int SetUpSkinAndLabels() {
    CPaintManagerUI::SetInstancePath(sys::ProgramFolder());
    const std::string instance = CPaintManagerUI::GetInstancePath().str();
    const int language = ReadLanguageSetting(ConfigIniPath(instance));
    const std::string skin = SkinFolder(DataFolder(instance), language);
    CPaintManagerUI::SetResourcePath(skin);
    SetLabelFilePath(LabelFileIn(skin));
    return language;
}
