#pragma once
// The session log of --log: what the log view shows, one line at a time, each line led by the
// time it began. Line ends become LF; the unit's bytes are written as UTF-8; passwords are
// masked (MaskSecretValues), and the file is its owner's alone.
//
// Threads: the UI thread (the log tap).
#include <cstdio>
#include <string>
#include <string_view>

class CliLogFile {
  public:
    CliLogFile() = default;
    ~CliLogFile();
    CliLogFile(const CliLogFile&) = delete;
    CliLogFile& operator=(const CliLogFile&) = delete;

    // Creates or truncates the file, readable by its owner only; false with the system's
    // reason in *error.
    bool Open(const std::string& path, std::string* error);
    // Adds text as the log view received it (any piece of a line).
    void Append(std::string_view text);
    // Writes an unfinished last line and closes the file.
    void Close();

  private:
    void WriteLine();

    std::FILE* file_ = nullptr;
    std::string line_;
    std::string stamp_;  // when the current line began
};
