// The XDG rules, /proc/self/exe and the password database.
#include "settings/System.h"

#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace sys {

namespace {

struct FolderRule {
    const char* variable;      // the XDG variable
    const char* homeFallback;  // below $HOME when the variable is unset or relative
};

FolderRule RuleOf(UserFolderKind kind) {
    return kind == UserFolderKind::Config ? FolderRule{"XDG_CONFIG_HOME", ".config"}
                                          : FolderRule{"XDG_DATA_HOME", ".local/share"};
}

}  // namespace

std::string ProgramPath() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string ProgramFolder() {
    const std::string exe = ProgramPath();
    if (exe.empty()) return {};
    return std::filesystem::path(exe).parent_path().string() + "/";
}

std::string UserFolderPath(UserFolderKind kind, std::string* why) {
    const FolderRule rule = RuleOf(kind);
    if (const char* xdg = std::getenv(rule.variable); xdg && *xdg == '/') {
        return std::string(xdg) + "/dtuconfig/";
    }
    if (const char* home = std::getenv("HOME"); home && *home == '/') {
        return std::string(home) + "/" + rule.homeFallback + "/dtuconfig/";
    }
    if (why) *why = std::string("neither ") + rule.variable + " nor HOME is set to a folder";
    return {};
}

std::string UserFolder(UserFolderKind kind, std::string* why) {
    const std::string folder = UserFolderPath(kind, why);
    if (folder.empty()) return {};
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (std::filesystem::is_directory(folder, ec)) return folder;
    if (why) *why = "cannot make " + folder + ": " + ec.message();
    return {};
}

bool FolderWritable(const std::string& folder) {
    return !folder.empty() && ::access(folder.c_str(), W_OK) == 0;
}

std::string UserName() {
    if (const passwd* entry = ::getpwuid(::getuid())) return entry->pw_name;
    return "$USER";
}

long PeakMemoryKb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace sys
