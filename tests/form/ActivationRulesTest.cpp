// The activation method, the I/O selection and control, and the I/O modes, run to the end of
// the chain. Every row starts from PROT so the activation group is on the form.
#include "tests/form/ChainCase.h"

namespace {

std::vector<Step> FromProt(std::vector<Step> steps) {
    steps.insert(steps.begin(), {PickIndex("Protocolmodel", 0), Settle()});
    return steps;
}

}  // namespace

using ActivationRules = SkinTest;

TEST_P(ActivationRules, ActivationMethodShapesTheActivationGroup) {
    // clang-format off
    const std::vector<ChainCase> cases = {
        {"AUTO hides every activation row and puts all channels on the I/O tab",
         FromProt({PickIndex("ActivateMethod", 5), PickIndex("IOactivationmethods", 1), Settle(),
                   PickIndex("ActivateMethod", 0)}),
         {Hidden("ActivateHorizontalLayout1"), Hidden("ActivateHorizontalLayout2"),
          Hidden("ActivateHorizontalLayout3"), Hidden("ActivateHorizontalLayout4"),
          Hidden("ActivateHorizontalLayout5"), Hidden("ActivateHorizontalLayout6"),
          Hidden("ActivateHorizontalLayout6.1"), Hidden("ActivateHorizontalLayout6.1.1"),
          Hidden("ActivateHorizontalLayout6.1.2"), Hidden("ActivateHorizontalLayout7"),
          Hidden("ActivateHorizontalLayout8"), Hidden("ActivateHorizontalLayout9"),
          NotShown("IOactivationmethods"), NotShown("I/O selection"), NotShown("I/O3 control"),
          NotShown("ActivationPhoneNO."), NotShown("SMSActivationNO."), NotShown("On-line data"),
          NotShown("I/O2 Mode"), Visible("IO1GroupBox"), Visible("IO2GroupBox"),
          Visible("IO3GroupBox"), Shown("DIO3 workmode"), Visible("IOTab"), TabOn("IOTab"),
          EverPosted({7, 8, 9, 15}), Height("ActivateGroupBox", 60)}},
        {"SMSD shows the SMS activation rows",
         FromProt({PickIndex("ActivateMethod", 1)}),
         {Visible("ActivateHorizontalLayout1"), Visible("ActivateHorizontalLayout6.1"),
          Visible("ActivateHorizontalLayout6.1.2"), Visible("ActivateHorizontalLayout8"),
          Hidden("ActivateHorizontalLayout7"), Hidden("ActivateHorizontalLayout6.1.1"),
          Shown("Sms Daemon Password"), Shown("SMSActivationNO."),
          NotShown("ActivationPhoneNO."), NotShown("I/O3 control"),
          Height("ActivateGroupBox", 110)}},
        {"MIXD shows the mixed rows and settles both I/O modes",
         FromProt({PickIndex("ActivateMethod", 4)}),
         {Visible("ActivateHorizontalLayout1"), Visible("ActivateHorizontalLayout2"),
          Visible("ActivateHorizontalLayout7"), Visible("ActivateHorizontalLayout9"),
          Hidden("ActivateHorizontalLayout4"), Shown("I/O1 Mode"), Visible("IO3GroupBox"),
          EverPosted({17, 18}), Height("ActivateGroupBox", 185)}},
        {"DIO by I/O selection hides the selected channel",
         FromProt({PickIndex("ActivateMethod", 5), PickIndex("IOactivationmethods", 0),
                   PickIndex("I/O selection", 1)}),
         {Visible("ActivateHorizontalLayout4"), Visible("ActivateHorizontalLayout5"),
          Hidden("ActivateHorizontalLayout6"), Hidden("ActivateHorizontalLayout6.1"),
          Hidden("ActivateHorizontalLayout6.1.1"), Hidden("ActivateHorizontalLayout6.1.2"),
          Hidden("ActivateHorizontalLayout1"), Hidden("ActivateHorizontalLayout1.2"),
          Shown("IOactivationmethods"), Shown("I/O selection"), NotShown("I/O1 control"),
          Visible("IO1GroupBox"), Hidden("IO2GroupBox"), Visible("IO3GroupBox"),
          Visible("IOTab"), TabOn("IOTab"), EverPosted({10}), Height("ActivateGroupBox", 110)}},
        {"DIO by I/O control shows the three control combos",
         FromProt({PickIndex("ActivateMethod", 5), PickIndex("IOactivationmethods", 1)}),
         {Hidden("ActivateHorizontalLayout5"), Visible("ActivateHorizontalLayout6"),
          Visible("ActivateHorizontalLayout6.1"), Visible("ActivateHorizontalLayout6.1.1"),
          Hidden("ActivateHorizontalLayout6.1.2"), NotShown("I/O selection"),
          Shown("I/O1 control"), Shown("I/O3 control"), EverPosted({11, 12, 13}),
          Height("ActivateGroupBox", 135)}},
        {"no activation method ends after clearing the DIO0 texts",
         FromProt({PickIndex("ActivateMethod", 2), Settle(), PickIndex("ActivateMethod", -1)}),
         {Visible("ActivateHorizontalLayout7"), Height("ActivateGroupBox", 60),
          EverPosted({15})}},
        {"DIO without the I/O activation combo writes no height",
         FromProt({PickIndex("ActivateMethod", 4), Settle(), Absent("IOactivationmethods"),
                   PickIndex("ActivateMethod", 5)}),
         {Visible("ActivateHorizontalLayout4"), Height("ActivateGroupBox", 185)}},
    };
    // clang-format on
    RunChainCases(GetParam(), cases);
}

