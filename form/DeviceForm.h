#pragma once
// The unit's listing into the form: every parameter's value shown in its control.
//
// Threads: UI thread only.
#include <string>

#include "ui/Types.h"

class FormWindow;
struct ParameterEntry;

// Fills the form from the parameters' values: the module tabs from "Device Type", the LoRa
// version, every text field, every list by its rule and the channel switches from their
// masks. Lists are filled without raising "itemselect"; every layout rule then runs once on
// the filled form, and the layout codes 1 and 17 are posted as well. A list value its rule
// cannot place is shown as an extra item marked as the unit's ([Notify] UnitValueItem) and
// selected; the previous fill's such item goes. Controls the skin lacks are skipped.
void ShowValues(FormWindow& frame);

// Shows one entry's value in its control by the rules ShowValues follows for it: a list's item,
// a field's text, a mask's switches. The entry need not be the table's (a value to show as if
// the unit had sent it); nothing of the table changes. A missing control is skipped.
void ShowEntryValue(FormWindow& frame, const std::string& name, const ParameterEntry& entry);
