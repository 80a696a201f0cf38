#pragma once
// Which layout rules a list's new choice sets off: message 2124's code and argument, in the
// order they are posted. The window posts them when a list reports its choice; the rules
// themselves are LayoutRules.h's.
//
// Threads: any (a table and a lookup).
#include <string_view>
#include <vector>

#include "form/RuleCodes.h"
#include "ui/Types.h"

struct PostedRule {
    RuleCode code;
    LPARAM argument;
};

// The rules the list named `list` sets off with item `selected` chosen (-1: none); none for a
// list that steers no layout.
std::vector<PostedRule> RulesForSelection(std::string_view list, int selected);
