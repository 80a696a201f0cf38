#pragma once
// Whether this user can use a port now, and if not why: no permission (with the group that
// would give it) or another program has it (named where the system tells). Checked without
// taking the port, so a port that cannot be opened is still listed with its reason.
//
// Threads: any.
#include <string>

#include "serial/PortError.h"
#include "serial/PortRoots.h"

namespace serial {

enum class PortUse { Free, NoPermission, InUse };

struct PortAccess {
    PortUse use = PortUse::Free;
    std::string group;  // NoPermission: the device's group, the one to join ("dialout")
    PortHolder holder;  // InUse: who has it (pid 0 when the system does not say)
};

// Whether the user of roots (the running process by default) may use the port now.
PortAccess CheckPortAccess(const std::string& device, const PortRoots& roots);

}  // namespace serial
