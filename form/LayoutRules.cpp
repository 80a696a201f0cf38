#include "form/LayoutRules.h"

#include "form/RuleSupport.h"

namespace {

constexpr int kRuleCount = 20;

// clang-format off
constexpr RuleFn kRuleByCode[kRuleCount] = {
    ApplyWorkModeRule,       //  0 work mode
    ApplyActivationRule,     //  1 activation method
    ApplyOptionRule,         //  2 debug output
    ApplyServerCountRule,    //  3 number of servers
    ApplyOptionRule,         //  4 LCP echo
    ApplyOptionRule,         //  5 ICMP check
    ApplyOptionRule,         //  6 management platform
    ApplyDioWorkModeRule,    //  7 DIO1 work mode
    ApplyDioWorkModeRule,    //  8 DIO2 work mode
    ApplyDioWorkModeRule,    //  9 DIO3 work mode
    ApplyIoSelectionRule,    // 10 I/O selection
    ApplyIoControlRule,      // 11 I/O1 control
    ApplyIoControlRule,      // 12 I/O2 control
    ApplyIoControlRule,      // 13 I/O3 control
    ApplyOptionRule,         // 14 SMS configuration
    ApplyClearDioTextsRule,  // 15 DIO result texts (channel lParam)
    ApplyClearDioTextsRule,  // 16 the same
    ApplyLoraRule,           // 17 LoRa
    ApplyIoModeRule,         // 18 I/O2 mode, then I/O1 mode
    ApplyIoModeRule,         // 19 I/O1 mode
};
// clang-format on

}  // namespace

void ApplyLayoutRule(FormContext& form, int code, LPARAM argument) {
    if (code < 0 || code >= kRuleCount) return;
    kRuleByCode[code](form, code, argument);
}

void ApplyLayoutRule(CM5Z30FrameWnd& frame, int code, LPARAM argument) {
    FormContext form = FrameFormContext(frame);
    ApplyLayoutRule(form, code, argument);
}
