#pragma once
// The questions asked before a write goes ahead where the program cannot decide alone: a file
// that ends without the listing's closing OK, a file from another type of unit, a unit that
// could not be backed up first. The window asks the engineer (OK and Cancel, Cancel the
// default); the command line answers from its options (FrameWnd's questionAnswer).
//
// Threads: UI thread only (the worker's steps reach it through a synchronous call).
#include <functional>
#include <string>

class CM5Z30FrameWnd;

enum class Question {
    CutFile,             // the file may have been cut short: apply the values it holds?
    OtherDevice,         // the file comes from another type of unit: write it anyway?
    WriteWithoutBackup,  // no backup could be taken: write anyway?
};

// Answers a question instead of a box; true: go on.
using QuestionAnswer = std::function<bool(Question question, const std::string& text)>;

// Asks `text`; true when the engineer (or the command line's option) says to go on.
bool AskToGoOn(CM5Z30FrameWnd& frame, Question question, const std::string& text);
