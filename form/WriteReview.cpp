#include "form/WriteReview.h"

#include <algorithm>
#include <map>
#include <set>

#include "form/ChangedWrites.h"
#include "form/ChannelSwitches.h"
#include "form/DeviceWrite.h"
#include "form/FieldLabel.h"
#include "form/FormWindow.h"
#include "form/TabTable.h"
#include "form/WriteRefusal.h"
#include "params/ComboReadRules.h"
#include "params/ValueText.h"
#include "settings/Labels.h"
#include "ui/Container.h"
#include "ui/Controls.h"
#include "ui/TextCodec.h"

namespace {

constexpr const char* kSection = "Review";

std::string KeyOf(const FormValue& v) {
    return v.source + '\t' + v.name;
}

std::string Readable(const std::string& bytes) {
    return ui::DecodeUnitText(bytes).toUtf8().toStdString();
}

std::string Label(const char* key) {
    return LabelText(kSection, key).str();
}

// The unit's value for it, when writing it would change that value.
const ParameterEntry* Differing(FormWindow& frame, const FormValue& v) {
    const ParameterEntry* entry = frame.parameterTable.FindParameter(v.name);
    return entry && entry->value != v.value ? entry : nullptr;
}

// A value as the form shows it, with the raw value beside it where the two differ.
std::string Shown(const std::string& shown, const std::string& raw) {
    if (shown.empty() || shown == raw) return raw;
    return FilledLabel(kSection, "Shown", {{"shown", shown}, {"value", raw}});
}

// The item of its list the value picks, as a read of it would: its text, or "" for none.
std::string ItemText(FormWindow& frame, CComboUI& combo, const std::string& name,
                     const std::string& value) {
    const ItemChoice choice = ChooseItem(name, value, combo, frame.parameterTable);
    const CListLabelElementUI* item = choice.change ? combo.GetItemAt(choice.item) : nullptr;
    return item && !item->IsUnitValue() ? item->GetText().str() : std::string();
}

// The switches of a transfer-channel mask that `to` turns from how `from` has them, each with
// its caption and new state; "" when no switch changes.
std::string SwitchesTurned(FormWindow& frame, const ChannelEntry& mask, int from, int to) {
    std::string text;
    for (const ChannelSwitch& s : mask.switches) {
        if (((from ^ to) & s.bit) == 0) continue;
        const std::string state = Label((to & s.bit) != 0 ? "On" : "Off");
        text += (text.empty() ? "" : ", ") +
                FilledLabel(kSection, "Switch",
                            {{"switch", FieldLabel(frame.paintManager, s.name)}, {"state", state}});
    }
    return text;
}

ui::ReviewRow RowOf(FormWindow& frame, const FormValue& v, const ParameterEntry& entry) {
    ui::ReviewRow row;
    row.label = FormLabelOf(frame, v.name);
    row.unitValue = Readable(entry.value);
    row.newValue = v.unencodable ? v.value : Readable(v.value);
    if (const ChannelEntry* mask = FindChannelEntry(v.name)) {
        const int from = LeadingNumber(entry.value);
        const int to = LeadingNumber(v.value);
        row.unitValue = Shown(SwitchesTurned(frame, *mask, to, from), row.unitValue);
        row.newValue = Shown(SwitchesTurned(frame, *mask, from, to), row.newValue);
    } else if (auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(v.name))) {
        // The list's own choice shows as it stands; a side write's as a read would pick it.
        const bool ownChoice = v.source == v.name && !v.unitItem;
        row.unitValue = Shown(ItemText(frame, *combo, v.name, entry.value), row.unitValue);
        row.newValue =
            Shown(ownChoice ? combo->GetText().str() : ItemText(frame, *combo, v.name, v.value),
                  row.newValue);
    }
    return row;
}

// Where the value's control sits in the window: the positions of it and of every container
// above it, so that comparing two gives the order of the pages and of the rows on them.
std::vector<int> PlaceOf(FormWindow& frame, const std::string& name) {
    const ChannelEntry* mask = FindChannelEntry(name);
    CControlUI* control =
        frame.paintManager.FindControl(mask ? std::string(mask->switches.front().name) : name);
    std::vector<int> place;
    for (CControlUI* at = control; at && at->GetParent(); at = at->GetParent()) {
        auto* parent = dynamic_cast<CContainerUI*>(at->GetParent());
        int i = 0;
        while (parent && i < parent->GetCount() && parent->GetItemAt(i) != at) ++i;
        place.insert(place.begin(), i);
    }
    return place;
}

// The values in the order of the pages and the rows on them; a side write stays right after
// the list that causes it.
void InFormOrder(FormWindow& frame, std::vector<ReviewedValue>::iterator first,
                 std::vector<ReviewedValue>::iterator last) {
    std::map<std::string, std::vector<int>> places;
    for (auto it = first; it != last; ++it) {
        if (!places.count(it->value.source)) {
            places[it->value.source] = PlaceOf(frame, it->value.source);
        }
    }
    std::stable_sort(first, last, [&](const ReviewedValue& a, const ReviewedValue& b) {
        return places[a.value.source] < places[b.value.source];
    });
}

