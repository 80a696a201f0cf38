#include "form/ConfigFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstring>
#include <map>

#include "app/FrameWnd.h"
#include "form/DeviceForm.h"
#include "params/AtomicFile.h"
#include "params/ConfigFileText.h"
#include "params/DeviceAnswer.h"
#include "params/Listing.h"
#include "params/ListingCheck.h"
#include "settings/Labels.h"
#include "settings/Settings.h"
#include "ui/Log.h"

namespace {

constexpr const char* kInitialName = "DTU.cfg";
constexpr const char* kBoxCaption = "DTU";

// Each character of the listing comes from at most two file bytes (CR CR LF gives CR LF); a
// few bytes more tell whether CRs at the end are the start of a line end. No file is read further.
constexpr qint64 kMaxFileBytes = 2 * static_cast<qint64>(kListingTextLimit) + 8;
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

ui::FileDialogSpec DialogSpec(int language, const char* allFilesEnglish, bool mustExist) {
    ui::FileDialogSpec spec;
    if (language != 0) {
        spec.filters = {{"cfg文件(*.cfg)", "*.cfg"}, {"所有文件(*.*)", "*.*"}};
    } else {
        spec.filters = {{"cfg(*.cfg)", "*.cfg"}, {allFilesEnglish, "*.*"}};
    }
    spec.selectedFilter = 0;
    spec.initialFolder = InitialFolder();
    spec.initialName = kInitialName;
    spec.mustExist = mustExist;
    return spec;
}

void PushListingJob(CM5Z30FrameWnd& frame, JobType type) {
    CommandJob job;
    job.type = type;
    job.command = kListingCommand;
    frame.jobQueue.PushJob(job);
}

}  // namespace

bool ReadConfigListing(const CStdString& path, std::string* listing) {
    QFile file(QString::fromUtf8(path.GetData()));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.read(kMaxFileBytes);
    if (file.error() != QFileDevice::NoError) return false;
    *listing = DecodeListingFile(std::string_view(bytes.constData(), bytes.size()));
    return true;
}

std::set<std::string> ListedParameters(const ParameterTable& table, const std::string& listing) {
    return ParametersInListing(table, listing);
}

ui::FileDialogSpec OpenDialogSpec(int language) {
    return DialogSpec(language, " All File(*.*)", true);
}

ui::FileDialogSpec SaveDialogSpec(int language) {
    return DialogSpec(language, "All File(*.*)", false);
}

const std::set<std::string>* LoadedFileParameters(const CM5Z30FrameWnd& frame) {
    return frame.loadedFileParameters ? &*frame.loadedFileParameters : nullptr;
}

void SaveToFile(CM5Z30FrameWnd& frame) {
    CStdString path;
    if (!ui::Dialogs().GetSaveFileName(SaveDialogSpec(frame.language), &path)) return;
    frame.configFilePath = path;
    PushListingJob(frame, JobType::ReadForSave);
}

void LoadFromFile(CM5Z30FrameWnd& frame) {
    CStdString path;
    if (!ui::Dialogs().GetOpenFileName(OpenDialogSpec(frame.language), &path)) return;
    LoadConfigFile(frame, path);
}

void LoadConfigFile(CM5Z30FrameWnd& frame, const CStdString& path) {
    if (ShowConfigFile(frame, path)) ApplyShownFile(frame);
}

bool OpenConfigFileAtStart(CM5Z30FrameWnd& frame, const CStdString& path) {
    frame.fileAwaitsApply = ShowConfigFile(frame, path);
    return frame.fileAwaitsApply;
}

void ApplyShownFile(CM5Z30FrameWnd& frame) {
    frame.fileAwaitsApply = false;
    PushListingJob(frame, JobType::ReadForApply);
}

bool ShowConfigFile(CM5Z30FrameWnd& frame, const CStdString& path) {
    frame.configFilePath = path;
    std::string listing;
    std::set<std::string> held;
    if (ReadConfigListing(path, &listing)) held = ListedParameters(frame.parameterTable, listing);
    // A file without a single value (empty, cut before its first line, not a listing) would
    // only re-show the old values and then write them to the unit as if the file held them.
    if (held.empty()) {
        // The label carries no line end of its own; the log's lines all end in one.
        LogViewAppend(frame.logView, LabelText("onLoadFrommFile", "ReadError", "\r\n"));
        return false;
    }
    std::memcpy(frame.rxBuffer, listing.data(), listing.size());
    frame.rxBuffer[listing.size()] = '\0';
    frame.rxLength = static_cast<int>(listing.size());
    frame.loadedFileParameters = std::move(held);
    // The form shows the file, but the table goes on holding what the unit last reported or
    // confirmed: were the file's values left in it, an apply whose read is never answered
    // would leave the form and the table alike, and a save would then write nothing.
    std::map<std::string, std::string> unitValues;
    for (const auto& [name, entry] : frame.parameterTable) unitValues[name] = entry.value;
    ParseDeviceAnswer(frame.parameterTable, frame.rxBuffer, frame.rxLength);
    frame.fileValues.clear();
    for (const std::string& name : frame.loadedFileParameters.value()) {
        frame.fileValues[name] = frame.parameterTable.ParameterAt(name).value;
    }
    ShowValues(frame);
    for (const auto& [name, value] : unitValues) frame.parameterTable.SetValue(name, value);
    return true;
}

void WriteConfigFile(CM5Z30FrameWnd& frame) {
    const std::string_view listing(frame.rxBuffer, strnlen(frame.rxBuffer, sizeof frame.rxBuffer));
    // The old backup is replaced only by a complete new one; a failure on the way keeps it.
    std::string error;
    if (!ReplaceFileContents(frame.configFilePath.str(), EncodeConfigText(listing), &error)) {
        ui::MessageBox(LabelText("SaveToFile", "OpenError"), kBoxCaption, MB_OK);
    }
}
