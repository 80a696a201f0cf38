#include "form/PendingEdits.h"

#include <array>
#include <set>

#include "form/ChangedWrites.h"
#include "form/ChannelSwitches.h"
#include "form/DeviceForm.h"
#include "form/DeviceWrite.h"
#include "form/FormWindow.h"
#include "form/TabStrip.h"
#include "form/WriteReview.h"
#include "params/ValueCheck.h"
#include "settings/Labels.h"
#include "ui/Control.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"

namespace {

constexpr const char* kPendingText = "PendingChanges";
constexpr std::string_view kTabSuffix = "Tab";

// The option that carries a tab's caption: the tab button's name without "Tab".
CControlUI* TabCaption(FormWindow& frame, const std::string& tabName) {
    if (!tabName.ends_with(kTabSuffix)) return nullptr;
    return frame.paintManager.FindControl(tabName.substr(0, tabName.size() - kTabSuffix.size()));
}

// The reason a typed value would be refused, in the window's language where the skin has it.
struct FaultLabel {
    ValueFault fault;
    const char* key;
};
constexpr FaultLabel kFaultLabels[] = {
    {ValueFault::NotAddress, "NotAddress"}, {ValueFault::NotIpAddress, "NotIpAddress"},
    {ValueFault::NotNumber, "NotNumber"},   {ValueFault::LeadingZero, "LeadingZero"},
    {ValueFault::NotPort, "NotPort"},       {ValueFault::NumberTooLong, "NumberTooLong"},
};

std::string FaultText(ValueFault fault) {
    for (const FaultLabel& row : kFaultLabels) {
        if (row.fault != fault) continue;
        const std::string text = LabelText("ValueFault", row.key).str();
        return text.empty() ? ValueFaultText(fault) : text;
    }
    return ValueFaultText(fault);
}

// A field of a known kind holding a value the unit would refuse is marked with the reason; the
// unit's own value, as it was read, is the unit's business and is not marked.
void MarkRefusedValue(FormWindow& frame, const std::string& name, const ParameterEntry& entry,
                      CControlUI& control) {
    const ValueKind kind = ValueKindOf(name);
    if (kind == ValueKind::Any || entry.kind != ControlKind::Edit) return;
    const std::string text = control.GetText().str();
    const ValueFault fault = text == entry.value ? ValueFault::None : CheckValue(kind, text);
    control.SetProblemMark(fault == ValueFault::None ? std::string() : FaultText(fault));
}

}  // namespace

std::vector<std::string> PendingControls(FormWindow& frame) {
    std::set<std::string> pending;
    if (!frame.formAsRead) return {};
    // Exactly the values Save's review would list, so the counts and the review agree.
    const WriteCandidate changed = [&frame](const FormValue& v) {
        return ChangedSinceRead(frame, v);
    };
    for (const ReviewedValue& r : ReviewedValues(frame, changed)) pending.insert(r.value.source);
    return {pending.begin(), pending.end()};
}

int ShowPendingEdits(FormWindow& frame) {
    frame.pendingMarksDue = false;
    ++frame.pendingEditWalks;
    const std::vector<std::string> pendingList = PendingControls(frame);
    const std::set<std::string> pending(pendingList.begin(), pendingList.end());
    std::array<int, kTabCount> perTab{};
    for (const auto& [name, entry] : frame.parameterTable) {
        CControlUI* control = frame.paintManager.FindControl(name);
        const bool marked = pending.count(name) != 0;
        if (control) {
            control->SetPendingMark(marked);
            MarkRefusedValue(frame, name, entry, *control);
        }
        if (marked && entry.tab >= 0 && entry.tab < kTabCount) {
            ++perTab[static_cast<std::size_t>(entry.tab)];
        }
    }
    for (int i = 0; i < kTabCount; ++i) {
        CControlUI* caption = TabCaption(frame, frame.tabTable[static_cast<std::size_t>(i)].name);
        if (!caption) continue;
        const int count = perTab[static_cast<std::size_t>(i)];
        const std::string base = TabTitleWithoutCount(caption->GetText().str());
        const std::string text = count ? base + " (" + std::to_string(count) + ")" : base;
        TabEntry& tab = frame.tabTable[static_cast<std::size_t>(i)];
        // The first time round fits the skin's own captions too (a long title in bold).
        if (text != caption->GetText().str() || tab.skinWidth == 0)
            SetTabCaption(frame.paintManager, tab, text);
    }
    const int total = static_cast<int>(pending.size());
    if (CControlUI* text = frame.paintManager.FindControl(kPendingText)) {
        text->SetText(total ? CountLabel("Review", "Pending", total) : "");
    }
    return total;
}

void RevertForm(FormWindow& frame) {
    // Before a read the table holds no unit's values to go back to.
    if (!frame.formAsRead) return;
    frame.fileValues.clear();
    ShowValues(frame);
    // The form shows the unit as a read would: what a loaded file made count as changed is
    // forgotten with it.
    RememberFormAsRead(frame);
    ShowPendingEdits(frame);
}

bool MayDiscardPendingEdits(FormWindow& frame, const char* key) {
    const std::size_t count = PendingControls(frame).size();
    if (count == 0) return true;
    const std::string text = CountLabel("Discard", key, static_cast<int>(count));
    return ui::MessageBox(text, ProgramTitle(), MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

KeptEdits KeepPendingEdits(FormWindow& frame) {
    KeptEdits kept;
    for (const std::string& name : PendingControls(frame)) {
        if (const ChannelEntry* channels = FindChannelEntry(name)) {
            for (const ChannelSwitch& s : channels->switches) {
                kept.switches[std::string(s.name)] = IsSwitchOn(frame.paintManager, s.name);
            }
        } else if (auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(name))) {
            kept.items[name] = combo->GetCurSel();
        } else if (CControlUI* control = frame.paintManager.FindControl(name)) {
            kept.texts[name] = control->GetText().str();
        }
    }
    return kept;
}

void ShowKeptEdits(FormWindow& frame, const KeptEdits& kept) {
    for (const auto& [name, text] : kept.texts) {
        if (CControlUI* control = frame.paintManager.FindControl(name)) control->SetText(text);
    }
    for (const auto& [name, item] : kept.items) {
        auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(name));
        if (!combo || item >= combo->GetCount()) continue;
        // A list's own item for a unit's value went with the fill that made it.
        const CListLabelElementUI* chosen = combo->GetItemAt(item);
        if (!chosen || !chosen->IsUnitValue()) combo->SelectItem(item);
    }
    for (const auto& [name, on] : kept.switches) SetSwitch(frame.paintManager, name, on);
    frame.pendingMarksDue = true;
}
