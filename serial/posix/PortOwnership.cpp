// UUCP lock files in the HDB format (the PID as ten blank-padded digits and a newline) and the
// search of /proc for processes that have a device open.
#include "serial/posix/PortOwnership.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace serial {

namespace {

std::string ReadFirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

int ParsePid(const std::string& text) {
    char* end = nullptr;
    long pid = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || pid <= 0 || pid > 0x3fffffff) return 0;
    return static_cast<int>(pid);
}

bool IsRunning(int pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

std::string ProgramOf(const std::string& procRoot, int pid) {
    return ReadFirstLine(procRoot + "/" + std::to_string(pid) + "/comm");
}

// The number N of /dev/pts/N, or -1 for any other device.
int PtsIndex(const std::string& device) {
    char resolved[PATH_MAX];
    if (!::realpath(device.c_str(), resolved)) return -1;
    const std::string path = resolved;
    const std::string prefix = "/dev/pts/";
    if (path.rfind(prefix, 0) != 0) return -1;
    return path.size() > prefix.size() ? std::atoi(path.c_str() + prefix.size()) : -1;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    if (S_ISCHR(a.st_mode) && S_ISCHR(b.st_mode)) return a.st_rdev == b.st_rdev;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// What a process's descriptors say about the device.
struct Descriptors {
    bool device = false;     // one of them is the device
    bool ptyMaster = false;  // one is the master of the device's pseudo-terminal
};

Descriptors ScanDescriptors(const std::string& processDir, const struct stat& target,
                            int ptsIndex) {
    Descriptors found;
    const std::string fdDir = processDir + "/fd";
    DIR* dir = ::opendir(fdDir.c_str());
    if (!dir) return found;  // another user's process: not ours to see
    while (dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        struct stat info {};
        if (::stat((fdDir + "/" + entry->d_name).c_str(), &info) != 0) continue;
        if (SameFile(info, target)) {
            found.device = true;
            continue;
        }
        if (ptsIndex < 0 || !S_ISCHR(info.st_mode)) continue;
        std::ifstream fdinfo(processDir + "/fdinfo/" + entry->d_name);
        std::string line;
        while (std::getline(fdinfo, line)) {
            if (line.rfind("tty-index:", 0) == 0 && std::atoi(line.c_str() + 10) == ptsIndex)
                found.ptyMaster = true;
        }
    }
    ::closedir(dir);
    return found;
}

}  // namespace

std::string LockFilePath(const std::string& lockDir, const std::string& device) {
    std::string name = device.rfind("/dev/", 0) == 0 ? device.substr(5) : device;
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    return lockDir + "/LCK.." + name;
}

bool PortLock::Take(const std::string& lockDir, const std::string& device,
                    const std::string& procRoot, PortHolder* holder) {
    Release();
    char resolved[PATH_MAX];
    const std::string real = ::realpath(device.c_str(), resolved) ? resolved : device;
    const std::string path = LockFilePath(lockDir, real);
    // Two rounds: the second runs after a stale lock was removed.
    for (int round = 0; round < 2; ++round) {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            char text[16];
            int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
            bool written = ::write(fd, text, static_cast<size_t>(length)) == length;
            ::close(fd);
            if (!written) {
                ::unlink(path.c_str());
                return true;
            }
            path_ = path;
            return true;
        }
        if (errno != EEXIST) return true;  // no lock folder, or not ours to write in
        const int pid = ParsePid(ReadFirstLine(path));
        if (pid == static_cast<int>(::getpid())) return true;
        if (pid != 0 && IsRunning(pid)) {
            *holder = {pid, ProgramOf(procRoot, pid)};
            return false;
        }
        ::unlink(path.c_str());
    }
    return true;
}

void PortLock::Release() {
    if (path_.empty()) return;
    // Only while it still names us: a lock taken over after ours went stale is not ours.
    if (ParsePid(ReadFirstLine(path_)) == static_cast<int>(::getpid())) ::unlink(path_.c_str());
    path_.clear();
}

bool FindLockHolder(const std::string& lockDir, const std::string& device,
                    const std::string& procRoot, PortHolder* holder) {
    char resolved[PATH_MAX];
    const std::string real = ::realpath(device.c_str(), resolved) ? resolved : device;
    const int pid = ParsePid(ReadFirstLine(LockFilePath(lockDir, real)));
    if (pid == 0 || pid == static_cast<int>(::getpid()) || !IsRunning(pid)) return false;
    *holder = {pid, ProgramOf(procRoot, pid)};
    return true;
}

bool FindPortHolder(const std::string& procRoot, const std::string& device, PortHolder* holder) {
    struct stat target {};
    if (::stat(device.c_str(), &target) != 0) return false;
    const int ptsIndex = PtsIndex(device);
    const int self = static_cast<int>(::getpid());
    DIR* proc = ::opendir(procRoot.c_str());
    if (!proc) return false;
    bool found = false;
    while (dirent* entry = ::readdir(proc)) {
        const int pid = ParsePid(entry->d_name);
        if (pid == 0 || pid == self) continue;
        const std::string processDir = procRoot + "/" + entry->d_name;
        Descriptors d = ScanDescriptors(processDir, target, ptsIndex);
        if (!d.device || d.ptyMaster) continue;
        *holder = {pid, ProgramOf(procRoot, pid)};
        found = true;
        break;
    }
    ::closedir(proc);
    return found;
}

}  // namespace serial
