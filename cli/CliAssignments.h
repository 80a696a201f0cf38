#pragma once
// The checks a NAME=VALUE passes before it is written, shared by "set" and "provision": the
// name, the value's bytes, and whether the form carried the value into the writes it collected.
//
// Threads: the main (UI) thread.
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "engine/CommandJob.h"

class FormWindow;
class ParameterTable;

// Why the assignment cannot be written whatever the unit holds (unknown or unwritable name, a
// control byte in the value); empty when it can.
std::string CheckAssignment(const ParameterTable& table, const Assignment& a);

// Why the value given cannot be written to its parameter whatever the unit holds (a space at
// an end, a value its parameter cannot take: ValueCheck.h); empty when it can.
std::string CheckGivenValue(const Assignment& a);

// Whether the frame has the control (or a channel switch) that shows the parameter.
bool HasControl(FormWindow& frame, const std::string& name);

// Why the collected writes do not carry the assignment; empty when they do (or when the unit
// holds the value already).
std::string CheckCollected(FormWindow& frame, const Assignment& a,
                           const std::vector<CommandJob>& jobs);
