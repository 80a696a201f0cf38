#include "form/WriteReview.h"

#include <algorithm>
#include <set>

#include "app/FrameWnd.h"
#include "form/ChangedWrites.h"
#include "form/DeviceWrite.h"
#include "form/FieldLabel.h"
#include "form/TabTable.h"
#include "form/WriteRefusal.h"
#include "settings/Labels.h"
#include "ui/Container.h"
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
const ParameterEntry* Differing(CM5Z30FrameWnd& frame, const FormValue& v) {
    const ParameterEntry* entry = frame.parameterTable.FindParameter(v.name);
    return entry && entry->value != v.value ? entry : nullptr;
}

ui::ReviewRow RowOf(CM5Z30FrameWnd& frame, const FormValue& v, const ParameterEntry& entry) {
    ui::ReviewRow row;
    row.label = FormLabelOf(frame, v.name);
    row.unitValue = Readable(entry.value);
    row.newValue = v.unencodable ? v.value : Readable(v.value);
    return row;
}

// A value the review showed as refused still goes to the collection, which logs why.
bool Refused(CM5Z30FrameWnd& frame, const FormValue& v) {
    const ParameterEntry* entry = frame.parameterTable.FindParameter(v.name);
    return entry && static_cast<bool>(RefusalOf(frame, v, *entry));
}

bool AnyWritable(const ui::ReviewSpec& spec) {
    return std::any_of(spec.rows.begin(), spec.rows.end(),
                       [](const ui::ReviewRow& r) { return r.notWritten.empty(); });
}

}  // namespace

std::string FormLabelOf(CM5Z30FrameWnd& frame, const std::string& name) {
    return FieldLabel(frame.paintManager, name);
}

std::vector<ReviewedValue> ReviewedValues(CM5Z30FrameWnd& frame, const WriteCandidate& candidate) {
    std::vector<ReviewedValue> reviewed;
    std::set<std::string> onScreen;
    for (FormValue& v : FormValues(frame, true)) {
        if (!Differing(frame, v) || !candidate(v)) continue;
        onScreen.insert(KeyOf(v));
        reviewed.push_back({std::move(v), false});
    }
    for (FormValue& v : FormValues(frame, false)) {
        // A hidden list's side write is no value of its own: only hidden values are listed.
        if (!Differing(frame, v) || onScreen.count(KeyOf(v)) || v.source != v.name ||
            !candidate(v)) {
            continue;
        }
        reviewed.push_back({std::move(v), true});
    }
    return reviewed;
}

ui::ReviewSpec BuildWriteReview(CM5Z30FrameWnd& frame, const WriteCandidate& candidate,
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

void ReviewAndApply(CM5Z30FrameWnd& frame, const std::set<std::string>* held) {
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

void ReviewAndSave(CM5Z30FrameWnd& frame) {
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
