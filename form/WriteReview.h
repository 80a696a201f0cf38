#pragma once
// The review before writing: what "Save" and the apply after a loaded file would write, shown
// row by row with the unit's value and the new one; only the rows the engineer keeps checked
// go out. Values that would change but are not on screen are shown greyed with the reason.
//
// Threads: UI thread only (the apply's review runs in the worker's result step, which waits).
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "form/DeviceWrite.h"
#include "ui/Dialogs.h"

class FormWindow;

using WriteCandidate = std::function<bool(const FormValue&)>;

// A value a review lists: on screen (written when checked), or hidden (greyed, not written).
struct ReviewedValue {
    FormValue value;
    bool hidden = false;
};

// The values a review lists (BuildWriteReview), in its order.
std::vector<ReviewedValue> ReviewedValues(FormWindow& frame, const WriteCandidate& candidate);

// The review of every value on screen that `candidate` accepts and the unit does not hold, in
// the order they would be written (side writes under their cause), then the greyed rows: the
// values of their own (no side writes) that would change but are not on screen.
// `keys` receives, per row, the value's source and name joined by a tab.
ui::ReviewSpec BuildWriteReview(FormWindow& frame, const WriteCandidate& candidate,
                                std::vector<std::string>* keys);

// Whether the reviewed rows let the value be written: it has a row and its box is checked.
bool IsCheckedInReview(const ui::ReviewSpec& spec, const std::vector<std::string>& keys,
                       const FormValue& value);

// "Save": the changed writes reviewed (nothing shown when nothing would be written), then the
// checked ones queued; Cancel queues nothing. Without a read since the port opened, logs
// [Notify] NoReadNotice as CollectChangedWrites does.
void ReviewAndSave(FormWindow& frame);

// The apply after a loaded file: the values of the file's parameters (`held`; null: all) that
// the unit does not hold are reviewed, then the checked ones queued; Cancel queues nothing.
void ReviewAndApply(FormWindow& frame, const std::set<std::string>* held);

// The parameter's label as the form shows it (FieldLabel.h).
std::string FormLabelOf(FormWindow& frame, const std::string& name);
