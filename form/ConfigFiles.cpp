#include "form/ConfigFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>

#include "form/DeviceForm.h"
#include "form/FormWindow.h"
#include "form/Questions.h"
#include "params/ConfigFileRead.h"
#include "params/ConfigFileText.h"
#include "params/DeviceAnswer.h"
#include "params/Listing.h"
#include "params/ListingCheck.h"
#include "settings/AtomicFile.h"
#include "settings/Labels.h"
#include "settings/Settings.h"
#include "ui/Log.h"
#include "ui/PaintManager.h"

namespace {

constexpr const char* kInitialName = "DTU.cfg";

static_assert(kListingTextLimit < kRxBufferSize, "a loaded listing and its zero fit the buffer");

std::string InitialFolder() {
#ifdef _WIN32
    return "D:\\Program Files";
#else
    // Backups go with the engineer's other data, never beside an installed program.
    const std::string data = UserDataFolder();
    return data.empty() ? QDir::homePath().toStdString() : data;
#endif
}

const char* KindKey(DialogKind kind) {
    switch (kind) {
        case DialogKind::LoadCfg:
            return "LoadCfg";
        case DialogKind::SaveCfg:
            return "SaveCfg";
        case DialogKind::Other:
            break;
    }
    return "Other";
}

std::string SettingsFile() {
    return ConfigIniPath(CPaintManagerUI::GetInstancePath().str());
}

ui::FileDialogSpec DialogSpec(int language, const char* allFilesEnglish, bool mustExist) {
    ui::FileDialogSpec spec;
    if (language != 0) {
        spec.filters = {{"cfg文件(*.cfg)", "*.cfg"}, {"所有文件(*.*)", "*.*"}};
    } else {
        spec.filters = {{"cfg(*.cfg)", "*.cfg"}, {allFilesEnglish, "*.*"}};
    }
    spec.selectedFilter = 0;
    spec.initialFolder =
        DialogFolder(mustExist ? DialogKind::LoadCfg : DialogKind::SaveCfg, InitialFolder());
    spec.initialName = kInitialName;
    spec.mustExist = mustExist;
    return spec;
}

void PushListingJob(FormWindow& frame, JobType type) {
    CommandJob job;
    job.type = type;
    job.command = kListingCommand;
    frame.jobQueue.PushJob(job);
}

}  // namespace

std::string ListingRefusalLabel(const ListingCheck& check) {
    const auto quoted = [](const std::vector<std::string>& labels) {
        std::string text;
        for (const std::string& label : labels)
            text += (text.empty() ? "\"" : ", \"") + label + "\"";
        return text;
    };
    switch (check.refusal) {
        case ListingRefusal::None:
            return {};
        case ListingRefusal::Empty:
            return LabelText("LoadFile", "Empty").str();
        case ListingRefusal::NoAnchor:
            return LabelText("LoadFile", "NoAnchor").str();
        case ListingRefusal::NoValues:
            return LabelText("LoadFile", "NoValues").str();
        case ListingRefusal::LabelsTwice:
            return FilledLabel("LoadFile", "LabelsTwice", {{"labels", quoted(check.labelsTwice)}});
        case ListingRefusal::ValuesAboveAnchor:
            return FilledLabel("LoadFile", "ValuesAboveAnchor",
                               {{"labels", quoted(check.labelsAboveAnchor)}});
    }
    return {};
}

ui::FileDialogSpec OpenDialogSpec(int language) {
    return DialogSpec(language, " All File(*.*)", true);
}

ui::FileDialogSpec SaveDialogSpec(int language) {
    return DialogSpec(language, "All File(*.*)", false);
}

const std::set<std::string>* LoadedFileParameters(const FormWindow& frame) {
    return frame.loadedFileParameters ? &*frame.loadedFileParameters : nullptr;
}

std::string DialogFolder(DialogKind kind, const std::string& fallback) {
    const std::string config = SettingsFile();
    const std::string folder =
        config.empty() ? std::string() : ReadDialogFolder(config, KindKey(kind));
    // A folder since removed (a stick taken out) would open the dialog nowhere useful.
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_directory(folder, ec) ? folder : fallback;
}

void RememberDialogFolder(const FormWindow& frame, DialogKind kind, const std::string& file) {
    // The command line names its files itself; only the engineer's dialogs are remembered.
    if (frame.questionAnswer) return;
    const std::string config = SettingsFile();
    const std::string folder = std::filesystem::path(file).parent_path().string();
    if (config.empty() || folder.empty()) return;
    // Not kept is not worth a box: the next dialog opens where it would have anyway.
    WriteDialogFolder(config, KindKey(kind), folder);
}

