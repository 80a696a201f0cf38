#pragma once
// The find field above the pages ("FindParam" and its note "FindNote"): typing lists the
// parameters found, choosing one goes to it, Ctrl+F puts the focus in the field.
//
// Threads: UI thread only.
#include "form/FindParameter.h"

class AppWindow;

// Wires the field of the frame's skin; a skin without it changes nothing. UI thread.
void SetUpFindField(AppWindow& frame);

// The text of a match's row in the list: label, page, command, and why it is hidden. UI thread.
std::string MatchRowText(const FindMatch& match, const std::string& pageTitle);

// Goes to the match: its page, the control focused and flashed. A hidden match stays hidden;
// the note says why. UI thread.
void GoToMatch(AppWindow& frame, const FindMatch& match);
