#include "form/SelectionRules.h"

#include <span>

namespace {

// A list's layout rule: message 2124 with the code and the argument.
struct RuleRow {
    const char* name;
    RuleCode code;
    LPARAM argument;
};

// clang-format off
constexpr RuleRow kRuleRows[] = {
    // list                                    rule                 argument
    {"Protocolmodel",                         kWorkModeRule,       0},
    {"DeviceModel",                           kWorkModeRule,       0},
    {"RegistrationAndHeart",                  kWorkModeRule,       0},
    {"Transferprotocol",                      kWorkModeRule,       0},
    {"ActivateMethod",                        kActivationRule,     0},
    {"Debug Level",                           kDebugOutputRule,    0},
    {"ThePPPauthentication",                  kServerCountRule,    0},
    {"LCP ECHO",                              kLcpEchoRule,        0},
    {"EXFUN",                                 kIcmpCheckRule,      0},
    {"dtu is connect to dtu manage platform", kPlatformRule,       0},
    {"DIO2 workmode",                         kDio2WorkModeRule,   0},
    {"DIO2 reported methods",                 kDio2WorkModeRule,   0},
    {"DIO2 interface",                        kDio2WorkModeRule,   0},
    {"DIO2 protocol",                         kDio2WorkModeRule,   0},
    {"DIO1 workmode",                         kDio1WorkModeRule,   0},
    {"DIO1 reported methods",                 kDio1WorkModeRule,   0},
    {"DIO1 interface",                        kDio1WorkModeRule,   0},
    {"DIO1 protocol",                         kDio1WorkModeRule,   0},
    {"DIO3 workmode",                         kDio3WorkModeRule,   0},
    {"DIO3 reported methods",                 kDio3WorkModeRule,   0},
    {"DIO3 interface",                        kDio3WorkModeRule,   0},
    {"DIO3 protocol",                         kDio3WorkModeRule,   0},
    {"I/O selection",                         kIoSelectionRule,    0},
    {"I/O1 control",                          kIo1ControlRule,     0},
    {"I/O2 control",                          kIo2ControlRule,     0},
    {"I/O3 control",                          kIo3ControlRule,     0},
    {"IOactivationmethods",                   kActivationRule,     0},
    {"DTU SMS configure fun",                 kSmsConfigRule,      0},
    {"1The DIO1 data format",                 kDioDataFormatRule,  1},
    {"The DIO2 data format",                  kDioDataFormatRule,  2},
    {"1The DIO3 data format",                 kDioDataFormatRule,  3},
    {"LORA Mode",                             kLoraRule,           0},
    {"I/O2 Mode",                             kIo2ModeRule,        0},
    {"I/O1 Mode",                             kIo1ModeRule,        0},
};
// clang-format on

constexpr std::string_view kActivationList = "IOactivationmethods";
// The rules that follow the activation method, by its chosen item: by SMS, by I/O.
constexpr RuleCode kActivationBySms[] = {kIoSelectionRule};
constexpr RuleCode kActivationByIo[] = {kIo1ControlRule, kIo2ControlRule, kIo3ControlRule};

}  // namespace

std::vector<PostedRule> RulesForSelection(std::string_view list, int selected) {
    std::vector<PostedRule> rules;
    for (const RuleRow& row : kRuleRows) {
        if (list != row.name) continue;
        rules.push_back({row.code, row.argument});
        break;
    }
    if (list != kActivationList) return rules;
    std::span<const RuleCode> following;
    if (selected == 0) following = kActivationBySms;
    if (selected == 1) following = kActivationByIo;
    for (RuleCode code : following) rules.push_back({code, 0});
    return rules;
}
