#include "tests/support/TestPaths.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace testpaths {

namespace {
std::string FromEnv(const char* name, const char* fallback) {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}
}  // namespace

std::string SourceDir() {
    return FromEnv("DTU_SOURCE_DIR", DTU_TEST_SOURCE_DIR);
}
std::string BinaryDir() {
    return FromEnv("DTU_BINARY_DIR", DTU_TEST_BINARY_DIR);
}

std::string TempDir() {
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    dirs.push_back(std::make_unique<QTemporaryDir>());
    return QDir(dirs.back()->path()).absolutePath().toStdString();
}

std::string FreshDataHome() {
    const std::string dir = TempDir();
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir));
    return dir;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace testpaths
