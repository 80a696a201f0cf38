#include "form/DeviceWrite.h"

#include "form/AutoBackup.h"
#include "form/ChannelSwitches.h"
#include "form/FieldLabel.h"
#include "form/FormWindow.h"
#include "form/TabStrip.h"
#include "form/WriteRefusal.h"
#include "params/ComboWriteRules.h"
#include "params/DeviceAnswer.h"
#include "params/UnitEncoding.h"
#include "params/ValueText.h"
#include "settings/Labels.h"
#include "ui/Controls.h"
#include "ui/Log.h"
#include "ui/TextCodec.h"

namespace {

struct Derivation {
    FormWindow& frame;
    bool onScreen;
    std::vector<FormValue> values;
    bool maskGiven = false;

    UnitCodePage codePage = CodePageOf(frame.parameterTable);

    void Give(const std::string& source, const std::string& name, std::string value,
              bool unencodable = false, bool unitItem = false) {
        values.push_back({source, name, std::move(value), unencodable, unitItem});
    }
};

// What the parameter's controls show: its own control (any one switch of a mask) visible on
// its page, every container above it visible.
bool IsControlVisible(CPaintManagerUI& pm, const std::string& name, const ParameterEntry& entry) {
    if (entry.kind == ControlKind::Line) {
        const ChannelEntry* channels = FindChannelEntry(name);
        if (!channels) return false;
        for (const ChannelSwitch& s : channels->switches) {
            CControlUI* control = pm.FindControl(std::string(s.name));
            if (control && control->IsVisible()) return true;
        }
        return false;
    }
    CControlUI* control = pm.FindControl(name);
    return control && control->IsVisible();
}

void DeriveCombo(Derivation& d, const std::string& name) {
    auto* combo = dynamic_cast<CComboUI*>(d.frame.paintManager.FindControl(name));
    if (!combo) return;
    // The unit's own item stands for the unit's value, whatever the list's rule would make of it.
    if (const CListLabelElementUI* item = combo->GetItemAt(combo->GetCurSel());
        item && item->IsUnitValue()) {
        d.Give(name, name, item->UnitValue(), false, true);
        return;
    }
    const ComboWrite write = DeriveComboWrite(name, combo->GetCurSel(), combo->GetText());
    if (write.write) d.Give(name, name, write.value);
    if (write.sideEntry.empty()) return;
    const std::string sideName(write.sideEntry);
    if (d.frame.parameterTable.FindParameter(sideName)) {
        d.Give(name, sideName, std::string(write.sideValue));
    }
}

void DeriveEdit(Derivation& d, const std::string& name) {
    // The text as the field holds it: untrimmed, and the unit's own bytes while unedited.
    CControlUI* edit = d.frame.paintManager.FindControl(name);
    if (!edit) return;
    const std::string text = edit->GetText().str();
    std::string bytes;
    if (EncodeForUnit(text, d.codePage, &bytes)) {
        d.Give(name, name, std::move(bytes));
    } else {
        d.Give(name, name, text, true);
    }
}

void DeriveChannels(Derivation& d, const std::string& name, const ParameterEntry& entry) {
    const ChannelEntry* channels = FindChannelEntry(name);
    if (!channels) return;  // "Device Type" is never written
    // One unit, one AT+ZDATCHAN: the first mask on screen (its module's tab is the enabled one).
    if (d.onScreen && d.maskGiven) return;
    d.maskGiven = true;
    // Bits without a switch come from what the form shows: a loaded file's, else the unit's.
    const auto file = d.frame.fileValues.find(name);
    const std::string& base = file != d.frame.fileValues.end() ? file->second : entry.value;
    int mask = LeadingNumber(base) & channels->keptBits;
    for (const ChannelSwitch& s : channels->switches) {
        if (IsSwitchOn(d.frame.paintManager, s.name)) mask |= s.bit;
    }
    d.Give(name, name, std::to_string(mask));
}

}  // namespace

bool IsOnScreen(FormWindow& frame, const std::string& name) {
    const ParameterEntry* entry = frame.parameterTable.FindParameter(name);
    return entry && entry->shown && IsTabEnabled(frame.tabTable, entry->tab) &&
           IsControlVisible(frame.paintManager, name, *entry);
}

std::vector<FormValue> FormValues(FormWindow& frame, bool onScreen) {
    Derivation d{frame, onScreen, {}};
    for (const auto& [name, entry] : frame.parameterTable) {
        if (onScreen && !IsOnScreen(frame, name)) continue;
        switch (entry.kind) {
            case ControlKind::Combobox:
                DeriveCombo(d, name);
                break;
            case ControlKind::Edit:
                DeriveEdit(d, name);
                break;
            case ControlKind::Line:
                DeriveChannels(d, name, entry);
                break;
            case ControlKind::None:
                break;
        }
    }
    return std::move(d.values);
}

bool QueueIfChanged(FormWindow& frame, const std::string& name, const ParameterEntry& entry,
                    std::string_view value) {
    if (value == entry.value) return false;
    if (HoldsControlByte(value)) {
        LogAppend(frame, LabelText("Notify", "ValueNotice").str() +
                             FieldLabel(frame.paintManager, name) + "\r\n");
        return false;
    }
    CommandJob job;
    job.type = JobType::WriteParameter;
    job.command = entry.atCommand + "=" + std::string(value) + "\r\n";
    job.key = name;
    job.value = value;
    frame.jobQueue.PushJob(job);
    return true;
}

void CollectWrites(FormWindow& frame) {
    CollectWrites(frame, static_cast<const std::set<std::string>*>(nullptr));
}

int CollectWrites(FormWindow& frame, const std::set<std::string>* writable) {
    return CollectWrites(frame, [writable](const FormValue& v) {
        return writable == nullptr || writable->count(v.name) != 0;
    });
}

int CollectWrites(FormWindow& frame, const std::function<bool(const FormValue&)>& mayWrite) {
    StartWriteRun(frame);
    frame.refusedWrites.clear();
    int queued = 0;
    for (const FormValue& v : FormValues(frame, true)) {
        if (!mayWrite(v)) continue;
        const ParameterEntry* entry = frame.parameterTable.FindParameter(v.name);
        if (!entry) continue;
        if (const WriteRefusal refusal = RefusalOf(frame, v, *entry)) {
            LogAppend(frame, RefusalLine(refusal, FieldLabel(frame.paintManager, v.name)));
            frame.refusedWrites.push_back(v.name);
            continue;
        }
        if (QueueIfChanged(frame, v.name, *entry, v.value)) ++queued;
    }
    return queued;
}
