// The known folders (%APPDATA%, %LOCALAPPDATA%), GetModuleFileNameW and GetUserNameW. Paths
// travel as UTF-8 with '/' between their parts, as everywhere else in the program.
#include <windows.h>
// clang-format off: the shell's headers need <windows.h> first.
#include <knownfolders.h>
#include <lmcons.h>
#include <psapi.h>
#include <shlobj.h>
// clang-format on

#include <filesystem>
#include <string>

#include "settings/System.h"

namespace sys {

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::string WithSlashes(std::string path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

std::string KnownFolder(const KNOWNFOLDERID& id) {
    wchar_t* path = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) folder = Utf8(path);
    CoTaskMemFree(path);
    return WithSlashes(folder);
}

}  // namespace

std::string ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return WithSlashes(Utf8(path));
        }
        path.resize(path.size() * 2);
    }
}

std::string ProgramFolder() {
    const std::string exe = ProgramPath();
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

std::string UserFolderPath(UserFolderKind kind, std::string* why) {
    // Settings roam with the user; backups and logs stay on this machine.
    const bool config = kind == UserFolderKind::Config;
    const std::string base = KnownFolder(config ? FOLDERID_RoamingAppData : FOLDERID_LocalAppData);
    if (base.empty()) {
        if (why)
            *why = config ? "Windows names no %APPDATA% folder"
                          : "Windows names no %LOCALAPPDATA% folder";
        return {};
    }
    return base + "/dtuconfig/";
}

std::string UserFolder(UserFolderKind kind, std::string* why) {
    const std::string folder = UserFolderPath(kind, why);
    if (folder.empty()) return {};
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::u8path(folder);
    std::filesystem::create_directories(path, ec);
    if (std::filesystem::is_directory(path, ec)) return folder;
    if (why) *why = "cannot make " + folder + ": " + ec.message();
    return {};
}

bool FolderWritable(const std::string& folder) {
    if (folder.empty()) return false;
    // Program Files is read-only to a user even where its ACL reads otherwise: only a file
    // actually made there tells.
    const std::filesystem::path probe =
        std::filesystem::u8path(folder) /
        ("dtuconfig-write-test-" + std::to_string(GetCurrentProcessId()));
    HANDLE file = CreateFileW(probe.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::string UserName() {
    wchar_t name[UNLEN + 1];
    DWORD size = UNLEN + 1;
    if (GetUserNameW(name, &size) && size > 1) return Utf8(std::wstring(name, size - 1));
    return "%USERNAME%";
}

long PeakMemoryKb() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

}  // namespace sys
