#pragma once
// Finding a parameter by what the engineer remembers of it: part of its label as the window
// shows it, of its control name or of its AT command word. Matches on the control tree and the
// parameter table only, so pages whose widgets were never made are searched the same.
//
// Threads: UI thread only.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "form/FormContext.h"

class CControlUI;

inline constexpr std::size_t kMaxFindMatches = 15;

enum class MatchedBy { Label, Name, Command };

struct FindMatch {
    std::string name;     // the control's name
    std::string label;    // the text before it on its page; "" when it has none
    std::string command;  // the AT command that writes it ("AT+IPAD"); "" when none
    int page = -1;        // its page of "switch"
    MatchedBy by = MatchedBy::Label;
    bool atStart = false;       // what it matched begins with the text
    std::string hiddenBecause;  // why it cannot be shown now; "" when it can
};

// The parameters whose label, control name or command word (with or without "AT+") holds the
// text, ignoring ASCII case: label matches first, then names, then commands; within each, those
// that begin with the text first, then in page order; at most `limit`. An empty or blank text
// matches nothing. UI thread.
std::vector<FindMatch> FindParameters(FormContext& form, std::string_view text,
                                      std::size_t limit = kMaxFindMatches);

// Shows the match's page through the tab strip's own path and returns its control, ready for
// focus; null when the match is hidden (nothing is switched then) or its control is gone.
// UI thread.
CControlUI* SwitchToMatch(FormContext& form, const FindMatch& match);
