#pragma once
// A sysfs-like tree for the port list: class/tty/<name>/device links into devices/, drivers
// under drivers/, in a fresh temporary folder.
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/TestPaths.h"

namespace testsupport {

class FakeSysfs {
  public:
    FakeSysfs() : root(testpaths::TempDir()) { std::filesystem::create_directories(Tty()); }

    std::filesystem::path Tty() const { return root / "class" / "tty"; }

    // A terminal whose "device" link leads to devices/<devicePath>, bound to driver (if any).
    void AddPort(const std::string& name, const std::string& devicePath,
                 const std::string& driver) {
        Bind(devicePath, driver);
        std::filesystem::create_directories(Tty() / name);
        std::filesystem::create_directory_symlink(root / "devices" / devicePath,
                                                  Tty() / name / "device");
    }

    // Binds the device folder devices/<devicePath> to driver (once: ports may share a device).
    void Bind(const std::string& devicePath, const std::string& driver) {
        std::filesystem::path device = root / "devices" / devicePath;
        std::filesystem::create_directories(device);
        if (std::filesystem::exists(device / "driver")) return;
        std::filesystem::create_directories(root / "drivers" / driver);
        std::filesystem::create_directory_symlink(root / "drivers" / driver, device / "driver");
    }

    void AddVirtual(const std::string& name) {
        std::filesystem::create_directories(Tty() / name);
        std::ofstream(Tty() / name / "dev") << "4:0\n";
    }

    void Write(const std::string& relative, const std::string& text) {
        std::ofstream(root / "devices" / relative) << text << "\n";
    }

    std::filesystem::path root;
};

}  // namespace testsupport
