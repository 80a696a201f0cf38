// ShowLayout and the layout table: which parameters a shown or hidden layout takes in or out
// of writing, and which rule a shown cascade box posts.
#include "form/LayoutTable.h"
#include "tests/form/ChainCase.h"

TEST(LayoutTable, EveryMarkedNameIsAParameterOfTheUnit) {
    ParameterTable table;
    BuildParameterTable(table);
    const std::vector<std::string> names = LayoutTableNames();
    // 38 plain rows, 3 cascade boxes, 11 rows and a group box for each of three channels.
    EXPECT_EQ(names.size(), 38u + 3u + 3u * 12u);
    for (const std::string& layout : names) {
        std::optional<LayoutMarks> marks = FindLayoutMarks(layout);
        ASSERT_TRUE(marks.has_value()) << layout;
        for (const auto* list : {&marks->markFirst, &marks->markWhenShown, &marks->markWhenHidden})
            for (const std::string& name : *list)
                EXPECT_NE(table.FindParameter(name), nullptr) << layout << ": " << name;
    }
}

TEST(LayoutTable, ChannelNamesAreDerivedFromChannelOne) {
    struct Row {
        const char* channel1;
        int channel;
        const char* expected;
    };
    const Row rows[] = {
        {"IOLayout1.4.1", 2, "IOLayout2.4.1"},
        {"IOLayout1.1", 3, "IOLayout3.1"},
        {"IO1GroupBox", 3, "IO3GroupBox"},
        {"DIO1 and mapping center", 2, "DIO2 and mapping center"},
        {"1The DIO1 data format", 1, "1The DIO1 data format"},
        {"1The DIO1 data format", 2, "The DIO2 data format"},
        {"1The DIO1 data format", 3, "1The DIO3 data format"},
        {"ModeHorizontalLayout1", 2, "ModeHorizontalLayout1"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DioChannelName(row.channel1, row.channel), row.expected) << row.channel1;
}

TEST(LayoutTable, LookupIsExactAndCarriesTheCascade) {
    struct Row {
        const char* layout;
        bool found;
        int code;
        std::size_t hidden;  // parameters cleared when hidden
    };
    const Row rows[] = {
        {"IO2GroupBox", true, 8, 13},
        {"IO3GroupBox", true, 9, 13},
        {"ServiceGroupBox", true, 3, 10},
        {"ActivateGroupBox", true, 1, 15},
        {"ActivateHorizontalLayout5", true, 10, 1},
        {"IOLayout3.7", true, kNoCascade, 0},
        {"IOLayout4.1", false, 0, 0},
        {"servicegroupbox", false, 0, 0},
        {"ModeHorizontalLayout3", false, 0, 0},
    };
    for (const Row& row : rows) {
        std::optional<LayoutMarks> marks = FindLayoutMarks(row.layout);
        ASSERT_EQ(marks.has_value(), row.found) << row.layout;
        if (!marks) continue;
        EXPECT_EQ(marks->cascadeCode, row.code) << row.layout;
        EXPECT_EQ(marks->markWhenHidden.size(), row.hidden) << row.layout;
    }
}

using ShowLayoutOnSkin = SkinTest;

TEST_P(ShowLayoutOnSkin, MarksFollowTheLastCall) {
    const bool kNoChain = false;
    // clang-format off
    const std::vector<ChainCase> cases = {
        {"hiding the servers keeps a shown first pair",
         {HideStep("ServiceGroupBox")},
         {Hidden("ServiceGroupBox"), Shown("Server's Ip"), Shown("Server's Port"),
          NotShown("Secondary Server's Ip"), NotShown("Server2's Port"), NotShown("Server5's Ip"),
          PostedCodes({})},
         "", "", kNoChain},
        {"hiding the servers keeps a hidden first pair",
         {HideStep("ServiceHorizontalLayout0"), HideStep("ServiceGroupBox")},
         {NotShown("Server's Ip"), NotShown("Server's Port"), PostedCodes({})},
         "", "", kNoChain},
        {"showing the servers marks the first pair and posts rule 3",
         {HideStep("ServiceHorizontalLayout0"), HideStep("ServiceGroupBox"),
          ShowStep("ServiceGroupBox")},
         {Visible("ServiceGroupBox"), Shown("Server's Ip"), Shown("Server's Port"),
          NotShown("Server2's Ip"), PostedCodes({3})},
         "", "", kNoChain},
        {"showing the servers, then rule 3 for two servers",
         {PickText("ThePPPauthentication", "2"), Settle(), HideStep("ServiceGroupBox"),
          ShowStep("ServiceGroupBox")},
         {Shown("Server2's Ip"), NotShown("Secondary Server's Ip"), Shown("Server's Port")}},
        {"the last of two rows sharing a parameter wins",
         {ShowStep("ModeHorizontalLayout1"), HideStep("ModeHorizontalLayout1.1")},
         {NotShown("Modem'sID number"), Shown("PhoneNO."), PostedCodes({})},
         "", "", kNoChain},
        {"showing a channel's box marks only its work mode and posts its rule",
         {HideStep("IO2GroupBox"), ShowStep("IO2GroupBox")},
         {Visible("IO2GroupBox"), Shown("DIO2 workmode"), NotShown("DIO2 protocol"),
          NotShown("The DIO2 data format"), NotShown("DIO2 output control result"),
          NotShown("DIO2 lower threshold"), Shown("DIO1 protocol"), PostedCodes({8})},
         "", "", kNoChain},
        {"hiding channel 3's box clears all fourteen of its parameters",
         {HideStep("IO3GroupBox")},
         {NotShown("DIO3 workmode"), NotShown("1The DIO3 data format"),
          NotShown("DIO3 SMS number"), NotShown("DIO3 and mapping center"),
          NotShown("DIO3 output control result"), Shown("DIO2 workmode"), PostedCodes({})},
         "", "", kNoChain},
        {"showing the activation group marks only its SMS number and posts rule 1",
         {HideStep("ActivateGroupBox"), ShowStep("ActivateGroupBox")},
         {Shown("SMSActivationNO."), NotShown("ActivationPhoneNO."), NotShown("DataFormat"),
          PostedCodes({1})},
         "", "", kNoChain},
        {"the I/O selection row posts rule 10 when shown",
         {HideStep("ActivateHorizontalLayout5"), ShowStep("ActivateHorizontalLayout5")},
         {Shown("I/O selection"), PostedCodes({10})},
         "", "", kNoChain},
        {"the I/O selection row unmarks it when hidden",
         {HideStep("ActivateHorizontalLayout5")},
         {Hidden("ActivateHorizontalLayout5"), NotShown("I/O selection"), PostedCodes({})},
         "", "", kNoChain},
        {"derived DIO rows mark their channel's parameters",
         {HideStep("IOLayout2.4.1"), HideStep("IOLayout3.5")},
         {NotShown("The DIO2 data format"), Shown("1The DIO1 data format"),
          NotShown("DIO3 high level information"), NotShown("DIO3 low level information"),
          Shown("DIO1 high level information")},
         "", "", kNoChain},
        {"a layout the skin lacks changes no mark and posts nothing",
         {Absent("ModeHorizontalLayout1"), Absent("IO1GroupBox"),
          HideStep("ModeHorizontalLayout1"), HideStep("IO1GroupBox"), ShowStep("IO1GroupBox")},
         {Shown("Modem'sID number"), Shown("PhoneNO."), Shown("DIO1 protocol"),
          PostedCodes({})},
         "", "", kNoChain},
    };
    // clang-format on
    RunChainCases(GetParam(), cases);
}

TEST_P(ShowLayoutOnSkin, EveryLayoutOfTheTableIsInTheSkin) {
    FormHarness harness(GetParam());
    ASSERT_TRUE(harness.Ok()) << harness.Error();
    for (const std::string& layout : LayoutTableNames())
        EXPECT_NE(harness.pm.FindControl(layout), nullptr) << layout;
}

INSTANTIATE_TEST_SUITE_P(Skins, ShowLayoutOnSkin, testing::Values(SkinKind::Test, SkinKind::Real),
                         SkinName);
