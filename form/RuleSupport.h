#pragma once
// What the layout rules share: the cells of their tables and the few control operations they
// are written in. Internal to the form's rules.
//
// Threads: UI thread only.
#include <string>
#include <string_view>

#include "form/FormContext.h"
#include "ui/Control.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"

// A cell of a rule table: 1 shows the layout, 0 hides it, kKeep leaves it alone. Rules add
// cells of their own (values 2 and up) for what a later choice decides.
using Cell = signed char;
inline constexpr Cell kKeep = -1;

// A rule's entry point; code and argument are those of message 2124.
using RuleFn = void (*)(FormContext& form, int code, LPARAM argument);

// The control of that name and class, or null when the skin has none (or one of another class).
template <typename Control>
Control* FindAs(FormContext& form, std::string_view name) {
    return dynamic_cast<Control*>(form.paintManager.FindControl(name));
}

// Applies a 0 or 1 cell through ShowLayout; a tab button also gets its enabled flag. Other
// cells leave the layout alone.
void ApplyCell(FormContext& form, std::string_view layout, Cell cell);

// Sets the enabled flag of a tab button's entry, then shows or hides the button.
void ShowTab(FormContext& form, std::string_view button, bool visible);

// Writes the "height" attribute of a box; false when the skin has no such box.
bool WriteHeight(FormContext& form, std::string_view box, int height);

// The rules, one per file (dispatched by ApplyLayoutRule).
void ApplyWorkModeRule(FormContext& form, int code, LPARAM argument);       // 0
void ApplyActivationRule(FormContext& form, int code, LPARAM argument);     // 1
void ApplyOptionRule(FormContext& form, int code, LPARAM argument);         // 2, 4, 5, 6, 14
void ApplyServerCountRule(FormContext& form, int code, LPARAM argument);    // 3
void ApplyDioWorkModeRule(FormContext& form, int code, LPARAM argument);    // 7, 8, 9
void ApplyIoSelectionRule(FormContext& form, int code, LPARAM argument);    // 10
void ApplyIoControlRule(FormContext& form, int code, LPARAM argument);      // 11, 12, 13
void ApplyClearDioTextsRule(FormContext& form, int code, LPARAM argument);  // 15, 16
void ApplyLoraRule(FormContext& form, int code, LPARAM argument);           // 17
void ApplyIoModeRule(FormContext& form, int code, LPARAM argument);         // 18, 19

// Each rule's answer to "why is this layout hidden": the name of the list whose present choice
// makes the rule hide it, or "" when the rule does not hide it now. Read from the same tables
// the rules apply, so the reason never drifts from the rule.
std::string WorkModeHider(FormContext& form, std::string_view layout);
std::string ActivationHider(FormContext& form, std::string_view layout);
std::string OptionHider(FormContext& form, std::string_view layout);
std::string ServerCountHider(FormContext& form, std::string_view layout);
std::string DioWorkModeHider(FormContext& form, std::string_view layout);
std::string IoHider(FormContext& form, std::string_view layout);
std::string LoraHider(FormContext& form, std::string_view layout);
