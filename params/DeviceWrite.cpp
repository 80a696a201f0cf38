#include "params/DeviceWrite.h"

#include "app/FrameWnd.h"
#include "settings/Labels.h"
#include "engine/Log.h"
#include "form/ChannelSwitches.h"
#include "form/TabStrip.h"
#include "params/ChannelSwitches.h"
#include "params/ComboWriteRules.h"
#include "params/ConfigFiles.h"
#include "params/DeviceAnswer.h"
#include "params/ValueText.h"
#include "ui/Controls.h"

namespace {

struct Collection {
    CM5Z30FrameWnd& frame;
    const std::set<std::string>* writable;

    bool MayWrite(const std::string& name) const {
        return writable == nullptr || writable->count(name) != 0;
    }
    void Queue(const std::string& name, const ParameterEntry& entry, std::string_view value) {
        if (MayWrite(name)) QueueIfChanged(frame, name, entry, value);
    }
};

void CollectCombo(Collection& c, const std::string& name, const ParameterEntry& entry) {
    auto* combo = dynamic_cast<CComboUI*>(c.frame.paintManager.FindControl(name));
    if (!combo) return;
    const ComboWrite write = DeriveComboWrite(name, combo->GetCurSel(), combo->GetText());
    if (write.write) c.Queue(name, entry, write.value);
    if (write.sideEntry.empty()) return;
    const std::string sideName(write.sideEntry);
    if (const ParameterEntry* side = c.frame.parameterTable.FindParameter(sideName)) {
        c.Queue(sideName, *side, write.sideValue);
    }
}

void CollectEdit(Collection& c, const std::string& name, const ParameterEntry& entry) {
    // The text as the field holds it: untrimmed, and the unit's own bytes while unedited.
    if (CControlUI* edit = c.frame.paintManager.FindControl(name)) {
        c.Queue(name, entry, edit->GetText().str());
    }
}

void CollectChannels(Collection& c, const std::string& name, const ParameterEntry& entry) {
    const ChannelEntry* channels = FindChannelEntry(name);
    if (!channels) return;  // "Device Type" is never written
    int mask = LeadingNumber(entry.value) & channels->keptBits;
    for (const ChannelSwitch& s : channels->switches) {
        if (IsSwitchOn(c.frame.paintManager, s.name)) mask |= s.bit;
    }
    c.Queue(name, entry, std::to_string(mask));
}

}  // namespace

bool QueueIfChanged(CM5Z30FrameWnd& frame, const std::string& name, const ParameterEntry& entry,
                    std::string_view value) {
    if (value == entry.value) return false;
    if (HoldsControlByte(value)) {
        LogAppend(frame, LabelText("Notify", "ValueNotice").str() + name + "\r\n");
        return false;
    }
    CommandJob job;
    job.type = WriteParameter;
    job.command = entry.atCommand + "=" + std::string(value) + "\r\n";
    job.key = name;
    job.value = value;
    frame.jobQueue.PushJob(job);
    return true;
}

void CollectWrites(CM5Z30FrameWnd& frame) {
    CollectWrites(frame, nullptr);
}

void CollectWrites(CM5Z30FrameWnd& frame, const std::set<std::string>* writable) {
    Collection c{frame, writable};
    for (const auto& [name, entry] : frame.parameterTable) {
        if (!entry.shown || !IsTabEnabled(frame.tabTable, entry.tab)) continue;
        switch (entry.kind) {
            case ControlKind::Combobox:
                CollectCombo(c, name, entry);
                break;
            case ControlKind::Edit:
                CollectEdit(c, name, entry);
                break;
            case ControlKind::Line:
                CollectChannels(c, name, entry);
                break;
            case ControlKind::None:
                break;
        }
    }
}

void ParseApplyAnswer(CM5Z30FrameWnd& frame) {
    ParseDeviceAnswer(frame.parameterTable, frame.rxBuffer, frame.rxLength);
    CollectWrites(frame, LoadedFileParameters(frame));
}