TEST_P(ActivationRules, ChannelsServingTheActivationLeaveTheIoTab) {
    // clang-format off
    const std::vector<ChainCase> cases = {
        {"all three I/O controls given away hide the I/O tab",
         FromProt({PickIndex("ActivateMethod", 5), PickIndex("IOactivationmethods", 1), Settle(),
                   PickNotText("I/O1 control", "None"), PickNotText("I/O2 control", "None"),
                   PickNotText("I/O3 control", "None")}),
         {Hidden("IOTab"), TabOff("IOTab"), Hidden("IO1GroupBox"), Hidden("IO2GroupBox"),
          Hidden("IO3GroupBox"), NotShown("DIO2 protocol"), NotShown("1The DIO3 data format")}},
        {"one I/O control back to None shows the I/O tab again",
         FromProt({PickIndex("ActivateMethod", 5), PickIndex("IOactivationmethods", 1), Settle(),
                   PickNotText("I/O1 control", "None"), PickNotText("I/O2 control", "None"),
                   PickNotText("I/O3 control", "None"), Settle(),
                   PickText("I/O2 control", "None")}),
         {Visible("IOTab"), TabOn("IOTab"), Hidden("IO1GroupBox")}},
        {"two I/O controls given away keep the I/O tab",
         FromProt({PickIndex("ActivateMethod", 5), PickIndex("IOactivationmethods", 1), Settle(),
                   PickText("I/O3 control", "None"), PickNotText("I/O1 control", "None"),
                   PickNotText("I/O2 control", "None")}),
         {Visible("IOTab"), TabOn("IOTab"), Hidden("IO2GroupBox")}},
        {"an I/O control whose row is hidden gives its channel back",
         FromProt({PickIndex("ActivateMethod", 0), Settle(), HideStep("IO1GroupBox"),
                   HideStep("IOTab"), PostRule(11)}),
         {Visible("IO1GroupBox"), Hidden("IOTab")}},
        {"an I/O selection whose row is hidden shows all channels and leaves the tab",
         FromProt({PickIndex("ActivateMethod", 0), Settle(), HideStep("IO2GroupBox"),
                   HideStep("IOTab"), PostRule(10)}),
         {Visible("IO1GroupBox"), Visible("IO2GroupBox"), Visible("IO3GroupBox"),
          Hidden("IOTab")}},
        {"I/O selection 2 takes channel 3",
         FromProt({PickIndex("ActivateMethod", 5), PickIndex("IOactivationmethods", 0),
                   PickIndex("I/O selection", 2)}),
         {Visible("IO1GroupBox"), Visible("IO2GroupBox"), Hidden("IO3GroupBox"),
          NotShown("DIO3 workmode")}},
        {"no I/O selection keeps every channel",
         FromProt({PickIndex("ActivateMethod", 5), PickIndex("IOactivationmethods", 0),
                   PickIndex("I/O selection", 0), Settle(), PickIndex("I/O selection", -1)}),
         {Visible("IO1GroupBox"), Visible("IO2GroupBox"), Visible("IO3GroupBox")}},
        {"rule 18 settles channel 2 and then channel 1",
         FromProt({PickIndex("ActivateMethod", 4), Settle(), PickIndex("I/O1 Mode", 1), Settle(),
                   Quiet("I/O1 Mode", 0), Quiet("I/O2 Mode", 1), PostRule(18)}),
         {Hidden("IO2GroupBox"), Visible("IO1GroupBox"), NotShown("DIO2 workmode")}},
        {"rule 19 takes channel 1 for a mode above 0",
         FromProt({PickIndex("ActivateMethod", 4), Settle(), PickIndex("I/O1 Mode", 1)}),
         {Hidden("IO1GroupBox"), NotShown("DIO1 workmode")}},
        {"rule 18 with its combo hidden shows channel 2 and stops",
         FromProt({PickIndex("ActivateMethod", 4), Settle(), PickIndex("I/O1 Mode", 1),
                   PickIndex("I/O2 Mode", 1), Settle(), HideStep("ActivateHorizontalLayout9"),
                   Quiet("I/O1 Mode", 0), PostRule(18)}),
         {Visible("IO2GroupBox"), Hidden("IO1GroupBox")}},
    };
    // clang-format on
    RunChainCases(GetParam(), cases);
}

INSTANTIATE_TEST_SUITE_P(Skins, ActivationRules, testing::Values(SkinKind::Test, SkinKind::Real),
                         SkinName);
