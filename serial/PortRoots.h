#pragma once
// Where the port list, the access check and the open look, and for whom: the system's own
// places by default, folders of their own in tests. Only the Linux implementation reads them
// (sysfs, /dev, the lock files and /proc); on Windows the registry and the open itself answer.
#include <optional>
#include <string>
#include <vector>

namespace serial {

// Where the lock files and the process table are.
struct OwnershipRoots {
    std::string lockDir = "/run/lock";
    std::string procRoot = "/proc";
};

// Who asks: a user id and the groups the running process has (a group joined after login does
// not count until the next login).
struct UserIdentity {
    unsigned uid = 0;
    std::vector<unsigned> groups;
    static UserIdentity OfProcess();
};

}  // namespace serial

struct PortRoots {
    std::string sysRoot = "/sys/class/tty";
    std::string devRoot = "/dev";
    serial::OwnershipRoots ownership;
    // Whose permissions count; the running process's when empty.
    std::optional<serial::UserIdentity> user;
};
