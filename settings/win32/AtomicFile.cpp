// The new file beside the old one, flushed with FlushFileBuffers and moved over it with
// MoveFileExW (write-through), so a failure leaves the old file as it was.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "settings/AtomicFile.h"

namespace {

bool Fail(std::string* error, const char* what, DWORD code) {
    if (error)
        *error = std::string(what) + ": " + std::system_category().message(static_cast<int>(code));
    return false;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target = fs::u8path(path);
    // A link is followed: the file it names is replaced.
    if (fs::is_symlink(target, ec)) target = fs::canonical(target, ec);
    if (fs::is_directory(target, ec)) return Fail(error, "cannot replace", ERROR_DIRECTORY);
    static std::atomic<unsigned> counter{0};
    fs::path sibling;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        sibling = target;
        sibling += ".tmp" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
        file = CreateFileW(sibling.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) return Fail(error, "cannot create", GetLastError());
    const char* failed = nullptr;
    DWORD reason = ERROR_SUCCESS;
    while (!bytes.empty() && !failed) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            failed = "cannot write";
            reason = GetLastError();
        }
        bytes.remove_prefix(written);
    }
    if (!failed && !FlushFileBuffers(file)) failed = "cannot flush", reason = GetLastError();
    if (!CloseHandle(file) && !failed) failed = "cannot close", reason = GetLastError();
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
