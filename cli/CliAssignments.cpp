#include "cli/CliAssignments.h"

#include "cli/CliOutput.h"
#include "form/ChannelSwitches.h"
#include "form/DeviceWrite.h"
#include "form/FormWindow.h"
#include "params/ParameterTable.h"
#include "params/SecretValues.h"
#include "params/UnitEncoding.h"
#include "params/ValueCheck.h"
#include "params/ValueText.h"
#include "ui/PaintManager.h"

namespace {

// A parameter a NAME=VALUE can write: a field, a list, or a transfer-channel mask.
bool IsSettable(const std::string& name, const ParameterEntry& entry) {
    return entry.kind == ControlKind::Edit || entry.kind == ControlKind::Combobox ||
           (entry.kind == ControlKind::Line && FindChannelEntry(name) != nullptr);
}

}  // namespace

std::string CheckAssignment(const ParameterTable& table, const Assignment& a) {
    const ParameterEntry* entry = table.FindParameter(a.name);
    if (!entry) {
        return "unknown parameter \"" + a.name +
               "\": NAME is a control name, such as \"Server's Ip\" (see read)";
    }
    if (!IsSettable(a.name, *entry)) return "\"" + a.name + "\" cannot be written";
    // The same rule the form applies to a typed value: a control byte would end the command
    // early and send the rest to the unit as a command of its own.
    if (HoldsControlByte(a.value)) {
        return "the value of \"" + a.name +
               "\" holds a control character (such as CR or LF) and is refused; "
               "nothing was written";
    }
    return {};
}

std::string CheckGivenValue(const Assignment& a) {
    // The unit's listing shows a value without its outer spaces: it could never be checked.
    if (!a.value.empty() && (a.value.front() == ' ' || a.value.back() == ' ')) {
        return "the value of \"" + a.name +
               "\" begins or ends with a space, which the unit's listing never shows back";
    }
    return ValueRefusal(a.name, a.value);
}

bool HasControl(FormWindow& frame, const std::string& name) {
    if (const ChannelEntry* channels = FindChannelEntry(name)) {
        for (const ChannelSwitch& s : channels->switches) {
            if (frame.paintManager.FindControl(std::string(s.name))) return true;
        }
        return false;
    }
    return frame.paintManager.FindControl(name) != nullptr;
}

std::string CheckCollected(FormWindow& frame, const Assignment& a,
                           const std::vector<CommandJob>& jobs) {
    const ParameterEntry& entry = *frame.parameterTable.FindParameter(a.name);
    // The value as the unit takes it: typed text in the unit's code page. A character the
    // code page lacks was refused by the form with its own line.
    std::string value;
    if (!EncodeForUnit(a.value, CodePageOf(frame.parameterTable), &value)) return {};
    const CommandJob* written = nullptr;
    for (const CommandJob& job : jobs) {
        if (job.key != a.name) continue;
        if (job.value == value) return {};
        written = &job;
    }
    if (!written && entry.value == value) return {};
    const std::string what = "\"" + a.name + "=" + UnitText(ShownValue(a.name, a.value)) + "\"";
    if (!IsOnScreen(frame, a.name)) {
        return what + " is not written: the unit's other settings hide it (or its tab is off)";
    }
    if (written) {
        return what + " cannot be shown in its control, which would write \"" +
               UnitText(ShownValue(a.name, written->value)) + "\"";
    }
    return what + " cannot be shown in its control, which keeps the unit's \"" +
           UnitText(ShownValue(a.name, entry.value)) + "\"";
}
