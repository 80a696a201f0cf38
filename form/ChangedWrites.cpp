#include "form/ChangedWrites.h"

#include <map>

#include "form/AutoBackup.h"
#include "form/ConfigFiles.h"
#include "form/DeviceWrite.h"
#include "form/FormWindow.h"
#include "form/ReadBack.h"
#include "settings/Labels.h"
#include "ui/Log.h"

namespace {

// A side write and the parameter's own list may give one parameter different values.
std::string KeyOf(const FormValue& v) {
    return v.source + '\x1f' + v.name;
}

std::map<std::string, std::string> AllFormValues(FormWindow& frame) {
    std::map<std::string, std::string> values;
    for (FormValue& v : FormValues(frame, false)) values[KeyOf(v)] = std::move(v.value);
    return values;
}

}  // namespace

void RememberFormAsRead(FormWindow& frame) {
    frame.pendingMarksDue = true;
    frame.formAsRead = AllFormValues(frame);
    frame.formReadOnPort = true;
    // The form now shows the unit, not the file opened at start.
    frame.fileAwaitsApply = false;
}

void ForgetFormAsRead(FormWindow& frame) {
    frame.pendingMarksDue = true;
    // What was read stays the measure of the edits still shown, so they stay marked; nothing
    // is written from it before the unit on this port has been read.
    frame.formReadOnPort = false;
    frame.confirmedWrites.clear();
    ForgetConnectionBackup(frame);
}

void RememberFormAsApplied(FormWindow& frame, const std::set<std::string>& fileParameters) {
    frame.pendingMarksDue = true;
    // Changes made before the file was loaded stay changes; the file's are dropped from memory.
    std::map<std::string, std::string> remembered = frame.formAsRead.value_or(AllFormValues(frame));
    std::erase_if(remembered, [&fileParameters](const auto& kv) {
        return fileParameters.count(kv.first.substr(kv.first.find('\x1f') + 1)) != 0;
    });
    frame.formAsRead = std::move(remembered);
    // The apply read the unit on this port first.
    frame.formReadOnPort = true;
}

void RememberConfirmedWrite(FormWindow& frame, const std::string& name) {
    frame.pendingMarksDue = true;
    if (const ParameterEntry* entry = frame.parameterTable.FindParameter(name)) {
        // The first confirmation of a run queues the read-back behind the run's other writes;
        // a run the unit confirmed nothing of has nothing to check.
        const bool first = frame.confirmedWrites.empty();
        frame.confirmedWrites[name] = entry->value;
        if (first) QueueReadBack(frame);
    }
    if (!frame.formAsRead) return;
    for (FormValue& v : FormValues(frame, false)) {
        if (v.name == name) (*frame.formAsRead)[KeyOf(v)] = std::move(v.value);
    }
}

bool ChangedSinceRead(const FormWindow& frame, const FormValue& value) {
    if (!frame.formAsRead) return true;
    const auto it = frame.formAsRead->find(KeyOf(value));
    return it == frame.formAsRead->end() || it->second != value.value;
}

bool CollectChangedWrites(FormWindow& frame) {
    // A file opened at start, before any read: Save applies it as LoadFromFile would.
    if (!frame.formAsRead && frame.fileAwaitsApply) {
        ApplyShownFile(frame);
        return true;
    }
    return CollectChangedWrites(frame, [](const FormValue&) { return true; });
}

bool CollectChangedWrites(FormWindow& frame,
                          const std::function<bool(const FormValue&)>& mayWrite) {
    if (!frame.formAsRead || !frame.formReadOnPort) {
        LogAppend(frame, LabelText("Notify", "NoReadNotice", "\r\n").str());
        return false;
    }
    CollectWrites(frame, [&frame, &mayWrite](const FormValue& v) {
        return ChangedSinceRead(frame, v) && mayWrite(v);
    });
    return true;
}
