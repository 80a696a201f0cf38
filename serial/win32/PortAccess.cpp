// Windows names no holder of a COM port: an open that is refused with ERROR_ACCESS_DENIED is
// another program's port. The check opens the port for a moment and closes it at once.
#include <windows.h>

#include "serial/PortAccess.h"
#include "serial/win32/PortNames.h"
#include "sim/InProcessLine.h"

namespace serial {

PortAccess CheckPortAccess(const std::string& device, const PortRoots&) {
    PortAccess access;
    // The program's own open port is not another program's.
    if (sim::InProcessLine::IsLineName(device) || win32::IsHeldHere(device)) return access;
    HANDLE port = CreateFileA(win32::DevicePath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port != INVALID_HANDLE_VALUE) {
        CloseHandle(port);
        return access;
    }
    const DWORD code = GetLastError();
    if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION || code == ERROR_BUSY)
        access.use = PortUse::InUse;  // holder.pid stays 0: not known
    return access;
}

}  // namespace serial
