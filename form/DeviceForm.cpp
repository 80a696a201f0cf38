#include "form/DeviceForm.h"

#include "form/ChannelSwitches.h"
#include "form/FormWindow.h"
#include "form/RuleCodes.h"
#include "form/SettleRules.h"
#include "form/TabStrip.h"
#include "params/ComboReadRules.h"
#include "params/ComboWriteRules.h"
#include "params/DeviceAnswer.h"
#include "params/ValueText.h"
#include "settings/Labels.h"
#include "ui/Controls.h"

namespace {

// A fill selects quietly and settles the rules itself; a value shown as if picked raises
// "itemselect" as a pick does.
enum class Selecting { Quietly, AsAPick };

void ShowEntry(FormWindow& frame, const std::string& name, const ParameterEntry& entry,
               Selecting how);

void RemoveUnitItems(CComboUI& combo) {
    for (int i = combo.GetCount() - 1; i >= 0; --i) {
        if (combo.GetItemAt(i)->IsUnitValue()) combo.RemoveAt(i);
    }
}

// A value the list has no item for gets one of its own, marked as the unit's: the previous
// selection (a default, another unit's) would otherwise be shown and written as this unit's.
int AddUnitItem(CComboUI& combo, const std::string& value) {
    auto* item = new CListLabelElementUI(value + " " + LabelText("Notify", "UnitValueItem").str());
    item->SetUnitValue(value);
    combo.Add(item);
    return combo.GetCount() - 1;
}

// Whether the list's item (-1: none selected) stands for the value: what it writes back is the
// value itself, or nothing at all. An item the read rule merely maps the value onto ("abc" read
// as 0, a work mode 5 shown as "Off") would write something else, never asked for.
bool WritesBack(const std::string& name, const CComboUI& combo, int item,
                const std::string& value) {
    const CListLabelElementUI* element = item >= 0 ? combo.GetItemAt(item) : nullptr;
    if (element && element->IsUnitValue()) return element->UnitValue() == value;
    const ComboWrite write = DeriveComboWrite(name, item, element ? element->GetText().str() : "");
    return !write.write || write.value == value;
}

void ShowCombo(FormWindow& frame, const std::string& name, const ParameterEntry& entry,
               Selecting how) {
    auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(name));
    if (!combo) return;
    // A fill replaces the previous fill's own item; a pick ("set") leaves it to pick again.
    if (how == Selecting::Quietly) RemoveUnitItems(*combo);
    const ItemChoice choice = ChooseItem(name, entry.value, *combo, frame.parameterTable);
    int item = choice.item;
    bool placed = true;
    if (choice.change && item >= 0 && item < combo->GetCount()) {
        // the rule placed it
    } else if (choice.change && (choice.clears || entry.value.empty())) {
        item = -1;
    } else if (!choice.change && entry.value.empty()) {
        // Nothing listed: the selection stays.
        item = combo->GetCurSel();
    } else {
        placed = false;
    }
    placed = placed && WritesBack(name, *combo, item, entry.value);
    if (!placed) {
        // A value given as a pick ("set") that the list cannot take: the selection stays, and
        // the caller sees the value was not taken.
        if (how == Selecting::AsAPick) return;
        item = AddUnitItem(*combo, entry.value);
    }
    if (how == Selecting::Quietly) {
        combo->SelectItemQuietly(item);
    } else {
        combo->SelectItem(item);
    }
}

void ShowEdit(FormWindow& frame, const std::string& name, const ParameterEntry& entry) {
    // The value goes in as the unit's bytes; the field hands them back unchanged until edited.
    if (CControlUI* edit = frame.paintManager.FindControl(name)) edit->SetText(entry.value);
}

void ShowChannels(FormWindow& frame, const std::string& name, const ParameterEntry& entry) {
    const ChannelEntry* channels = FindChannelEntry(name);
    if (!channels) return;  // "Device Type" only chooses the tabs
    const int mask = LeadingNumber(entry.value);
    for (const ChannelSwitch& s : channels->switches)
        SetSwitch(frame.paintManager, s.name, (mask & s.bit) != 0);
}

}  // namespace

void ShowValues(FormWindow& frame) {
    frame.pendingMarksDue = true;
    ParameterTable& table = frame.parameterTable;
    ApplyDeviceTypeTabs(frame, table.ParameterAt("Device Type").value);
    frame.loraVersion = table.ParameterAt("LORA ver").value;
    for (const auto& [name, entry] : table) ShowEntry(frame, name, entry, Selecting::Quietly);
    // The lists were filled without a pick; every rule now runs on them as they stand, while
    // the table still holds the values shown (a file's "Device Type" while a file is shown).
    SettleLayoutRules(frame);
    // As a change of "ActivateMethod" and of "LORA Mode" does, so their layouts follow the
    // values just shown.
    frame.PostMessage(kMsgLayoutRule, kActivationRule, 0);
    frame.PostMessage(kMsgLayoutRule, kLoraRule, 0);
}

void ShowEntryValue(FormWindow& frame, const std::string& name, const ParameterEntry& entry) {
    frame.pendingMarksDue = true;
    ShowEntry(frame, name, entry, Selecting::AsAPick);
}

namespace {

void ShowEntry(FormWindow& frame, const std::string& name, const ParameterEntry& entry,
               Selecting how) {
    switch (entry.kind) {
        case ControlKind::Combobox:
            ShowCombo(frame, name, entry, how);
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

}  // namespace
