// The on/off options, the DIO result texts and the LoRa rows.
#include "tests/form/ChainCase.h"

using OptionRules = SkinTest;

TEST_P(OptionRules, OptionsShowTheirDetailRows) {
    // clang-format off
    const std::vector<ChainCase> cases = {
        {"debug level 0 hides the debugging port",
         {PickIndex("Debug Level", 1), Settle(), PickIndex("Debug Level", 0)},
         {Hidden("DebugHorizontalLayout1"), NotShown("Debugging  port")}},
        {"LCP echo on",
         {PickIndex("LCP ECHO", 1)},
         {Visible("GlobalHorizontalLayout1"), Shown("Lcp echo testing number"),
          Height("PPPGroupBox", 85)}},
        {"ICMP check on",
         {PickIndex("EXFUN", 1)},
         {Visible("GlobalHorizontalLayout2"), Shown("ICMP Ip"), Height("ICMPGroupBox", 110)}},
        {"no management platform",
         {PickIndex("dtu is connect to dtu manage platform", 1), Settle(),
          PickIndex("dtu is connect to dtu manage platform", 0)},
         {Hidden("EquimentLayout1"), NotShown("Dtu manage id"),
          NotShown("dtu manage server's Port"), Height("DtumanageGroupBox", 60)}},
        {"SMS configuration on is index 1",
         {PickIndex("DTU SMS configure fun", 1)},
         {Visible("EquimentLayout2"), Shown("DTU SMS administrator number"),
          Height("DtumanageGroupBox1", 110)}},
    };
    // clang-format on
    RunChainCases(GetParam(), cases);
}

TEST_P(OptionRules, DataFormatChangeEmptiesTheResultTexts) {
    const std::vector<Step> texts = {
        SetText("DIO1 query command", "q1"),         SetText("DIO2 query command", "q2"),
        SetText("DIO2 output control result", "r2"), SetText("DIO2 high level information", "h2"),
        SetText("DIO2 low level information", "l2"), SetText("DIO3 query command", "q3"),
    };
    auto after = [&](std::vector<Step> steps) {
        steps.insert(steps.begin(), texts.begin(), texts.end());
        return steps;
    };
    // clang-format off
    const std::vector<ChainCase> cases = {
        {"rule 16 with channel 2 empties channel 2's four texts",
         after({PostRule(16, 2)}),
         {TextIs("DIO2 query command", ""), TextIs("DIO2 output control result", ""),
          TextIs("DIO2 high level information", ""), TextIs("DIO2 low level information", ""),
          TextIs("DIO1 query command", "q1"), TextIs("DIO3 query command", "q3")}},
        {"a new data format on channel 2 does the same",
         after({PickIndex("The DIO2 data format", 1)}),
         {TextIs("DIO2 query command", ""), TextIs("DIO2 low level information", ""),
          TextIs("DIO1 query command", "q1")}},
        {"rule 15 with 0 looks for channel 0's names",
         after({Rename("DIO3 query command", "DIO0 query command"), PostRule(15, 0)}),
         {TextIs("DIO0 query command", ""), TextIs("DIO1 query command", "q1"),
          TextIs("DIO2 query command", "q2")}},
    };
    // clang-format on
    RunChainCases(GetParam(), cases);
}

TEST_P(OptionRules, LoraModeAndVersionPickTheLoraRows) {
    // clang-format off
    const std::vector<ChainCase> cases = {
        {"TRNS on a v1 T4R22B-N module",
         {PickText("LORA Mode", "TRNS")},
         {Visible("LoraLayout"), Shown("LORA TAddr"), Hidden("LoraPID"), Hidden("LoraType"),
          Hidden("LoraPower"), NotShown("LORA pid"), NotShown("LORA typ"),
          NotShown("LORA Power"), Height("LoraGroupBox", 235)},
         "", "T4R22B-N v1.3"},
        {"another mode on a newer module",
         {PickNotText("LORA Mode", "TRNS")},
         {Hidden("LoraLayout"), NotShown("LORA TAddr"), Visible("LoraPID"), Shown("LORA pid"),
          Hidden("LoraType"), Visible("LoraPower"), Shown("LORA Power"),
          Height("LoraGroupBox", 210)},
         "", "T5R10-A v2.0"},
        {"a v1 module of another model keeps its power row",
         {PickText("LORA Mode", "TRNS")},
         {Hidden("LoraPID"), Visible("LoraPower"), Height("LoraGroupBox", 235)},
         "", "v1.0"},
        {"no LoRa group box still switches the rows",
         {Absent("LoraGroupBox"), PickText("LORA Mode", "TRNS")},
         {Visible("LoraLayout"), Visible("LoraPID")},
         "", "v2"},
    };
    // clang-format on
    RunChainCases(GetParam(), cases);
}

INSTANTIATE_TEST_SUITE_P(Skins, OptionRules, testing::Values(SkinKind::Test, SkinKind::Real),
                         SkinName);
