#include "serial/posix/PortList.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#include "serial/NetworkPort.h"
#include "sim/InProcessLine.h"

namespace fs = std::filesystem;

namespace {

// The first line of a small sysfs attribute file, or "" when it is missing.
std::string ReadAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    return line;
}

// The name of the driver that runs the hardware behind a terminal ("serial8250", "ftdi_sio"), or
// "". Since Linux 6.5 serial-core's own "port" and "ctrl" devices stand between the terminal
// and that driver; look past them.
std::string DriverOf(const fs::path& device) {
    std::error_code ec;
    fs::path dir = fs::canonical(device, ec);
    if (ec) return {};
    for (int level = 0; level < 3 && !dir.empty(); ++level) {
        fs::path target = fs::read_symlink(dir / "driver", ec);
        if (ec) return {};
        std::string name = target.filename().string();
        if (name != "port" && name != "ctrl") return name;
        dir = dir.parent_path();
    }
    return {};
}

// Whether an 8250 node has a UART behind it: serial-core's "type" attribute says so to every
// user; only without it is the device opened to ask.
bool UartPresent(const fs::path& ttyDir, const std::string& path, const UartProbe& uartExists) {
    const std::string type = ReadAttribute(ttyDir / "type");
    if (!type.empty()) return std::atoi(type.c_str()) != 0;  // 0 is PORT_UNKNOWN
    return uartExists && uartExists(path);
}

bool IsUsbSerialName(const std::string& name) {
    return name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0;
}

// The USB device a terminal belongs to: the nearest folder above it with an idVendor file.
fs::path UsbDeviceOf(const fs::path& device) {
    std::error_code ec;
    fs::path dir = fs::canonical(device, ec);
    if (ec) return {};
    // usb-serial ports sit two levels below the USB device (interface, port), ACM one.
    for (int level = 0; level < 4 && !dir.empty(); ++level) {
        if (fs::exists(dir / "idVendor", ec)) return dir;
        if (dir == dir.parent_path()) break;
        dir = dir.parent_path();
    }
    return {};
}

std::string UsbDescription(const fs::path& usb) {
    std::string words = ReadAttribute(usb / "manufacturer");
    std::string product = ReadAttribute(usb / "product");
    if (!product.empty()) words += (words.empty() ? "" : " ") + product;
    std::string ids = ReadAttribute(usb / "idVendor") + ":" + ReadAttribute(usb / "idProduct");
    std::string serial = ReadAttribute(usb / "serial");
    if (!serial.empty()) ids += ", serial " + serial;
    return words.empty() ? "USB (" + ids + ")" : words + " (" + ids + ")";
}

std::string UsbIdentity(const fs::path& usb) {
    return ReadAttribute(usb / "idVendor") + ":" + ReadAttribute(usb / "idProduct") + ":" +
           ReadAttribute(usb / "serial");
}

// The by-id links udev makes, by the device each one leads to.
std::map<std::string, std::string> StableNames(const fs::path& devRoot) {
    std::map<std::string, std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& link : fs::directory_iterator(devRoot / "serial/by-id", ec)) {
        std::error_code resolveError;
        fs::path target = fs::canonical(link.path(), resolveError);
        if (!resolveError) names.emplace(target.string(), link.path().filename().string());
    }
    return names;
}

// Orders "ttyS2" before "ttyS10": runs of digits compare by value.
bool NaturalLess(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) &&
            std::isdigit(static_cast<unsigned char>(b[j]))) {
            size_t ei = i, ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) ++ej;
            std::string da = a.substr(i, ei - i), db = b.substr(j, ej - j);
            da.erase(0, std::min(da.find_first_not_of('0'), da.size()));
            db.erase(0, std::min(db.find_first_not_of('0'), db.size()));
            if (da.size() != db.size()) return da.size() < db.size();
            if (da != db) return da < db;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

}  // namespace

std::vector<PortInfo> ListSerialPorts(const std::string& sysRoot, const std::string& devRoot) {
    return ListSerialPorts(sysRoot, devRoot, UartExists);
}

std::vector<PortInfo> ListSerialPorts(const std::string& sysRoot, const std::string& devRoot,
                                      const UartProbe& uartExists) {
    std::vector<PortInfo> ports;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(sysRoot, ec)) {
        const std::string name = entry.path().filename().string();
        const fs::path device = entry.path() / "device";
        std::error_code linkError;
        if (!fs::exists(device, linkError)) continue;  // console, pty and other virtual ttys
        const std::string path = (fs::path(devRoot) / name).string();
        const std::string driver = DriverOf(device);
        if (driver == "serial8250" && !UartPresent(entry.path(), path, uartExists)) continue;
        PortInfo port;
        port.device = path;
        port.description = driver;
        if (IsUsbSerialName(name)) {
            fs::path usb = UsbDeviceOf(device);
            if (!usb.empty()) {
                port.description = UsbDescription(usb);
                port.usbIdentity = UsbIdentity(usb);
            }
        }
        ports.push_back(std::move(port));
    }
    const std::map<std::string, std::string> stableNames = StableNames(devRoot);
    for (PortInfo& port : ports) {
        std::error_code resolveError;
        auto named = stableNames.find(fs::canonical(port.device, resolveError).string());
        if (!resolveError && named != stableNames.end()) port.stableName = named->second;
    }
    std::sort(ports.begin(), ports.end(),
              [](const PortInfo& a, const PortInfo& b) { return NaturalLess(a.device, b.device); });
    return ports;
}

namespace serial {

namespace {

constexpr int kNetworkProbeMs = 1000;

}  // namespace

std::vector<PortInfo> ListSerialPorts(const PortRoots& roots) {
    return ::ListSerialPorts(roots.sysRoot, roots.devRoot);
}

bool PortExists(const std::string& device) {
    if (sim::InProcessLine::IsLineName(device)) return sim::InProcessLine::Find(device) != nullptr;
    // A network port is there when its server takes a connection.
    if (IsNetworkPortName(device)) return NetworkPortAnswers(device, kNetworkProbeMs);
    std::error_code ec;
    return fs::exists(device, ec);
}

bool IsTransientPort(const std::string& device) {
    return device.rfind("/dev/pts/", 0) == 0;
}

}  // namespace serial
