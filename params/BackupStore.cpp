#include "params/BackupStore.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <system_error>

#include "params/ConfigFileText.h"
#include "settings/AtomicFile.h"
#include "settings/System.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtension = ".cfg";
// Two backups of one unit within a millisecond (two connections in a test) get "_02" on.
constexpr int kMaxSuffix = 99;

const std::regex& TimePattern() {
    static const std::regex pattern(R"(\d{8}T\d{6}\.\d{3}Z(_\d{2})?)");
    return pattern;
}

bool IsUnitName(std::string_view unit) {
    if (unit.empty() || unit == "." || unit == "..") return false;
    return std::all_of(unit.begin(), unit.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '.' || c == '_';
    });
}

std::string TimeStem(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto millis = duration_cast<milliseconds>(when.time_since_epoch()).count() % 1000;
    const std::time_t seconds = system_clock::to_time_t(when);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y%m%dT%H%M%S", &utc);
    std::snprintf(text + n, sizeof text - n, ".%03dZ", static_cast<int>(millis));
    return text;
}

std::string PathOf(const std::string& unit, const std::string& time) {
    return BackupRoot() + "/" + unit + "/" + time + kExtension;
}

bool SameFile(const std::string& a, std::string_view b) {
    std::error_code ec;
    return !b.empty() && fs::equivalent(a, fs::path(b), ec);
}

// The unit's oldest backups beyond the limit go; `stored` and `keep` stay whatever their names.
void Prune(const std::string& unit, const std::string& stored, std::string_view keep) {
    std::vector<BackupFile> backups = ListBackups(unit);
    const std::size_t all = backups.size();
    std::erase_if(backups,
                  [&](const BackupFile& b) { return b.path == stored || SameFile(b.path, keep); });
    const std::size_t spared = all - backups.size();
    const std::size_t others = kBackupsKept > spared ? kBackupsKept - spared : 0;
    for (std::size_t i = 0; i + others < backups.size(); ++i) {
        std::error_code ignored;
        fs::remove(backups[i].path, ignored);
    }
}

}  // namespace

std::string BackupRoot(std::string* why) {
    const std::string data = sys::UserFolderPath(sys::UserFolderKind::Data, why);
    return data.empty() ? std::string() : data + "backups";
}

bool StoreBackup(const std::string& unit, std::string_view listing,
                 std::chrono::system_clock::time_point when, BackupFile* stored, std::string* error,
                 std::string_view keep) {
    if (!IsUnitName(unit)) {
        *error = "not a unit's folder name: " + unit;
        return false;
    }
    std::string noFolder;
    if (BackupRoot(&noFolder).empty()) {
        *error = "no folder for backups: " + noFolder;
        return false;
    }
    std::error_code ec;
    fs::create_directories(BackupRoot() + "/" + unit, ec);
    if (ec) {
        *error = "cannot create " + BackupRoot() + "/" + unit + ": " + ec.message();
        return false;
    }
    BackupFile backup{unit, TimeStem(when), {}};
    const std::string stem = backup.time;
    const std::string bytes = EncodeConfigText(listing);
    for (int suffix = 2;; ++suffix) {
        backup.path = PathOf(unit, backup.time);
        bool taken = false;
        if (CreateFileContents(backup.path, bytes, FileAccess::OwnerOnly, &taken, error)) break;
        if (!taken) return false;
        if (suffix > kMaxSuffix) {
            *error = "too many backups at " + stem;
            return false;
        }
        char tail[8];
        std::snprintf(tail, sizeof tail, "_%02d", suffix);
        backup.time = stem + tail;
    }
    Prune(unit, backup.path, keep);
    if (stored) *stored = backup;
    return true;
}

std::optional<BackupFile> NewestBackupHolding(const std::string& unit, std::string_view listing) {
    const std::vector<BackupFile> backups = ListBackups(unit);
    if (backups.empty()) return std::nullopt;
    std::ifstream in(backups.back().path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.bad() && bytes == EncodeConfigText(listing)) return backups.back();
    return std::nullopt;
}

std::vector<BackupFile> ListBackups(const std::string& unit) {
    std::vector<BackupFile> backups;
    if (!IsUnitName(unit) || BackupRoot().empty()) return backups;
    std::error_code ec;
    for (const fs::directory_entry& file : fs::directory_iterator(BackupRoot() + "/" + unit, ec)) {
        const fs::path& path = file.path();
        if (path.extension() != kExtension || !file.is_regular_file(ec)) continue;
        const std::string time = path.stem().string();
        if (!std::regex_match(time, TimePattern())) continue;
        backups.push_back({unit, time, path.string()});
    }
    std::sort(backups.begin(), backups.end(),
              [](const BackupFile& a, const BackupFile& b) { return a.time < b.time; });
    return backups;
}

std::vector<std::string> BackedUpUnits() {
    std::vector<std::string> units;
    std::error_code ec;
    for (const fs::directory_entry& dir : fs::directory_iterator(BackupRoot(), ec)) {
        const std::string name = dir.path().filename().string();
        if (dir.is_directory(ec) && IsUnitName(name)) units.push_back(name);
    }
    std::sort(units.begin(), units.end());
    return units;
}

std::optional<BackupFile> FindBackup(std::string_view id) {
    const std::size_t slash = id.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string unit(id.substr(0, slash));
    const std::string time(id.substr(slash + 1));
    if (!IsUnitName(unit) || !std::regex_match(time, TimePattern()) || BackupRoot().empty())
        return std::nullopt;
    std::error_code ec;
    if (!fs::is_regular_file(PathOf(unit, time), ec)) return std::nullopt;
    return BackupFile{unit, time, PathOf(unit, time)};
}

std::string BackupTimeText(const BackupFile& backup) {
    const std::string& t = backup.time;  // yyyymmddThhmmss...
    if (t.size() < 15) return t;
    return t.substr(0, 4) + "-" + t.substr(4, 2) + "-" + t.substr(6, 2) + " " + t.substr(9, 2) +
           ":" + t.substr(11, 2) + ":" + t.substr(13, 2) + " UTC";
}
