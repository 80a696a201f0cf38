// Rules 15 and 16: a channel's data format changed, so the texts that were written in the
// old format are emptied.
#include <string>

#include "form/RuleSupport.h"

namespace {

// Each follows "DIO" and the channel number.
constexpr const char* kResultTexts[] = {
    " query command",
    " output control result",
    " high level information",
    " low level information",
};

}  // namespace

void ApplyClearDioTextsRule(FormContext& form, int, LPARAM argument) {
    const std::string channel = "DIO" + std::to_string(argument);
    for (const char* text : kResultTexts) {
        if (CControlUI* control = form.paintManager.FindControl(channel + text))
            control->SetText("");
    }
}
