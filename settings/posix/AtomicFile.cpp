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

// A new file beside target, created exclusively with the usual permissions (umask applies).
int CreateSibling(const std::string& target, std::string* name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        const int fd = open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
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

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* error) {
    const std::string target = TargetOf(path);
    struct stat old {};
    const bool replacing = stat(target.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode)) {
        errno = EISDIR;
        return Fail(error, "cannot replace");
    }
    std::string sibling;
    const int fd = CreateSibling(target, &sibling);
    if (fd < 0) return Fail(error, "cannot create");
    const char* failed = nullptr;
    if (!WriteAll(fd, bytes)) {
        failed = "cannot write";
    } else if (replacing && fchmod(fd, old.st_mode & 07777) != 0) {
        failed = "cannot keep the permissions";
    } else if (fsync(fd) != 0) {
        failed = "cannot flush";
    }
    int reason = errno;
    if (close(fd) != 0 && !failed) failed = "cannot close", reason = errno;
    if (!failed && rename(sibling.c_str(), target.c_str()) != 0) {
        failed = "cannot rename", reason = errno;
    }
    if (failed) {
        unlink(sibling.c_str());
        errno = reason;
        return Fail(error, failed);
    }
    // The rename itself reaches the disk with the folder's entry.
    const int dir = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}
