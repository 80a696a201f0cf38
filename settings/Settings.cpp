#include "settings/Settings.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "settings/IniFile.h"
#include "settings/Labels.h"
#include "ui/PaintManager.h"

namespace {
// The setting is read through a 20-byte buffer: at most 19 characters.
constexpr std::size_t kLanguageBufferBytes = 20;
}  // namespace

std::string ConfigIniPath(const std::string& instancePath) {
    if (!instancePath.empty() && access(instancePath.c_str(), W_OK) == 0) {
        return instancePath + "config.ini";
    }
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.config";
    } else {
        base = "/tmp";
    }
    std::error_code ec;
    std::filesystem::create_directories(base + "/dtuconfig", ec);
    return base + "/dtuconfig/config.ini";
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

std::string SkinFolder(const std::string& instancePath, int language) {
    return instancePath + (language == 0 ? "skin/ConifgENRes" : "skin/ConifgRes");
}

std::string LabelFileIn(const std::string& skinFolder) {
    return skinFolder + "/Language.ini";
}

int SetUpSkinAndLabels() {
    CPaintManagerUI::SetInstance();
    const std::string instance = CPaintManagerUI::GetInstancePath().str();
    const int language = ReadLanguageSetting(ConfigIniPath(instance));
    const std::string skin = SkinFolder(instance, language);
    CPaintManagerUI::SetResourcePath(skin);
    SetLabelFilePath(LabelFileIn(skin));
    return language;
}
