#pragma once
// Whether this user can use a port now, and if not why: no permission (with the group that
// would give it) or another program has it. Checked without opening the device, so a port that
// cannot be opened is still listed with its reason.
//
// Threads: any; plain file operations only.
#include <string>
#include <vector>

#include "serial/PortError.h"
#include "serial/PortOwnership.h"

namespace serial {

enum class PortUse { Free, NoPermission, InUse };

struct PortAccess {
    PortUse use = PortUse::Free;
    std::string group;  // NoPermission: the device's group, the one to join ("dialout")
    PortHolder holder;  // InUse: who has it
};

// Who asks: a user id and the groups the running process has (a group joined after login does
// not count until the next login).
struct UserIdentity {
    unsigned uid = 0;
    std::vector<unsigned> groups;
    static UserIdentity OfProcess();
};

// Whether user may read and write the device, and whether another process holds it (through its
// lock file or an open descriptor among the processes under roots.procRoot).
PortAccess CheckPortAccess(const std::string& device, const UserIdentity& user,
                           const OwnershipRoots& roots);

}  // namespace serial
