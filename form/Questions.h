#pragma once
// The questions asked before a write goes ahead where the program cannot decide alone: a file
// that ends without the listing's closing OK, a file from another type of unit, a unit that
// could not be backed up first. The window asks the engineer (OK and Cancel, Cancel the
// default); the command line answers from its options (FormWindow's questionAnswer).
//
// Threads: UI thread only (the worker's steps reach it through a synchronous call).
#include <string>

#include "form/FormWindow.h"

// Asks `text`; true when the engineer (or the command line's option) says to go on.
bool AskToGoOn(FormWindow& frame, Question question, const std::string& text);
