#include "form/BackupHistory.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include "form/ConfigFiles.h"
#include "form/FormWindow.h"
#include "params/ConfigFileRead.h"
#include "params/ListingValues.h"
#include "settings/Labels.h"
#include "ui/Dialogs.h"

namespace {

constexpr const char* kSection = "History";

std::string RowText(const HistoryEntry& entry) {
    std::string text = LabelText(kSection, "Row").str();
    const auto fill = [&text](const std::string& mark, const std::string& value) {
        const std::size_t at = text.find(mark);
        if (at != std::string::npos) text.replace(at, mark.size(), value);
    };
    fill("{time}", BackupLocalTime(entry.backup));
    fill("{count}", entry.differing < 0 ? "?" : std::to_string(entry.differing));
    return text;
}

}  // namespace

std::string BackupLocalTime(const BackupFile& backup) {
    // The name: yyyymmddThhmmss, then milliseconds, "Z" and maybe a suffix.
    constexpr int kStampLength = 15;
    const QString stamp = QString::fromStdString(backup.time).left(kStampLength);
    QDateTime when = QDateTime::fromString(stamp, "yyyyMMdd'T'HHmmss");
    if (!when.isValid()) return backup.time;
    when.setTimeZone(QTimeZone::utc());
    return when.toLocalTime().toString("yyyy-MM-dd HH:mm:ss").toStdString();
}

std::vector<HistoryEntry> UnitHistory(FormWindow& frame) {
    const std::string& now = frame.connectionBackup.listing;
    if (now.empty()) return {};
    std::vector<HistoryEntry> entries;
    for (const BackupFile& backup : ListBackups(UnitNameOfListing(now))) {
        std::string listing;
        const int differing = ReadConfigListing(backup.path, &listing)
                                  ? static_cast<int>(DifferingValues(listing, now).size())
                                  : -1;
        entries.insert(entries.begin(), HistoryEntry{backup, differing});
    }
    return entries;
}

void ShowHistory(FormWindow& frame) {
    if (frame.connectionBackup.listing.empty()) {
        ui::MessageBox(LabelText(kSection, "NoRead"), ProgramTitle(), MB_OK);
        return;
    }
    const std::vector<HistoryEntry> entries = UnitHistory(frame);
    if (entries.empty()) {
        ui::MessageBox(LabelText(kSection, "None"), ProgramTitle(), MB_OK);
        return;
    }
    std::vector<std::string> rows;
    for (const HistoryEntry& entry : entries) rows.push_back(RowText(entry));
    int chosen = -1;
    if (!ui::Dialogs().ChooseItem(LabelText(kSection, "Caption").str(),
                                  LabelText(kSection, "Prompt").str(), rows, &chosen)) {
        return;
    }
    LoadConfigFile(frame, entries[static_cast<std::size_t>(chosen)].backup.path);
}
