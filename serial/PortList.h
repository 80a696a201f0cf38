#pragma once
// The serial ports this machine has, for the port list: every terminal under /sys/class/tty that
// sits on a real device, with a description the user can recognise the adapter by. The listing
// itself is the platform's (posix/PortList.cpp reads sysfs).
#include <functional>
#include <string>
#include <vector>

struct PortInfo {
    std::string device;       // "/dev/ttyUSB0": the item text and what OpenPort takes
    std::string description;  // "FTDI FT232R USB UART (0403:6001, serial A50285BI)"
    // Its name under <devRoot>/serial/by-id, which stays the same wherever it is plugged in;
    // "" when it has none.
    std::string stableName;
    // USB vendor, product and serial ("0403:6001:A50285BI"); "" for a port not on USB.
    std::string usbIdentity;
};

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
std::vector<PortInfo> ListSerialPorts(const std::string& sysRoot = "/sys/class/tty",
                                      const std::string& devRoot = "/dev");
std::vector<PortInfo> ListSerialPorts(const std::string& sysRoot, const std::string& devRoot,
                                      const UartProbe& uartExists);
