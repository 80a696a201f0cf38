#include "form/RuleSupport.h"

#include <string>

#include "form/ShowLayout.h"

void ShowTab(FormContext& form, std::string_view button, bool visible) {
    // By the fixed button names, so the flag is right even before the table was named.
    for (int i = 0; i < kTabCount; ++i) {
        if (button == kTabButtonNames[static_cast<std::size_t>(i)])
            form.tabTable[static_cast<std::size_t>(i)].enabled = visible;
    }
    ShowLayout(form, button, visible);
}

void ApplyCell(FormContext& form, std::string_view layout, Cell cell) {
    if (cell != 0 && cell != 1) return;
    for (const char* button : kTabButtonNames) {
        if (layout == button) {
            ShowTab(form, layout, cell == 1);
            return;
        }
    }
    ShowLayout(form, layout, cell == 1);
}

bool WriteHeight(FormContext& form, std::string_view box, int height) {
    CControlUI* control = form.paintManager.FindControl(box);
    if (!control) return false;
    control->SetAttribute("height", std::to_string(height).c_str());
    return true;
}
