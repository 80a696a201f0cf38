#include "app/Labels.h"

#include "app/IniFile.h"

namespace {

// Profile lookups take a 200-byte buffer: 199 bytes of text and the terminator.
constexpr std::size_t kLabelBufferBytes = 200;

std::string& LabelPath() {
    static std::string path;
    return path;
}

}  // namespace

void SetLabelFilePath(const std::string& path) { LabelPath() = path; }
const std::string& LabelFilePath() { return LabelPath(); }

CStdString LabelText(const char* section, const char* key, const char* suffix) {
    std::string value = ini::GetString(section ? section : "", key ? key : "", "",
                                       kLabelBufferBytes, LabelPath());
    if (suffix) value += suffix;
    return CStdString(std::move(value));
}
