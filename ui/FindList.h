#pragma once
// The widget side of finding a control: a list of matches that drops down under an edit
// control as the user types, a key that puts the focus in the edit, and a short flash that
// shows where a found control is.
//
// Threads: UI thread only.
#include <functional>
#include <string>
#include <vector>

class CControlUI;
class QWidget;

// The rows to list for the text typed so far (empty: the list closes).
using MatchLister = std::function<std::vector<std::string>(const std::string& text)>;
// Told the row the user chose with Enter, a click or the arrow keys and Enter.
using MatchChooser = std::function<void(int row)>;

// Gives the edit control a drop-down list of matches; false when it has no text field widget.
// The typed text stays as it is when a row is chosen. UI thread.
bool AttachMatchList(CControlUI& edit, MatchLister list, MatchChooser choose);

// Ctrl+F (the platform's Find key) anywhere in the window focuses the edit control and selects
// its text; false when either has no widget. UI thread.
bool AddFindKey(QWidget* window, CControlUI& edit);

// Shows the control: focus, its scroll area scrolled to it, and a frame drawn around it for a
// moment; false when the control has no widget (yet). UI thread.
bool FocusAndFlash(CControlUI& control);
