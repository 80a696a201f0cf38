#include "form/LayoutRules.h"

#include "form/RuleCodes.h"
#include "form/RuleSupport.h"

namespace {

// clang-format off
constexpr RuleFn kRuleByCode[kRuleCount] = {
    ApplyWorkModeRule,       // kWorkModeRule: work mode
    ApplyActivationRule,     // kActivationRule: activation method
    ApplyOptionRule,         // kDebugOutputRule: debug output
    ApplyServerCountRule,    // kServerCountRule: number of servers
    ApplyOptionRule,         // kLcpEchoRule: LCP echo
    ApplyOptionRule,         // kIcmpCheckRule: ICMP check
    ApplyOptionRule,         // kPlatformRule: management platform
    ApplyDioWorkModeRule,    // kDio1WorkModeRule: DIO1 work mode
    ApplyDioWorkModeRule,    // kDio2WorkModeRule: DIO2 work mode
    ApplyDioWorkModeRule,    // kDio3WorkModeRule: DIO3 work mode
    ApplyIoSelectionRule,    // kIoSelectionRule: I/O selection
    ApplyIoControlRule,      // kIo1ControlRule: I/O1 control
    ApplyIoControlRule,      // kIo2ControlRule: I/O2 control
    ApplyIoControlRule,      // kIo3ControlRule: I/O3 control
    ApplyOptionRule,         // kSmsConfigRule: SMS configuration
    ApplyClearDioTextsRule,  // kClearDioTextsRule: DIO result texts (channel lParam)
    ApplyClearDioTextsRule,  // kDioDataFormatRule: the same
    ApplyLoraRule,           // kLoraRule: LoRa
    ApplyIoModeRule,         // kIo2ModeRule: I/O2 mode, then I/O1 mode
    ApplyIoModeRule,         // kIo1ModeRule: I/O1 mode
};
// clang-format on

}  // namespace

void ApplyLayoutRule(FormContext& form, int code, LPARAM argument) {
    if (code < 0 || code >= kRuleCount) return;
    kRuleByCode[code](form, code, argument);
}

void ApplyLayoutRule(FormWindow& frame, int code, LPARAM argument) {
    FormContext form = FrameFormContext(frame);
    ApplyLayoutRule(form, code, argument);
}
