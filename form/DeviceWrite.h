#pragma once
// The form back to the unit: a write job for every parameter whose form value differs from the
// value the unit last reported or confirmed.
//
// Threads: UI thread only. The worker reaches CollectWrites through the apply after a loaded
// file (ListingFlow.h), on the UI thread; the jobs go into the window's queue under its lock.
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "form/FormValue.h"

class FormWindow;
struct ParameterEntry;

// Every value the form gives, in key order, side writes ("I/O selection", "I/O1 control" to
// "I/O3 control") after their cause; a list showing the unit's own item gives the unit's value.
// `onScreen`: only parameters that are shown, whose control is visible on its page (every
// container above it visible) and whose tab is enabled, and of the transfer-channel masks only
// the first such one; otherwise every parameter.
std::vector<FormValue> FormValues(FormWindow& frame, bool onScreen);

// Whether the parameter is written from the screen: shown, on an enabled tab, its control
// visible on its page.
bool IsOnScreen(FormWindow& frame, const std::string& name);

// Turns every value the form gives on screen (FormValues) into a write when it differs from the
// entry's value (QueueIfChanged). A value that may not go to the unit (WriteRefusal.h: a control
// byte, a character the unit's code page lacks, a space at an end, a value its parameter cannot
// take, a list's own value no choice gives) is refused: the log names the parameter, nothing is
// queued for it, and the frame's refusedWrites lists it until the next collection.
// This is the raw collection: "Save" goes through CollectChangedWrites (ChangedWrites.h), which
// writes only what was changed.
void CollectWrites(FormWindow& frame);

// As CollectWrites, but only parameters named in `writable` may be written (null: all).
// Returns the number of writes queued.
int CollectWrites(FormWindow& frame, const std::set<std::string>* writable);

// As CollectWrites, but only the values `mayWrite` accepts. Returns the number queued.
int CollectWrites(FormWindow& frame, const std::function<bool(const FormValue&)>& mayWrite);

// Queues {WriteParameter, atCommand "=" value "\r\n", name, value} when value differs from the
// entry's value; returns true when a job was queued. A value holding a control byte (CR, LF,
// NUL, tab or any other byte below 0x20, or DEL) would end the command early and send the rest
// as a command of its own: it is refused, the log names the parameter ([Notify] ValueNotice)
// and nothing is queued for it.
bool QueueIfChanged(FormWindow& frame, const std::string& name, const ParameterEntry& entry,
                    std::string_view value);
