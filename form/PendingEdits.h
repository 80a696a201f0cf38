#pragma once
// The form's values the unit does not hold yet, shown where the engineer looks: each such
// control marked, each tab's caption with its count, "N changes pending" in the device box;
// and Revert, which puts the unit's values back into the form without touching the unit.
//
// Threads: UI thread only.
#include <map>
#include <string>
#include <vector>

class FormWindow;

// The controls of the values Save's review would list (changed since the last complete read
// and not what the unit holds; a side write on screen counts for the list that causes it), in
// key order. None before a read.
std::vector<std::string> PendingControls(FormWindow& frame);

// Marks the pending controls and unmarks the others, writes each tab's count into its caption
// (" (N)" behind the skin's text) and the total into "PendingChanges" ([Review] Pending, empty
// for none); a field of a known kind (ValueCheck.h) whose value is not the unit's and would be
// refused gets a problem mark with the reason ([ValueFault]). Returns the total.
int ShowPendingEdits(FormWindow& frame);

// "Revert": the form shows the unit's values again (a loaded file's values go too), then the
// marks follow. Nothing is sent; before a read nothing happens.
void RevertForm(FormWindow& frame);

// Before something replaces the form's values or ends the program (Load, Revert, closing, a
// language switch): with pending edits, asks whether to let them go ([Discard] `key`, OK or
// Cancel); true when there are none or the engineer chose OK.
bool MayDiscardPendingEdits(FormWindow& frame, const char* key);

// The controls of the pending edits as they stand: a field's text, a list's item, a mask's
// switches.
struct KeptEdits {
    std::map<std::string, std::string> texts;
    std::map<std::string, int> items;
    std::map<std::string, bool> switches;
};
// Takes the pending edits before the form is filled anew (a read-back after writes): what was
// not written is still the engineer's.
KeptEdits KeepPendingEdits(FormWindow& frame);
// Puts them back over the fill, as the engineer's own picks; they count as pending again where
// the unit does not hold them.
void ShowKeptEdits(FormWindow& frame, const KeptEdits& kept);
