#include "cli/CliLogFile.h"

#include <QDateTime>
#include <cerrno>
#include <cstring>

#include "cli/CliOutput.h"

CliLogFile::~CliLogFile() {
    Close();
}

bool CliLogFile::Open(const std::string& path, std::string* error) {
    Close();
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) *error = std::strerror(errno);
    return file_ != nullptr;
}

void CliLogFile::Append(std::string_view text) {
    if (!file_) return;
    for (char c : text) {
        if (c == '\r') continue;
        if (stamp_.empty()) {
            stamp_ = QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss.zzz").toStdString();
        }
        if (c == '\n') {
            WriteLine();
        } else {
            line_ += c;
        }
    }
}

void CliLogFile::Close() {
    if (!file_) return;
    if (!stamp_.empty()) WriteLine();
    std::fclose(file_);
    file_ = nullptr;
}

void CliLogFile::WriteLine() {
    // Whole lines are decoded, so a character split between two received blocks stays whole.
    const std::string line = stamp_ + "  " + UnitText(line_) + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
    line_.clear();
    stamp_.clear();
}
