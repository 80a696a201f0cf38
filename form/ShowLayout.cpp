#include "form/ShowLayout.h"

#include "form/LayoutTable.h"
#include "ui/Control.h"
#include "ui/PaintManager.h"

namespace {

void Mark(ParameterTable& table, const std::vector<std::string>& names, bool shown) {
    for (const std::string& name : names) {
        // Marks only: a layout never brings a parameter into being.
        if (ParameterEntry* entry = table.FindParameter(name)) entry->shown = shown;
    }
}

}  // namespace

void ShowLayout(FormContext& form, std::string_view layout, bool visible) {
    CControlUI* control = form.paintManager.FindControl(layout);
    if (!control) return;
    control->SetVisible(visible);

    std::optional<LayoutMarks> marks = FindLayoutMarks(layout);
    if (!marks) return;
    Mark(form.parameterTable, marks->markFirst, visible);
    if (marks->cascadeCode == kNoCascade) return;
    if (visible) {
        // The rows inside get their marks when the box's own rule runs, after this one.
        form.postRule(marks->cascadeCode, 0);
        Mark(form.parameterTable, marks->markWhenShown, true);
    } else {
        Mark(form.parameterTable, marks->markWhenHidden, false);
    }
}
