#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "serial/posix/PortList.h"
#include "tests/support/FakeSysfs.h"
#include "tests/support/TestPaths.h"

namespace fs = std::filesystem;

using testsupport::FakeSysfs;

namespace {

TEST(PortList, ListsRealPortsSortedAndDescribesUsbAdapters) {
    FakeSysfs sys;
    sys.AddVirtual("tty0");
    sys.AddVirtual("ptmx");
    sys.AddPort("ttyS0", "platform/serial8250", "serial8250");
    sys.AddPort("ttyS1", "platform/serial8250", "serial8250");
    sys.AddPort("ttyS10", "platform/serial8250", "serial8250");
    sys.AddPort("ttyAMA0", "amba/uart0", "uart-pl011");
    // Linux 6.5 and later: serial-core's port and controller devices sit above the driver's.
    sys.AddPort("ttyS2", "platform/serial8250/serial8250:0/serial8250:0.2", "port");
    sys.Bind("platform/serial8250/serial8250:0", "ctrl");
    sys.AddPort("ttyS3", "platform/serial8250/serial8250:0/serial8250:0.3", "port");
    sys.AddPort("ttyS4", "pnp0/00:00/00:00:0/00:00:0.0", "port");
    sys.Bind("pnp0/00:00/00:00:0", "ctrl");
    sys.Bind("pnp0/00:00", "serial");
    // usb-serial: the port sits below the interface, the interface below the USB device.
    sys.AddPort("ttyUSB0", "usb1/1-1/1-1:1.0/ttyUSB0", "ftdi_sio");
    sys.Write("usb1/1-1/idVendor", "0403");
    sys.Write("usb1/1-1/idProduct", "6001");
    sys.Write("usb1/1-1/manufacturer", "FTDI");
    sys.Write("usb1/1-1/product", "FT232R USB UART");
    sys.Write("usb1/1-1/serial", "A50285BI");
    // CDC ACM: the terminal's device is the interface itself; no manufacturer or serial here.
    sys.AddPort("ttyACM0", "usb1/1-2/1-2:1.0", "cdc_acm");
    sys.Write("usb1/1-2/idVendor", "2341");
    sys.Write("usb1/1-2/idProduct", "0043");
    sys.Write("usb1/1-2/product", "Arduino Uno");

    std::set<std::string> probed;
    auto uartExists = [&](const std::string& path) {
        probed.insert(path);
        return path != "/dev/ttyS1" && path != "/dev/ttyS3";
    };
    auto ports = ListSerialPorts(sys.Tty().string(), "/dev", uartExists);

    struct Row {
        const char* device;
        const char* description;
    };
    const Row expected[] = {
        {"/dev/ttyACM0", "Arduino Uno (2341:0043)"},
        {"/dev/ttyAMA0", "uart-pl011"},
        {"/dev/ttyS0", "serial8250"},
        {"/dev/ttyS2", "serial8250"},
        {"/dev/ttyS4", "serial"},
        {"/dev/ttyS10", "serial8250"},
        {"/dev/ttyUSB0", "FTDI FT232R USB UART (0403:6001, serial A50285BI)"},
    };
    ASSERT_EQ(ports.size(), std::size(expected));
    for (size_t i = 0; i < ports.size(); ++i) {
        EXPECT_EQ(ports[i].device, expected[i].device) << i;
        EXPECT_EQ(ports[i].description, expected[i].description) << i;
    }
    // Only 8250 ports need the UART check; opening the others would disturb them for nothing.
    EXPECT_EQ(probed, (std::set<std::string>{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3",
                                             "/dev/ttyS10"}));
}

TEST(PortList, AMissingTreeGivesNoPorts) {
    EXPECT_TRUE(ListSerialPorts("/nonexistent/sys/class/tty", "/dev", nullptr).empty());
}

}  // namespace

namespace {

TEST(PortList, NamesEachPortByItsStableLinkAndItsAdapter) {
    FakeSysfs sys;
    sys.AddPort("ttyUSB0", "usb1/1-1/1-1:1.0/ttyUSB0", "ftdi_sio");
    sys.Write("usb1/1-1/idVendor", "0403");
    sys.Write("usb1/1-1/idProduct", "6001");
    sys.Write("usb1/1-1/serial", "A50285BI");
    sys.AddPort("ttyS0", "platform/serial8250", "serial8250");
    // serial-core tells every user whether a UART is there: no probe needed, and none made.
    sys.AddPort("ttyS1", "platform/serial8250", "serial8250");
    sys.AddPort("ttyS2", "platform/serial8250", "serial8250");
    testpaths::WriteFile((sys.Tty() / "ttyS1/type").string(), "4\n");
    testpaths::WriteFile((sys.Tty() / "ttyS2/type").string(), "0\n");
    const fs::path dev = testpaths::TempDir();
    testpaths::WriteFile((dev / "ttyUSB0").string(), "");
    testpaths::WriteFile((dev / "ttyS0").string(), "");
    fs::create_directories(dev / "serial/by-id");
    fs::create_symlink("../../ttyUSB0", dev / "serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0");

    std::set<std::string> probed;
    auto ports = ListSerialPorts(sys.Tty().string(), dev.string(), [&](const std::string& path) {
        probed.insert(path);
        return true;
    });
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].device, (dev / "ttyS0").string());
    EXPECT_EQ(ports[0].stableName, "");
    EXPECT_EQ(ports[0].usbIdentity, "");
    EXPECT_EQ(ports[1].device, (dev / "ttyS1").string());
    EXPECT_EQ(ports[2].device, (dev / "ttyUSB0").string());
    EXPECT_EQ(ports[2].stableName, "usb-FTDI_FT232R_A50285BI-if00-port0");
    EXPECT_EQ(ports[2].usbIdentity, "0403:6001:A50285BI");
    EXPECT_EQ(probed, std::set<std::string>{(dev / "ttyS0").string()});
}

}  // namespace
