#pragma once
// Where the tests find the repository's files and the build's outputs, and their own files.
#include <string>

namespace testpaths {
// The repository root (DTU_SOURCE_DIR, set by CTest; falls back to the compile-time root).
std::string SourceDir();
// The build folder, where the program and the copied skin folders are.
std::string BinaryDir();
// A fresh empty temporary folder, removed when the process ends.
std::string TempDir();
// Points XDG_DATA_HOME (where the automatic backups go) at a fresh empty folder and returns
// it. Call before any thread of the test runs.
std::string FreshDataHome();
// Creates or replaces the file with exactly these bytes.
void WriteFile(const std::string& path, const std::string& bytes);
// The file's bytes, or "" when it cannot be read.
std::string ReadFile(const std::string& path);
}  // namespace testpaths
