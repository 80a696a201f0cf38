#pragma once
// The port list on Linux: every terminal under /sys/class/tty that sits on a real device.
#include <functional>
#include <string>
#include <vector>

#include "serial/PortList.h"

// Whether a UART answers behind an 8250 device node (the kernel makes nodes for ports that are
// not there).
using UartProbe = std::function<bool(const std::string& devicePath)>;

// True when TIOCGSERIAL on the device reports a UART type other than PORT_UNKNOWN, or when the
// device cannot be opened to ask for lack of permission or because it is in use. Any thread.
bool UartExists(const std::string& devicePath);

// The ports under sysRoot (one folder per terminal, whose "device" link leads to the hardware),
// with device paths under devRoot, sorted by device path with numbers in numeric order
// (ttyS2 before ttyS10). Virtual terminals (no "device" link) are skipped, and 8250 ports are
// listed only when their "type" attribute names a UART, or, without one, when uartExists says so.
// Each port's by-id name is looked up under devRoot/serial/by-id. Any thread.
std::vector<PortInfo> ListSerialPorts(const std::string& sysRoot, const std::string& devRoot);
std::vector<PortInfo> ListSerialPorts(const std::string& sysRoot, const std::string& devRoot,
                                      const UartProbe& uartExists);
