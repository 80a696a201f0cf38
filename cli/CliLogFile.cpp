#include "cli/CliLogFile.h"

#include <QDateTime>

#include "cli/CliOutput.h"
#include "params/ParameterTable.h"
#include "params/SecretValues.h"
#include "settings/AtomicFile.h"

CliLogFile::~CliLogFile() {
    Close();
}

bool CliLogFile::Open(const std::string& path, std::string* error) {
    Close();
    // The log holds a unit's settings: for its owner alone, also when it was there before.
    file_ = OpenOwnerOnlyFile(path, error);
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
    // Whole lines are decoded, so a character split between two received blocks stays whole;
    // a password written or listed on it is masked, as the window's Save log masks it.
    static const ParameterTable table = [] {
        ParameterTable built;
        BuildParameterTable(built);
        return built;
    }();
    const std::string line = stamp_ + "  " + UnitText(MaskSecretValues(line_, table)) + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
    line_.clear();
    stamp_.clear();
}
