// The work mode and the number of servers, run from the user's choice to the end of the chain.
#include "tests/form/ChainCase.h"

namespace {

const std::vector<Expect> kActivationParametersOff = {
    NotShown("ActivationPhoneNO."),  NotShown("I/O1 control"),
    NotShown("I/O2 control"),        NotShown("I/O3 control"),
    NotShown("I/O selection"),       NotShown("IOactivationmethods"),
    NotShown("RegisterInfo"),        NotShown("RegistrationReplyInfo"),
    NotShown("HeartbeatPacket"),     NotShown("HeartbeatPacketReplyInfo"),
    NotShown("ActivationInterface"), NotShown("DataFormat"),
    NotShown("On-line data"),        NotShown("Offline data"),
    NotShown("SMSActivationNO.")};

std::vector<Expect> With(std::vector<Expect> a, const std::vector<Expect>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

using WorkModeRules = SkinTest;

TEST_P(WorkModeRules, WorkModeShapesTheFormAndTheTabs) {
    // clang-format off
    const std::vector<ChainCase> cases = {
        {"TRNS takes the module tabs and the activation group away",
         {PickIndex("Protocolmodel", 0), Settle(), PickIndex("Protocolmodel", 3)},
         With({Hidden("ServerTab"), Hidden("IOTab"), Hidden("WirelessTab"), Hidden("GlobalTab"),
               Hidden("EquimentTab"), TabOff("ServerTab"), TabOff("IOTab"),
               TabOff("WirelessTab"), TabOff("GlobalTab"), TabOff("EquimentTab"),
               TabOn("SerialTab"), Hidden("ActivateGroupBox"),
               Visible("bindingCenterGroupBox"), Visible("bindingCenterGroupBox2"),
               Visible("bindingCenterGroupBox3"), Shown("A serial port binding center"),
               Visible("ServiceGroupBox"), Visible("DtumanageGroupBox"),
               Hidden("ModeHorizontalLayout1"), NotShown("PhoneNO."),
               Height("ModeGroupBox", 60), Height("serialGroupbox", 110)},
              kActivationParametersOff)},
        {"PROT shows the ID rows and every tab",
         {PickIndex("Protocolmodel", 3), Settle(), PickIndex("Protocolmodel", 0)},
         {Visible("ModeHorizontalLayout1"), Visible("ModeHorizontalLayout1.1"),
          Visible("ModeHorizontalLayout1.2"), Shown("Modem'sID number"),
          Shown("Deliver Recved Tcp Data Directly"), Hidden("ModeLayout1.1"),
          NotShown("sms Phone1 No"), Visible("ServerTab"), TabOn("ServerTab"), TabOn("IOTab"),
          TabOn("EquimentTab"), Visible("ActivateGroupBox"),
          Height("ModeGroupBox", 110), Height("serial3Groupbox", 110), EverPosted({1, 3})}},
        {"DCTCP keeps the ID row but not its detail rows",
         {PickIndex("Protocolmodel", 2)},
         {Visible("ModeHorizontalLayout1"), Hidden("ModeHorizontalLayout1.1"),
          NotShown("Modem'sID number"), Shown("PhoneNO."), Hidden("ModeHorizontalLayout1.2"),
          Height("ModeGroupBox", 85), Height("serialGroupbox", 110)}},
        {"SMSCLI shows both SMS layouts and drops the binding centres",
         {PickIndex("Protocolmodel", 4)},
         {Visible("ModeLayout1.1"), Visible("ModeLayout1.2"), Shown("sms Phone4 No"),
          Shown("Encode Hex SMS"), Hidden("bindingCenterGroupBox"),
          Hidden("bindingCenterGroupBox2"), Hidden("bindingCenterGroupBox3"),
          NotShown("A serial port binding center"), NotShown("RS485 port binding center"),
          Height("serialGroupbox", 85), Height("serial2Groupbox", 85),
          Height("serial3Groupbox", 85), Height("ModeGroupBox", 185), Hidden("ServerTab"),
          TabOff("ServerTab"), Visible("GlobalTab"), TabOn("GlobalTab"),
          Hidden("DtumanageGroupBox"), NotShown("dtu is connect to dtu manage platform")}},
        {"CUST with SVR hides the servers but keeps the first server's pair",
         {PickText("ThePPPauthentication", "2"), PickIndex("Protocolmodel", 0), Settle(),
          PickIndex("DeviceModel", 1), PickIndex("Protocolmodel", 6)},
         {Hidden("ServiceGroupBox"), Shown("Server's Ip"), Shown("Server's Port"),
          NotShown("Secondary Server's Ip"), NotShown("Secondary Server's Port"),
          NotShown("Server2's Ip"), NotShown("Server3's Port"), NotShown("Server4's Ip"),
          NotShown("Server5's Port"), Hidden("bindingCenterGroupBox2"),
          NotShown("A serial 2 port binding center"), Visible("ModeHorizontalLayout5"),
          Shown("ListenPort"), Hidden("ModeHorizontalLayout4"), NotShown("RegistrationAndHeart"),
          Visible("ModeHorizontalLayout2"), Shown("DeviceModel"), Visible("ModeHorizontalLayout3"),
          Height("ModeGroupBox", 110), Height("serialGroupbox", 85),
          Height("serial3Groupbox", 85)}},
        {"CUST with CLI and registration shows the registration rows",
         {PickIndex("RegistrationAndHeart", 1), PickIndex("DeviceModel", 0),
          PickIndex("Protocolmodel", 6)},
         {Visible("ModeHorizontalLayout4"), Hidden("ModeHorizontalLayout5"),
          Hidden("ModeHorizontalLayout6"), Visible("ModeHorizontalLayout7"),
          Visible("ModeHorizontalLayout8"), Shown("RegisterIsHex"), Shown("HeartbeatPacket"),
          Visible("ServiceGroupBox"), Height("ModeGroupBox", 185),
          Height("serialGroupbox", 110)}},
        {"CUST with CLI without registration is 110 high",
         {PickIndex("RegistrationAndHeart", 0), PickIndex("DeviceModel", 0),
          PickIndex("Protocolmodel", 6)},
         {Hidden("ModeHorizontalLayout7"), Hidden("ModeHorizontalLayout8"),
          NotShown("RegisterInfo"), Height("ModeGroupBox", 110)}},
        // A client's serial ports are bound to its centres again after a spell as a server.
        {"CLI after SVR brings the binding centres back",
         {PickIndex("RegistrationAndHeart", 0), PickIndex("DeviceModel", 1),
          PickIndex("Protocolmodel", 6), Settle(), PickIndex("DeviceModel", 0)},
         {Visible("bindingCenterGroupBox"), Visible("bindingCenterGroupBox3"),
          Shown("A serial port binding center"), Visible("ServiceGroupBox"),
          Shown("Server's Ip"), Height("serial2Groupbox", 110), Height("ModeGroupBox", 110)}},
        {"no work mode leaves the rows and writes 60 and 110",
         {PickIndex("Protocolmodel", 4), Settle(), PickIndex("Protocolmodel", -1)},
         {Visible("ModeLayout1.1"), Hidden("bindingCenterGroupBox"),
          Height("ModeGroupBox", 60), Height("serialGroupbox", 110)}},
        {"a serial box the skin lacks is passed over",
         {Absent("serialGroupbox"), PickIndex("Protocolmodel", 4)},
         {Height("serial2Groupbox", 85), Height("serial3Groupbox", 85),
          Height("ModeGroupBox", 185)}},
        {"CUST without a device model writes no heights",
         {PickIndex("Protocolmodel", 4), Settle(), Absent("DeviceModel"),
          PickIndex("Protocolmodel", 6)},
         {Visible("ModeHorizontalLayout2"), Height("ModeGroupBox", 185),
          Height("serialGroupbox", 85)}},
        {"no work-mode combo changes nothing",
         {PickIndex("Protocolmodel", 4), Settle(), Absent("Protocolmodel"), PostRule(0)},
         {Visible("ModeLayout1.1"), Height("ModeGroupBox", 185)}},
    };
    // clang-format on
    RunChainCases(GetParam(), cases);
}

TEST_P(WorkModeRules, ServerCountShowsTheServerRows) {
    // clang-format off
    const std::vector<ChainCase> cases = {
        {"0 servers on a K3V61 device",
         {PickText("ThePPPauthentication", "0")},
         {Visible("ServiceHorizontalLayout6"), Hidden("ServiceHorizontalLayout0"),
          Hidden("ServiceHorizontalLayout1"), Hidden("ServiceHorizontalLayout5"),
          NotShown("Server's Ip"), NotShown("Secondary Server's Port"),
          TextLabel("ServerTitle", "ModeTabItemChange", "ServerTitle1"),
          TextLabel("Server's Label", "ModeTabItemChange", "Server's Label1"),
          Height("ServiceGroupBox", 60), Height("ServiceGroupBox2", 110), MessageBoxes(0)},
         "K3V61-GPS"},
        {"0 servers elsewhere is refused and falls back to 1",
         {PickText("ThePPPauthentication", "0")},
         {MessageBoxes(1), MessageBoxLabel("Notify", "ServerCount"),
          TextIs("ThePPPauthentication", "1"), Visible("ServiceHorizontalLayout0"),
          Visible("ServiceHorizontalLayout1"), Shown("Server's Ip"),
          Shown("Secondary Server's Ip"), Height("ServiceGroupBox", 110),
          Height("ServiceGroupBox2", 110)},
         "M5Z30-L"},
        {"1 server shows the main and the secondary rows",
         {PickText("ThePPPauthentication", "3"), Settle(), PickText("ThePPPauthentication", "1")},
         {Visible("ServiceHorizontalLayout0"), Visible("ServiceHorizontalLayout1"),
          Hidden("ServiceHorizontalLayout2"), Hidden("ServiceHorizontalLayout3"),
          Visible("ServiceHorizontalLayout6"), Shown("Secondary Server's Port"),
          NotShown("Server2's Ip"), NotShown("Server3's Ip"),
          TextLabel("ServerTitle", "ModeTabItemChange", "ServerTitle1"),
          Height("ServiceGroupBox", 110), Height("ServiceGroupBox2", 110), MessageBoxes(0)}},
        {"2 servers hide the secondary row and show Server2's",
         {PickText("ThePPPauthentication", "1"), Settle(), PickText("ThePPPauthentication", "2")},
         {Visible("ServiceHorizontalLayout0"), Hidden("ServiceHorizontalLayout1"),
          Visible("ServiceHorizontalLayout2"), Hidden("ServiceHorizontalLayout6"),
          NotShown("Secondary Server's Ip"), Shown("Server2's Ip"), Shown("Server2's Port"),
          TextLabel("ServerTitle", "ModeTabItemChange", "ServerTitle2"),
          TextLabel("Server's Label", "ModeTabItemChange", "Server's Label2"),
          Height("ServiceGroupBox", 110), Height("ServiceGroupBox2", 85)}},
        {"5 servers show every server row",
         {PickText("ThePPPauthentication", "5")},
         {Visible("ServiceHorizontalLayout3"), Visible("ServiceHorizontalLayout5"),
          Hidden("ServiceHorizontalLayout1"), Shown("Server5's Port"), Shown("Server4's Ip"),
          Height("ServiceGroupBox", 185), Height("ServiceGroupBox2", 85)}},
        {"no server group box ends the rule before the second box",
         {PickText("ThePPPauthentication", "1"), Settle(), Absent("ServiceGroupBox"),
          PickText("ThePPPauthentication", "2")},
         {Visible("ServiceHorizontalLayout2"), Height("ServiceGroupBox2", 110)}},
        {"no server title changes nothing",
         {PickText("ThePPPauthentication", "1"), Settle(), Absent("ServerTitle"),
          PickText("ThePPPauthentication", "2")},
         {Visible("ServiceHorizontalLayout1"), Hidden("ServiceHorizontalLayout2"),
          Height("ServiceGroupBox2", 110)}},
    };
    // clang-format on
    RunChainCases(GetParam(), cases);
}

INSTANTIATE_TEST_SUITE_P(Skins, WorkModeRules, testing::Values(SkinKind::Test, SkinKind::Real),
                         SkinName);
