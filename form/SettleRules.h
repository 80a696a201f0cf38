#pragma once
// The layout brought in line with the lists as they stand: after the window is set up and
// after every fill of the form, whether or not a selection changed, so that what is shown and
// what is written agree from the first paint.
//
// Threads: UI thread only.
#include "form/FormContext.h"

class FormWindow;

// Runs every layout rule once, then every rule those post, here and now, until none is left.
// Emptying the DIO result texts (15, 16) is left out: after a fill they hold the unit's texts,
// not texts written in another data format. Rules the form posted before still run later and
// find the same selections.
void SettleLayoutRules(FormContext& form);
void SettleLayoutRules(FormWindow& frame);