void SaveToFile(FormWindow& frame) {
    CStdString path;
    if (!ui::Dialogs().GetSaveFileName(SaveDialogSpec(frame.language), &path)) return;
    RememberDialogFolder(frame, DialogKind::SaveCfg, path.str());
    frame.configFilePath = path;
    PushListingJob(frame, JobType::ReadForSave);
}

void LoadFromFile(FormWindow& frame) {
    CStdString path;
    if (!ui::Dialogs().GetOpenFileName(OpenDialogSpec(frame.language), &path)) return;
    RememberDialogFolder(frame, DialogKind::LoadCfg, path.str());
    LoadConfigFile(frame, path);
}

void LoadConfigFile(FormWindow& frame, const CStdString& path) {
    if (ShowConfigFile(frame, path)) ApplyShownFile(frame);
}

bool OpenConfigFileAtStart(FormWindow& frame, const CStdString& path) {
    frame.fileAwaitsApply = ShowConfigFile(frame, path);
    // Opened from the desktop, the form alone would not say which file it shows, nor that the
    // unit has none of it yet.
    if (frame.fileAwaitsApply) {
        const std::size_t count =
            frame.loadedFileParameters ? frame.loadedFileParameters->size() : 0;
        LogAppend(frame, FilledLabel("LoadFile", "Shown",
                                     {{"path", path.str()}, {"count", std::to_string(count)}}) +
                             "\r\n");
    }
    return frame.fileAwaitsApply;
}

void ApplyShownFile(FormWindow& frame) {
    frame.fileAwaitsApply = false;
    PushListingJob(frame, JobType::ReadForApply);
}

namespace {

// The label with {count} replaced.
std::string WithCount(const char* key, int count) {
    return FilledLabel("LoadFile", key, {{"count", std::to_string(count)}});
}

// The file's listing, checked whole before anything of it is shown; empty with the reason
// logged when it cannot stand for a unit or the engineer does not go on with a cut one.
std::optional<ListingCheck> CheckedFile(FormWindow& frame, const CStdString& path) {
    ListingCheck check;
    // The label carries no line end of its own; the log's lines all end in one.
    const std::string readError = LabelText("onLoadFrommFile", "ReadError").str();
    if (!ReadConfigFile(path, &check)) {
        LogAppend(frame, readError + "\r\n");
        return std::nullopt;
    }
    if (check.Refused()) {
        const std::string reason = ListingRefusalLabel(check);
        LogAppend(frame, readError + (reason.empty() ? "" : " " + reason) + "\r\n");
        return std::nullopt;
    }
    if (!check.closed) {
        LogAppend(frame, WithCount("CutNotice", check.values) + "\r\n");
        if (!AskToGoOn(frame, Question::CutFile, WithCount("Cut", check.values))) {
            return std::nullopt;
        }
    }
    return check;
}

}  // namespace

bool ShowConfigFile(FormWindow& frame, const CStdString& path) {
    frame.configFilePath = path;
    // A file without a single value (empty, cut before its first line, not a listing) would
    // only re-show the old values and then write them to the unit as if the file held them.
    const std::optional<ListingCheck> check = CheckedFile(frame, path);
    if (!check) return false;
    const std::string& listing = check->text;
    const int length = static_cast<int>(listing.size());
    // Parsed from its own text: the receive buffer belongs to the line and a listing pending.
    frame.loadedFileParameters = ParametersInListing(frame.parameterTable, listing);
    // The form shows the file, but the table goes on holding what the unit last reported or
    // confirmed: were the file's values left in it, an apply whose read is never answered
    // would leave the form and the table alike, and a save would then write nothing.
    std::map<std::string, std::string> unitValues;
    for (const auto& [name, entry] : frame.parameterTable) unitValues[name] = entry.value;
    ParseDeviceAnswer(frame.parameterTable, listing.data(), length);
    frame.fileValues.clear();
    for (const std::string& name : frame.loadedFileParameters.value()) {
        frame.fileValues[name] = frame.parameterTable.ParameterAt(name).value;
    }
    ShowValues(frame);
    for (const auto& [name, value] : unitValues) frame.parameterTable.SetValue(name, value);
    return true;
}

void WriteConfigFile(FormWindow& frame) {
    const std::string_view listing(frame.rxBuffer, strnlen(frame.rxBuffer, sizeof frame.rxBuffer));
    // The old backup is replaced only by a complete new one; a failure on the way keeps it.
    std::string error;
    if (!ReplaceFileContents(frame.configFilePath.str(), EncodeConfigText(listing), &error)) {
        ui::MessageBox(LabelText("SaveToFile", "OpenError"), ProgramTitle(), MB_OK);
        return;
    }
    LogAppend(frame,
              FilledLabel("SaveToFile", "Saved", {{"path", frame.configFilePath.str()}}) + "\r\n");
}
