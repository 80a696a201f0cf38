#include "form/SessionLog.h"

#include <QDir>

#include "form/ConfigFiles.h"
#include "form/FormWindow.h"
#include "params/SecretValues.h"
#include "settings/AtomicFile.h"
#include "settings/Labels.h"
#include "settings/Settings.h"
#include "ui/Dialogs.h"
#include "ui/Log.h"

namespace {

// Enough for days of work on the line; the oldest half goes when it is reached.
constexpr std::size_t kSessionLogLimit = 8 * 1024 * 1024;
constexpr const char* kInitialName = "DTU.log";

ui::FileDialogSpec LogDialogSpec(int language) {
    ui::FileDialogSpec spec;
    if (language != 0) {
        spec.filters = {{"日志文件(*.log)", "*.log"}, {"所有文件(*.*)", "*.*"}};
    } else {
        spec.filters = {{"log(*.log)", "*.log"}, {"All File(*.*)", "*.*"}};
    }
    const std::string data = UserDataFolder();
    spec.initialFolder =
        DialogFolder(DialogKind::Other, data.empty() ? QDir::homePath().toStdString() : data);
    spec.initialName = kInitialName;
    return spec;
}

}  // namespace

void RecordSessionLog(std::string& log, std::string_view shown) {
    log += shown;
    if (log.size() <= kSessionLogLimit) return;
    // Cut at a line start so no line is kept half.
    std::size_t cut = log.find('\n', log.size() - kSessionLogLimit / 2);
    cut = cut == std::string::npos ? log.size() - kSessionLogLimit / 2 : cut + 1;
    log.erase(0, cut);
}

void SaveSessionLog(FormWindow& frame) {
    CStdString path;
    if (!ui::Dialogs().GetSaveFileName(LogDialogSpec(frame.language), &path)) return;
    RememberDialogFolder(frame, DialogKind::Other, path.str());
    const std::string masked = MaskSecretValues(frame.sessionLog, frame.parameterTable);
    std::string error;
    if (!ReplaceFileContents(path.str(), masked, &error, FileAccess::OwnerOnly)) {
        const std::string text =
            FilledLabel("SaveLog", "Failed", {{"path", path.str()}, {"reason", error}});
        ui::MessageBox(CStdString(text), ProgramTitle(), MB_OK | MB_ICONERROR);
        return;
    }
    LogAppend(frame, FilledLabel("SaveLog", "Saved", {{"path", path.str()}}) + "\r\n");
}