// A value the review showed as refused still goes to the collection, which logs why.
bool Refused(FormWindow& frame, const FormValue& v) {
    const ParameterEntry* entry = frame.parameterTable.FindParameter(v.name);
    return entry && static_cast<bool>(RefusalOf(frame, v, *entry));
}

bool AnyWritable(const ui::ReviewSpec& spec) {
    return std::any_of(spec.rows.begin(), spec.rows.end(),
                       [](const ui::ReviewRow& r) { return r.notWritten.empty(); });
}

}  // namespace

std::string FormLabelOf(FormWindow& frame, const std::string& name) {
    return FieldLabel(frame.paintManager, name);
}

std::vector<ReviewedValue> ReviewedValues(FormWindow& frame, const WriteCandidate& candidate) {
    std::vector<ReviewedValue> reviewed;
    std::set<std::string> onScreen;
    for (FormValue& v : FormValues(frame, true)) {
        if (!Differing(frame, v) || !candidate(v)) continue;
        onScreen.insert(KeyOf(v));
        reviewed.push_back({std::move(v), false});
    }
    const std::size_t shown = reviewed.size();
    for (FormValue& v : FormValues(frame, false)) {
        // A hidden list's side write is no value of its own: only hidden values are listed.
        if (!Differing(frame, v) || onScreen.count(KeyOf(v)) || v.source != v.name ||
            !candidate(v)) {
            continue;
        }
        reviewed.push_back({std::move(v), true});
    }
    InFormOrder(frame, reviewed.begin(), reviewed.begin() + static_cast<std::ptrdiff_t>(shown));
    InFormOrder(frame, reviewed.begin() + static_cast<std::ptrdiff_t>(shown), reviewed.end());
    return reviewed;
}

ui::ReviewSpec BuildWriteReview(FormWindow& frame, const WriteCandidate& candidate,
                                std::vector<std::string>* keys) {
    ui::ReviewSpec spec;
    spec.caption = Label("Caption");
    spec.labelHeader = Label("Parameter");
    spec.unitHeader = Label("UnitValue");
    spec.newHeader = Label("NewValue");
    spec.counts = Label("Counts");
    spec.writeText = Label("Write");
    spec.cancelText = Label("Cancel");
    keys->clear();
    for (const ReviewedValue& r : ReviewedValues(frame, candidate)) {
        const FormValue& v = r.value;
        const ParameterEntry& entry = *Differing(frame, v);
        ui::ReviewRow row = RowOf(frame, v, entry);
        if (r.hidden) {
            row.checked = false;
            row.notWritten = Label(IsTabEnabled(frame.tabTable, entry.tab) ? "Hidden" : "TabOff");
        } else if (const WriteRefusal refusal = RefusalOf(frame, v, entry)) {
            // A value the collection would refuse is shown with the reason, never checked.
            row.checked = false;
            row.notWritten = RefusalReason(refusal);
        }
        if (!r.hidden && v.source != v.name) {
            // A side write goes under the row of the list that causes it.
            for (std::size_t i = 0; i < keys->size(); ++i) {
                if ((*keys)[i] == v.source + '\t' + v.source) row.cause = static_cast<int>(i);
            }
        }
        spec.rows.push_back(std::move(row));
        keys->push_back(KeyOf(v));
    }
    return spec;
}

bool IsCheckedInReview(const ui::ReviewSpec& spec, const std::vector<std::string>& keys,
                       const FormValue& value) {
    for (std::size_t i = 0; i < keys.size() && i < spec.rows.size(); ++i) {
        if (keys[i] == KeyOf(value)) return spec.rows[i].checked && spec.rows[i].notWritten.empty();
    }
    return false;
}

void ReviewAndApply(FormWindow& frame, const std::set<std::string>* held) {
    const WriteCandidate inFile = [held](const FormValue& v) {
        return held == nullptr || held->count(v.name) != 0;
    };
    std::vector<std::string> keys;
    ui::ReviewSpec spec = BuildWriteReview(frame, inFile, &keys);
    if (!AnyWritable(spec)) {
        CollectWrites(frame, inFile);  // nothing goes out; refused values are still reported
        return;
    }
    if (!ui::Dialogs().ReviewWrites(spec)) return;
    CollectWrites(frame, [&](const FormValue& v) {
        return inFile(v) && (IsCheckedInReview(spec, keys, v) || Refused(frame, v));
    });
}

void ReviewAndSave(FormWindow& frame) {
    if (!frame.formAsRead || !frame.formReadOnPort) {
        CollectChangedWrites(frame);  // says that the unit must be read first
        return;
    }
    std::vector<std::string> keys;
    ui::ReviewSpec spec = BuildWriteReview(
        frame, [&frame](const FormValue& v) { return ChangedSinceRead(frame, v); }, &keys);
    if (!AnyWritable(spec)) {
        // Nothing would go out: the collection still reports refused values, as before.
        CollectChangedWrites(frame);
        return;
    }
    if (!ui::Dialogs().ReviewWrites(spec)) return;
    CollectChangedWrites(frame, [&](const FormValue& v) {
        return IsCheckedInReview(spec, keys, v) || Refused(frame, v);
    });
}
