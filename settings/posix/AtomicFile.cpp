#include "settings/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

bool Fail(std::string* error, const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
    return false;
}

// The file a path names, through a symbolic link if it is one; the path itself otherwise.
std::string TargetOf(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

mode_t CreationMode(FileAccess access) {
    return access == FileAccess::OwnerOnly ? 0600 : 0666;
}

// A new file beside target, created exclusively (the umask applies to the usual permissions).
int CreateSibling(const std::string& target, FileAccess access, std::string* name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        const int fd =
            open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, CreationMode(access));
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes, sets the mode and flushes the new file, then closes it; the step that failed, or null.
const char* FillSibling(int fd, std::string_view bytes, const mode_t* mode, int* reason) {
    const char* failed = nullptr;
    if (!WriteAll(fd, bytes)) {
        failed = "cannot write";
    } else if (mode && fchmod(fd, *mode) != 0) {
        failed = "cannot set the permissions";
    } else if (fsync(fd) != 0) {
        failed = "cannot flush";
    }
    *reason = errno;
    if (close(fd) != 0 && !failed) failed = "cannot close", *reason = errno;
    return failed;
}

// The new entry itself reaches the disk with its folder's.
void FlushFolder(const std::string& path) {
    const int dir = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* error,
                         FileAccess access) {
    const std::string target = TargetOf(path);
    struct stat old {};
    const bool replacing = stat(target.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode)) {
        errno = EISDIR;
        return Fail(error, "cannot replace");
    }
    std::string sibling;
    const int fd = CreateSibling(target, access, &sibling);
    if (fd < 0) return Fail(error, "cannot create");
    // An old file's permissions are kept; a file for its owner alone is that whatever it was.
    mode_t mode = old.st_mode & 07777;
    if (access == FileAccess::OwnerOnly) mode = 0600;
    int reason = 0;
    const char* failed = FillSibling(
        fd, bytes, replacing || access == FileAccess::OwnerOnly ? &mode : nullptr, &reason);
    if (!failed && rename(sibling.c_str(), target.c_str()) != 0) {
        failed = "cannot rename", reason = errno;
    }
    if (failed) {
        unlink(sibling.c_str());
        errno = reason;
        return Fail(error, failed);
    }
    FlushFolder(target);
    return true;
}

bool CreateFileContents(const std::string& path, std::string_view bytes, FileAccess access,
                        bool* taken, std::string* error) {
    *taken = false;
    std::string sibling;
    const int fd = CreateSibling(path, access, &sibling);
    if (fd < 0) return Fail(error, "cannot create");
    int reason = 0;
    const char* failed = FillSibling(fd, bytes, nullptr, &reason);
    // A hard link is made only where no name is: the file is whole under its name, or not there.
    if (!failed && link(sibling.c_str(), path.c_str()) != 0) {
        reason = errno;
        failed = "cannot create";
        *taken = reason == EEXIST;
    }
    unlink(sibling.c_str());
    if (failed) {
        errno = reason;
        return Fail(error, failed);
    }
    FlushFolder(path);
    return true;
}

std::FILE* OpenOwnerOnlyFile(const std::string& path, std::string* error) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    std::FILE* file = fd >= 0 && fchmod(fd, 0600) == 0 ? fdopen(fd, "w") : nullptr;
    if (!file) {
        if (error) *error = std::strerror(errno);
        if (fd >= 0) close(fd);
    }
    return file;
}
