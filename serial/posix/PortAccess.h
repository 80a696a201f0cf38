#pragma once
// The access check on Linux: the device's mode bits against a user's groups, and its holder
// from the lock files and the process table.
//
// Threads: any; plain file operations only.
#include <string>

#include "serial/PortAccess.h"

namespace serial {

// Whether user may read and write the device, and whether another process holds it (through its
// lock file or an open descriptor among the processes under roots.procRoot).
PortAccess CheckPortAccess(const std::string& device, const UserIdentity& user,
                           const OwnershipRoots& roots);

}  // namespace serial
