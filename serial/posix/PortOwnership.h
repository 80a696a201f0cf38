#pragma once
// Who else uses a port: the UUCP lock files that Linux serial tools share, and the processes
// that hold the device open without one. Any thread; plain file operations only.
#include <string>

#include "serial/PortError.h"
#include "serial/PortRoots.h"

namespace serial {

// The lock file of a device: "LCK.." and its name below /dev, with '/' as '_'.
std::string LockFilePath(const std::string& lockDir, const std::string& device);

// The UUCP lock of one device ("LCK..ttyUSB0" holding the PID), taken and given back.
class PortLock {
  public:
    PortLock() = default;
    ~PortLock() { Release(); }
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

    // False with *holder when another running process holds the lock. A lock whose process
    // is gone is taken over; a lock of this very process is left to it (the exclusive open
    // decides); a folder that cannot be written leaves the port unlocked.
    bool Take(const std::string& lockDir, const std::string& device, const std::string& procRoot,
              PortHolder* holder);
    // Removes the file this object created; nothing otherwise.
    void Release();

  private:
    std::string path_;
};

// The running process (not this one) whose lock file names the device, left as it is; false
// when there is none or it is stale.
bool FindLockHolder(const std::string& lockDir, const std::string& device,
                    const std::string& procRoot, PortHolder* holder);

// Another process that has the device open (the far end of a pseudo-terminal, which holds its
// master, excepted); false when none is found among the processes readable under procRoot.
bool FindPortHolder(const std::string& procRoot, const std::string& device, PortHolder* holder);

}  // namespace serial
