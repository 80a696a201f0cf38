#pragma once
// Only what was changed goes to the unit. The values the form gave right after the last
// complete read (its rules settled) are remembered; a value the form gives now that differs
// from its remembered one was changed since: by the engineer, a loaded file, a "set"
// assignment or a rule reacting to one of those. A confirmed write is remembered as read.
//
// Threads: UI thread only (the worker reaches them through synchronous calls).
#include <functional>
#include <set>
#include <string>

class FormWindow;
struct FormValue;

// After a complete listing filled the form: remembers every value the form gives.
void RememberFormAsRead(FormWindow& frame);

// The port opened or closed: no listing has been read from the unit on it yet, and no backup
// taken (AutoBackup.h). The form's edits stay measured against the last read, so they stay
// marked, but nothing is written before the next read.
void ForgetFormAsRead(FormWindow& frame);

// After the apply's read of the unit: the form shows the loaded file, so what the file held
// stays changed until a write of it is confirmed; everything else is remembered as read.
void RememberFormAsApplied(FormWindow& frame, const std::set<std::string>& fileParameters);

// A write of `name` was confirmed: the values the form gives it now are remembered as read,
// and the value the table now holds is kept for the read-back (ReadBack.h); the first
// confirmation since the last read-back queues one, behind the writes still queued.
void RememberConfirmedWrite(FormWindow& frame, const std::string& name);

// "Save" and "set": queues a write for each changed value on screen that differs from the
// unit's (CollectWrites). Before any read, a file opened at start is applied instead (its
// read-for-apply queued); otherwise returns false, logs [Notify] NoReadNotice and queues
// nothing when no complete listing was read since the port opened.
bool CollectChangedWrites(FormWindow& frame);
// As CollectChangedWrites, but only the changed values `mayWrite` also accepts.
bool CollectChangedWrites(FormWindow& frame, const std::function<bool(const FormValue&)>& mayWrite);
// Whether the form gives the value otherwise than right after the last complete read (true
// when no read was made: everything counts as changed).
bool ChangedSinceRead(const FormWindow& frame, const FormValue& value);
