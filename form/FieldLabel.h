#pragma once
// The one name a parameter goes by wherever the window names it (the progress, the run's
// summary, the review, refusals and other log lines): the label the form shows for it, in the
// window's language.
//
// Threads: UI thread only (reads the control tree).
#include <string>
#include <string_view>

class CPaintManagerUI;

// The text in front of the parameter's control in its row; for a transfer-channel mask, the
// heading over its switches (the row above them, else their box's title); the parameter's own
// name only where the form shows no label for it.
std::string FieldLabel(CPaintManagerUI& paintManager, std::string_view name);
