#pragma once
// The layout rules by code: the wParam of message 2124, the cell of the trigger table that
// names the rule a list's choice runs, and the rule a shown group box cascades to.
//
// Threads: constants, any thread.

enum RuleCode : int {
    kWorkModeRule = 0,
    kActivationRule = 1,
    kDebugOutputRule = 2,
    kServerCountRule = 3,
    kLcpEchoRule = 4,
    kIcmpCheckRule = 5,
    kPlatformRule = 6,
    kDio1WorkModeRule = 7,  // 8 and 9: DIO2 and DIO3
    kDio2WorkModeRule = 8,
    kDio3WorkModeRule = 9,
    kIoSelectionRule = 10,
    kIo1ControlRule = 11,  // 12 and 13: I/O2 and I/O3
    kIo2ControlRule = 12,
    kIo3ControlRule = 13,
    kSmsConfigRule = 14,
    kClearDioTextsRule = 15,  // empties the DIO result texts of the channel in lParam
    kDioDataFormatRule = 16,  // the same rule, from a DIO data format list
    kLoraRule = 17,
    kIo2ModeRule = 18,  // runs kIo1ModeRule afterwards
    kIo1ModeRule = 19,
    kRuleCount = 20,
};
