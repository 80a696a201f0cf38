#pragma once
// The form back to the unit: a write job for every parameter whose form value differs from the
// value the unit last reported or confirmed.
//
// Threads: UI thread only. The worker reaches CollectWrites and ParseApplyAnswer through a
// synchronous call on the UI thread; the jobs go into the frame's queue under its lock.
#include <set>
#include <string>
#include <string_view>

class CM5Z30FrameWnd;
struct ParameterEntry;

// "Save": visits every parameter in key order and, for each one that is shown and lies on an
// enabled tab, turns its control's state into the unit's value and queues it when it differs.
// Side writes ("I/O selection", "I/O1 control" to "I/O3 control") follow their cause.
void CollectWrites(CM5Z30FrameWnd& frame);

// As CollectWrites, but only parameters named in `writable` may be written (null: all).
void CollectWrites(CM5Z30FrameWnd& frame, const std::set<std::string>* writable);

// Queues {WriteParameter, atCommand "=" value "\r\n", name, value} when value differs from the
// entry's value; returns true when a job was queued. A value holding a control byte (CR, LF,
// NUL, tab or any other byte below 0x20, or DEL) would end the command early and send the rest
// as a command of its own: it is refused, the log names the parameter ([Notify] ValueNotice)
// and nothing is queued for it.
bool QueueIfChanged(CM5Z30FrameWnd& frame, const std::string& name, const ParameterEntry& entry,
                    std::string_view value);

// After a read-for-apply answer: the unit's values parsed from the receive buffer into the
// table, then the writes that bring the unit to what the form shows (only the parameters the
// loaded file held, see ConfigFiles.h).
void ParseApplyAnswer(CM5Z30FrameWnd& frame);
