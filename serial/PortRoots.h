#pragma once
// Where the port list looks and for whom: the system's trees by default, folders of their own
// in tests.
#include <optional>
#include <string>

#include "serial/PortAccess.h"
#include "serial/PortOwnership.h"

struct PortRoots {
    std::string sysRoot = "/sys/class/tty";
    std::string devRoot = "/dev";
    serial::OwnershipRoots ownership;
    // Whose permissions count; the running process's when empty.
    std::optional<serial::UserIdentity> user;
};
