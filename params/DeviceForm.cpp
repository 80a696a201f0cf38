#include "params/DeviceForm.h"

#include "app/FrameWnd.h"
#include "form/ChannelSwitches.h"
#include "form/TabStrip.h"
#include "params/ChannelSwitches.h"
#include "params/ComboReadRules.h"
#include "params/DeviceAnswer.h"
#include "params/ValueText.h"
#include "ui/Controls.h"

namespace {

// The layout codes a change of "ActivateMethod" and of "LORA Mode" post; a filled form posts
// them too, so their layouts follow the values just shown.
constexpr WPARAM kActivateMethodLayout = 1;
constexpr WPARAM kLoraModeLayout = 17;

void ShowCombo(CM5Z30FrameWnd& frame, const std::string& name, const ParameterEntry& entry) {
    auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(name));
    if (!combo) return;
    const ItemChoice choice = ChooseItem(name, entry.value, *combo, frame.parameterTable);
    // An item the list does not have leaves the selection as it was.
    if (choice.change) combo->SelectItem(choice.item);
}

void ShowEdit(CM5Z30FrameWnd& frame, const std::string& name, const ParameterEntry& entry) {
    // The value goes in as the unit's bytes; the field hands them back unchanged until edited.
    if (CControlUI* edit = frame.paintManager.FindControl(name)) edit->SetText(entry.value);
}

void ShowChannels(CM5Z30FrameWnd& frame, const std::string& name, const ParameterEntry& entry) {
    const ChannelEntry* channels = FindChannelEntry(name);
    if (!channels) return;  // "Device Type" only chooses the tabs
    const int mask = LeadingNumber(entry.value);
    for (const ChannelSwitch& s : channels->switches)
        SetSwitch(frame.paintManager, s.name, (mask & s.bit) != 0);
}

}  // namespace

LRESULT OnParseAnswer(CM5Z30FrameWnd& frame) {
    ParseDeviceAnswer(frame.parameterTable, frame.rxBuffer, frame.rxLength);
    ShowValues(frame);
    return 0;
}

void ShowValues(CM5Z30FrameWnd& frame) {
    ParameterTable& table = frame.parameterTable;
    ApplyDeviceTypeTabs(frame, table.ParameterAt("Device Type").value);
    frame.loraVersion = table.ParameterAt("LORA ver").value;
    for (const auto& [name, entry] : table) ShowEntryValue(frame, name, entry);
    frame.PostMessage(kMsgLayoutRule, kActivateMethodLayout, 0);
    frame.PostMessage(kMsgLayoutRule, kLoraModeLayout, 0);
}

void ShowEntryValue(CM5Z30FrameWnd& frame, const std::string& name, const ParameterEntry& entry) {
    switch (entry.kind) {
        case ControlKind::Combobox:
            ShowCombo(frame, name, entry);
            break;
        case ControlKind::Edit:
            ShowEdit(frame, name, entry);
            break;
        case ControlKind::Line:
            ShowChannels(frame, name, entry);
            break;
        case ControlKind::None:
            break;
    }
}
