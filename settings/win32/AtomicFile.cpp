// The new file beside the old one, flushed with FlushFileBuffers and moved over it with
// MoveFileExW (write-through), so a failure leaves the old file as it was. Who may read it is
// the folder's inherited access list: the user's profile folders, where logs, reports and
// backups go, are the user's alone already.
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "settings/AtomicFile.h"

namespace {

namespace fs = std::filesystem;

bool Fail(std::string* error, const char* what, DWORD code) {
    if (error)
        *error = std::string(what) + ": " + std::system_category().message(static_cast<int>(code));
    return false;
}

// A new file beside target, created exclusively; its name in *sibling.
HANDLE CreateSibling(const fs::path& target, fs::path* sibling) {
    static std::atomic<unsigned> counter{0};
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        *sibling = target;
        *sibling +=
            ".tmp" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
        file = CreateFileW(sibling->wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return file;
}

// Writes and flushes the new file, then closes it; the step that failed, or null.
const char* FillSibling(HANDLE file, std::string_view bytes, DWORD* reason) {
    const char* failed = nullptr;
    while (!bytes.empty() && !failed) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            failed = "cannot write";
            *reason = GetLastError();
        }
        bytes.remove_prefix(written);
    }
    if (!failed && !FlushFileBuffers(file)) failed = "cannot flush", *reason = GetLastError();
    if (!CloseHandle(file) && !failed) failed = "cannot close", *reason = GetLastError();
    return failed;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* error,
                         FileAccess) {
    std::error_code ec;
    fs::path target = fs::u8path(path);
    // A link is followed: the file it names is replaced.
    if (fs::is_symlink(target, ec)) target = fs::canonical(target, ec);
    if (fs::is_directory(target, ec)) return Fail(error, "cannot replace", ERROR_DIRECTORY);
    fs::path sibling;
    const HANDLE file = CreateSibling(target, &sibling);
    if (file == INVALID_HANDLE_VALUE) return Fail(error, "cannot create", GetLastError());
    DWORD reason = ERROR_SUCCESS;
    const char* failed = FillSibling(file, bytes, &reason);
    if (!failed && !MoveFileExW(sibling.wstring().c_str(), target.wstring().c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failed = "cannot rename", reason = GetLastError();
    }
    if (failed) {
        DeleteFileW(sibling.wstring().c_str());
        return Fail(error, failed, reason);
    }
    return true;
}

bool CreateFileContents(const std::string& path, std::string_view bytes, FileAccess, bool* taken,
                        std::string* error) {
    *taken = false;
    const fs::path target = fs::u8path(path);
    fs::path sibling;
    const HANDLE file = CreateSibling(target, &sibling);
    if (file == INVALID_HANDLE_VALUE) return Fail(error, "cannot create", GetLastError());
    DWORD reason = ERROR_SUCCESS;
    const char* failed = FillSibling(file, bytes, &reason);
    // Without MOVEFILE_REPLACE_EXISTING the move is refused where the name is taken: the file
    // is whole under its name, or not there.
    if (!failed &&
        !MoveFileExW(sibling.wstring().c_str(), target.wstring().c_str(), MOVEFILE_WRITE_THROUGH)) {
        reason = GetLastError();
        failed = "cannot create";
        *taken = reason == ERROR_ALREADY_EXISTS || reason == ERROR_FILE_EXISTS;
    }
    if (failed) {
        DeleteFileW(sibling.wstring().c_str());
        return Fail(error, failed, reason);
    }
    return true;
}

std::FILE* OpenOwnerOnlyFile(const std::string& path, std::string* error) {
    std::FILE* file = _wfopen(fs::u8path(path).wstring().c_str(), L"wb");
    if (!file && error) *error = std::strerror(errno);
    return file;
}
