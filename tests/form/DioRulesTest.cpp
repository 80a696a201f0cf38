// A DIO channel's work mode picks its rows and its group box's height.
#include "tests/form/ChainCase.h"

namespace {

// Every row of a channel hidden but the listed ones, which are shown.
std::vector<Expect> OnlyRows(int channel, std::vector<std::string> shown) {
    static const char* const kRows[] = {".1", ".2",   ".2.1", ".3", ".3.1", ".3.2",
                                        ".4", ".4.1", ".4.2", ".5", ".6",   ".7"};
    std::vector<Expect> expects;
    for (const char* row : kRows) {
        const std::string layout = "IOLayout" + std::to_string(channel) + row;
        bool isShown = false;
        for (const std::string& s : shown) isShown = isShown || s == row;
        expects.push_back(isShown ? Visible(layout) : Hidden(layout));
    }
    return expects;
}

std::vector<Expect> With(std::vector<Expect> a, std::vector<Expect> b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

using DioRules = SkinTest;

TEST_P(DioRules, WorkModePicksTheChannelRows) {
    // clang-format off
    const std::vector<ChainCase> cases = {
        {"Text1 hides every row",
         {PickLabel("DIO1 workmode", "Text3"), Settle(), PickLabel("DIO1 workmode", "Text1")},
         With(OnlyRows(1, {}), {Height("IO1GroupBox", 60), NotShown("DIO1 protocol"),
                                NotShown("DIO1 high level information")})},
        {"Text4 shows only the mapping row",
         {PickLabel("DIO1 workmode", "Text2"), Settle(), PickLabel("DIO1 workmode", "Text4")},
         With(OnlyRows(1, {".6"}), {Height("IO1GroupBox", 85),
                                    Shown("DIO1 and mapping center"), NotShown("DIO1 interface")})},
        {"Text5 shows the threshold row",
         {PickLabel("DIO1 workmode", "Text5")},
         With(OnlyRows(1, {".7"}), {Height("IO1GroupBox", 85), Shown("DIO1 upper threshold")})},
        {"Text5 on channel 3 also shows the interface row",
         {PickLabel("DIO3 workmode", "Text5")},
         With(OnlyRows(3, {".2", ".7"}), {Height("IO3GroupBox", 110), Shown("DIO3 interface"),
                                          Shown("DIO3 lower threshold")})},
        {"Text2 with protocol 1, SMS interface and timed reports",
         {PickIndex("DIO1 protocol", 1), PickIndex("DIO1 interface", 3),
          PickIndex("DIO1 reported methods", 1), PickLabel("DIO1 workmode", "Text2")},
         With(OnlyRows(1, {".1", ".2", ".2.1", ".3", ".3.1", ".4", ".4.1", ".5"}),
              {Height("IO1GroupBox", 160), Shown("DIO1 SMS number"), Shown("DIO1 reported times"),
               NotShown("DIO1 query command"), Shown("1The DIO1 data format"),
               Shown("DIO1 low level information")})},
        {"Text2 with protocol 0 and queried reports on channel 2",
         {PickIndex("DIO2 protocol", 0), PickIndex("DIO2 interface", 0),
          PickIndex("DIO2 reported methods", 0), PickLabel("DIO2 workmode", "Text2")},
         With(OnlyRows(2, {".1", ".2", ".3", ".3.2"}),
              {Height("IO2GroupBox", 110), Shown("DIO2 query command"),
               NotShown("The DIO2 data format"), NotShown("DIO2 SMS number")})},
        {"Text3 with protocol 1",
         {PickIndex("DIO1 protocol", 1), PickIndex("DIO1 interface", 0),
          PickLabel("DIO1 workmode", "Text3")},
         With(OnlyRows(1, {".1", ".2", ".4", ".4.1", ".4.2", ".5"}),
              {Height("IO1GroupBox", 135), Shown("DIO1 output control result")})},
        {"Text3 with another protocol is 110 high on channel 1",
         {PickIndex("DIO1 protocol", 0), PickLabel("DIO1 workmode", "Text3")},
         {Visible("IOLayout1.4"), Hidden("IOLayout1.4.1"), Visible("IOLayout1.4.2"),
          Hidden("IOLayout1.5"), Height("IO1GroupBox", 110)}},
        {"Text3 with another protocol is 110 high on channel 2",
         {PickIndex("DIO2 protocol", 2), PickLabel("DIO2 workmode", "Text3")},
         {Hidden("IOLayout2.4.1"), Height("IO2GroupBox", 110)}},
        {"without a protocol combo the protocol rows stay and the height is 60",
         {PickLabel("DIO1 workmode", "Text4"), Settle(), Absent("DIO1 protocol"),
          PickLabel("DIO1 workmode", "Text2")},
         {Visible("IOLayout1.1"), Hidden("IOLayout1.4"), Hidden("IOLayout1.4.1"),
          Hidden("IOLayout1.5"), Height("IO1GroupBox", 60)}},
        {"without an interface combo the SMS number row stays",
         {PickIndex("DIO1 interface", 3), PickLabel("DIO1 workmode", "Text2"), Settle(),
          Absent("DIO1 interface"), PickLabel("DIO1 workmode", "Text3")},
         {Visible("IOLayout1.2.1"), Hidden("IOLayout1.3")}},
        {"a work mode equal to no label changes only the height",
         {PickLabel("DIO1 workmode", "Text4"), Settle(), Quiet("DIO1 workmode", -1), PostRule(7)},
         {Visible("IOLayout1.6"), Height("IO1GroupBox", 60)}},
    };
    // clang-format on
    RunChainCases(GetParam(), cases);
}

// The real skin's third channel offers no output mode, so these rows run on the test skin.
TEST(DioChannelThree, OutputModeHasItsOwnHeight) {
    // clang-format off
    const std::vector<ChainCase> cases = {
        {"Text3 with another protocol is 85 high on channel 3",
         {PickIndex("DIO3 protocol", 0), PickLabel("DIO3 workmode", "Text3")},
         {Visible("IOLayout3.4"), Hidden("IOLayout3.4.1"), Visible("IOLayout3.4.2"),
          Hidden("IOLayout3.5"), Height("IO3GroupBox", 85)}},
        {"Text3 with protocol 1 is 135 high on channel 3",
         {PickIndex("DIO3 protocol", 1), PickLabel("DIO3 workmode", "Text3")},
         {Visible("IOLayout3.4.1"), Height("IO3GroupBox", 135)}},
    };
    // clang-format on
    RunChainCases(SkinKind::Test, cases);
}

INSTANTIATE_TEST_SUITE_P(Skins, DioRules, testing::Values(SkinKind::Test, SkinKind::Real),
                         SkinName);
