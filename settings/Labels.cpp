#include "settings/Labels.h"

#include "settings/IniFile.h"
#include "ui/TextCodec.h"

#include <mutex>

namespace {

// Profile lookups take a 200-byte buffer: 199 bytes of text and the terminator.
constexpr std::size_t kLabelBufferBytes = 200;
// Read whole first, so the cut can see which character the 199th byte belongs to.
constexpr std::size_t kLabelReadBytes = 4096;

// The path is set at start-up and read from any thread; a lock keeps a later change (a test
// switching skins) from racing a lookup.
std::mutex& PathLock() {
    static std::mutex lock;
    return lock;
}

std::string& LabelPath() {
    static std::string path;
    return path;
}

}  // namespace

void SetLabelFilePath(const std::string& path) {
    std::lock_guard lock(PathLock());
    LabelPath() = path;
}

std::string LabelFilePath() {
    std::lock_guard lock(PathLock());
    return LabelPath();
}

CStdString LabelText(const char* section, const char* key, const char* suffix) {
    std::string value = ini::GetString(section ? section : "", key ? key : "", "", kLabelReadBytes,
                                       LabelFilePath());
    value.resize(ui::CharacterCut(value, kLabelBufferBytes - 1));
    if (suffix) value += suffix;
    return CStdString(std::move(value));
}

namespace {

std::string Filled(std::string text, LabelValues values) {
    for (const auto& [name, value] : values) {
        std::string mark(1, '{');
        mark.append(name).push_back('}');
        for (std::size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + value.size())) {
            text.replace(at, mark.size(), value);
        }
    }
    return text;
}

}  // namespace

std::string FilledLabel(const char* section, const char* key, LabelValues values) {
    return Filled(LabelText(section, key).str(), values);
}

std::string CountLabel(const char* section, const char* key, int count) {
    std::string text;
    if (count == 1) text = LabelText(section, (std::string(key) + "One").c_str()).str();
    if (text.empty()) text = LabelText(section, key).str();
    return Filled(std::move(text), {{"count", std::to_string(count)}});
}

CStdString ProgramTitle() {
    const CStdString title = LabelText("Program", "Title");
    return title.IsEmpty() ? CStdString("DTU") : title;
}
