// The unit's parameter protocol: every control name with the tab it lives on, the label that
// introduces its value in the AT+SHOW listing and the command word that writes it. Names, labels
// and commands are the unit's and the skin's own spellings, double spaces and odd capitals
// included, so they are kept here letter for letter.
#include <iterator>
#include <string>

#include "params/ParameterTable.h"

namespace {

struct ParameterRow {
    int tab;
    ControlKind kind;
    const char* name;
    const char* label;  // kStandard: CR LF, the name and a colon
    const char* command;
};

constexpr const char* kStandard = nullptr;
constexpr const char* kNone = "";

constexpr ControlKind kNoKind = ControlKind::None;
constexpr ControlKind kEdit = ControlKind::Edit;
constexpr ControlKind kCombo = ControlKind::Combobox;
constexpr ControlKind kLine = ControlKind::Line;

// In order of addition; the map orders them by name anyway, the order only decides which of two
// rows of one name would win.
// clang-format off
constexpr ParameterRow kParameterRows[] = {
    // No tab
    {kNoTab, kNoKind, "LORA ver", kStandard, "AT+LVER"},

    // Tab 7 (LoraTab)
    {7, kEdit, "LORA ID", kStandard, "AT+LID"},
    {7, kCombo, "LORA Rate", kStandard, "AT+RSPD"},
    {7, kCombo, "LORA Mode", kStandard, "AT+MOD"},
    {7, kEdit, "LORA TAddr", kStandard, "AT+TADDR"},
    {7, kLine, "EL transmit channel", kStandard, "AT+ZDATCHAN"},
    {7, kLine, "Device Type", kStandard, kNone},
    {7, kEdit, "LORA Power", kStandard, "AT+LPR"},
    {7, kEdit, "LORA freq", kStandard, "AT+LFR"},
    {7, kEdit, "LORA pid", kStandard, "AT+LPID"},
    {7, kCombo, "LORA typ", kStandard, "AT+LTYP"},
    {7, kCombo, "LORA ppt", kStandard, "AT+LPPT"},

    // Tab 8 (ZigbeeTab)
    {8, kCombo, "ZigBee_WorkMode", "\r\nZigBee_WorkMode :", "AT+ZTXTYPE"},
    {8, kCombo, "ZigBee_RFchannel", "\r\nZigBee_RFchannel :", "AT+CHA"},
    {8, kEdit, "ZigBee_NetworkID", "\r\nZigBee_NetworkID :", "AT+PID"},
    {8, kEdit, "ZigBee_TransAddr", "\r\nZigBee_TransAddr :", "AT+TAD"},
    {8, kCombo, "ZigBee_Type", "\r\nZigBee_Type :", "AT+TYP"},
    {8, kLine, "EL transmit channel_Z", "\r\nEL transmit channel:", "AT+ZDATCHAN"},

    // Tab 9 (GPSTab)
    {9, kEdit, "GPS Server's Ip", kStandard, "AT+GPSAD"},
    {9, kEdit, "GPS Server's Port", kStandard, "AT+GPSPORT"},
    {9, kCombo, "GPS work mode", kStandard, "AT+GPSTMOD"},
    {9, kEdit, "GPS euipment ID", kStandard, "AT+GPSID"},
    {9, kEdit, "GPS transmit interval", kStandard, "AT+GPSINT"},
    {9, kLine, "EL transmit channel_G", "\r\nEL transmit channel:", "AT+ZDATCHAN"},
    {9, kCombo, "GPS GPRMC", kStandard, "AT+FRMC"},
    {9, kCombo, "GPS GPVTG", kStandard, "AT+FVTG"},
    {9, kCombo, "GPS GPGGA", kStandard, "AT+FGGA"},
    {9, kCombo, "GPS GPGSA", kStandard, "AT+FGSA"},
    {9, kCombo, "GPS GPGSV", kStandard, "AT+FGSV"},
    {9, kCombo, "GPS GPGLL", kStandard, "AT+FGLL"},

    // Tab 3 (IOTab)
    {3, kCombo, "DIO1 workmode", "DIO1 workmode:", "AT+DIOWORKMODE1"},
    {3, kEdit, "DIO1 SMS number", "DIO1 SMS number:", "AT+DIOSMSNO1"},
    {3, kEdit, "DIO1 high level information", "DIO1 high level information:", "AT+DIOHIGHINFO1"},
    {3, kEdit, "DIO1 low level information", "DIO1 low level information:", "AT+DIOLOWINFO1"},
    {3, kEdit, "DIO1 upper threshold", "DIO1 upper threshold:", "AT+DIOADCUPTHR1"},
    {3, kEdit, "DIO1 lower threshold", "DIO1 lower threshold:", "AT+DIOADCLOWTHR1"},
    {3, kCombo, "DIO1 and mapping center", "DIO1 and mapping center:", "AT+DIOMAPC1"},
    {3, kCombo, "DIO1 reported methods", "DIO1 reported methods:", "AT+DIOREPMETHOD1"},
    {3, kEdit, "DIO1 query command", "DIO1 query command:", "AT+DIOQUERYCMD1"},
    {3, kEdit, "DIO1 reported times", "DIO1 reported times:", "AT+DIOREPTIMES1"},
    {3, kCombo, "1The DIO1 data format", "The DIO1 data format:", "AT+DIODATAFMT1"},
    {3, kCombo, "DIO1 protocol", "DIO1 protocol:", "AT+DIOPRO1"},
    {3, kCombo, "DIO1 interface", "DIO1 interface:", "AT+DIOINTFACE1"},
    {3, kEdit, "DIO1 output control result", "DIO1 output control result:", "AT+DIOOUTPUTRSP1"},
    {3, kCombo, "DIO2 workmode", "DIO2 workmode:", "AT+DIOWORKMODE2"},
    {3, kEdit, "DIO2 SMS number", "DIO2 SMS number:", "AT+DIOSMSNO2"},
    {3, kEdit, "DIO2 high level information", "DIO2 high level information:", "AT+DIOHIGHINFO2"},
    {3, kEdit, "DIO2 low level information", "DIO2 low level information:", "AT+DIOLOWINFO2"},
    {3, kEdit, "DIO2 upper threshold", "DIO2 upper threshold:", "AT+DIOADCUPTHR2"},
    {3, kEdit, "DIO2 lower threshold", "DIO2 lower threshold:", "AT+DIOADCLOWTHR2"},
    {3, kCombo, "DIO2 and mapping center", "DIO2 and mapping center:", "AT+DIOMAPC2"},
    {3, kCombo, "DIO2 reported methods", "DIO2 reported methods:", "AT+DIOREPMETHOD2"},
    {3, kEdit, "DIO2 query command", "DIO2 query command:", "AT+DIOQUERYCMD2"},
    {3, kEdit, "DIO2 reported times", "DIO2 reported times:", "AT+DIOREPTIMES2"},
    {3, kCombo, "The DIO2 data format", "The DIO2 data format:", "AT+DIODATAFMT2"},
    {3, kCombo, "DIO2 protocol", "DIO2 protocol:", "AT+DIOPRO2"},
    {3, kCombo, "DIO2 interface", "DIO2 interface:", "AT+DIOINTFACE2"},
    {3, kEdit, "DIO2 output control result", "DIO2 output control result:", "AT+DIOOUTPUTRSP2"},
    {3, kCombo, "DIO3 workmode", "DIO3 workmode:", "AT+DIOWORKMODE3"},
    {3, kEdit, "DIO3 SMS number", "DIO3 SMS number:", "AT+DIOSMSNO3"},
    {3, kEdit, "DIO3 high level information", "DIO3 high level information:", "AT+DIOHIGHINFO3"},
    {3, kEdit, "DIO3 low level information", "DIO3 low level information:", "AT+DIOLOWINFO3"},
    {3, kEdit, "DIO3 upper threshold", "DIO3 upper threshold:", "AT+DIOADCUPTHR3"},
    {3, kEdit, "DIO3 lower threshold", "DIO3 lower threshold:", "AT+DIOADCLOWTHR3"},
    {3, kCombo, "DIO3 and mapping center", "DIO3 and mapping center:", "AT+DIOMAPC3"},
    {3, kCombo, "DIO3 reported methods", "DIO3 reported methods:", "AT+DIOREPMETHOD3"},
    {3, kEdit, "DIO3 query command", "DIO3 query command:", "AT+DIOQUERYCMD3"},
    {3, kEdit, "DIO3 reported times", "DIO3 reported times:", "AT+DIOREPTIMES3"},
    {3, kCombo, "1The DIO3 data format", "The DIO3 data format:", "AT+DIODATAFMT3"},
    {3, kCombo, "DIO3 protocol", "DIO3 protocol:", "AT+DIOPRO3"},
    {3, kCombo, "DIO3 interface", "DIO3 interface:", "AT+DIOINTFACE3"},
    {3, kEdit, "DIO3 output control result", "DIO3 output control result:", "AT+DIOOUTPUTRSP3"},
    {3, kEdit, "Mobus address", "Mobus address:", "AT+MBADDRESS"},

    // Tab 6 (EquimentTab)
    {6, kCombo, "dtu is connect to dtu manage platform", kStandard, "AT+CONNTOMANA"},
    {6, kEdit, "Dtu manage id", kStandard, "AT+MANAID"},
    {6, kCombo, "Dtumanagetransferprotocol", "\r\nDtu manage transfer protocol:", "AT+MANAPRO"},
    {6, kEdit, "dtu manage server's Ip", kStandard, "AT+DTUMANAIP"},
    {6, kEdit, "dtu manage server's Port", kStandard, "AT+DTUMANAPORT"},
    {6, kCombo, "DTU SMS configure fun", kStandard, "AT+SMSCF"},
    {6, kEdit, "DTU SMS configure password", kStandard, "AT+SMSCPW"},
    {6, kEdit, "DTU SMS administrator number", kStandard, "AT+SMSADMNUM"},

    // Tab 0 (WorkModeTab)
    {0, kCombo, "Protocolmodel", "\r\nProtocol model:", "At+PROMODE"},
    {0, kEdit, "Modem'sID number", "\r\nModem's ID number:", "AT+IDNT"},
    {0, kEdit, "PhoneNO.", "\r\nModem's Phone Number:", "AT+PHON"},
    {0, kCombo, "DeviceModel", "\r\nDevice model:", "AT+DEVMODE"},
    {0, kCombo, "Transferprotocol", "\r\nTransfer protocol:", "AT+TRNPRO"},
    {0, kCombo, "RegistrationAndHeart", "\r\nRegistration and heart function:", "At+ENHRT"},
    {0, kCombo, "RegisterIsHex", "\r\nRegister And Keep Online Info Is Hex:", "AT+HEXLOGIN"},
    {0, kEdit, "RegisterInfo", "\r\nCustom Register Info:", "AT+CONNRGST"},
    {0, kEdit, "RegistrationReplyInfo", "\r\nCustom Register reply Info:", "AT+CONNRGSTREP"},
    {0, kEdit, "HeartbeatPacket", "\r\nCustom Keep Online Info:", "AT+LINKRGST"},
    {0, kEdit, "HeartbeatPacketReplyInfo", "\r\nCustom Keep Online  reply Info:", "AT+LINKRGSTREP"},
    {0, kEdit, "ListenPort", "\r\nListen on port:", "AT+LPORT"},
    {0, kCombo, "Show Phone NO", kStandard, "AT+PHONENOSHOW"},
    {0, kCombo, "Encode Hex SMS", kStandard, "AT+ENCODEHEXSMS"},
    {0, kEdit, "sms Phone1 No", "\r\nsms Phone1 No.:", "AT+PHONE1"},
    {0, kEdit, "sms Phone2 No", "\r\nsms Phone2 No.:", "AT+PHONE2"},
    {0, kEdit, "sms Phone3 No", "\r\nsms Phone3 No.:", "AT+PHONE3"},
    {0, kEdit, "sms Phone4 No", "\r\nsms Phone4 No.:", "AT+PHONE4"},
    {0, kCombo, "Deliver Recved Tcp Data Directly", kStandard, "AT+STRAIGHT"},
    {0, kCombo, "ActivateMethod", "\r\nActivate Method:", "AT+ACTI"},
    {0, kEdit, "ActivationPhoneNO.", "\r\nControl Phone No.:", "AT+CTRLNO"},
    {0, kEdit, "SMSActivationNO.", "\r\nSMS activation number:", "AT+ACTSMSNO"},
    {0, kCombo, "ActivationInterface", "\r\nActivate the serial no:", "AT+ACTSERLNO"},
    {0, kCombo, "DataFormat", "\r\nThe activation data format:", "AT+ACTDATAFMT"},
    {0, kEdit, "On-line data", "\r\nData Daemon PPP On Password:", "AT+DONPSWD"},
    {0, kEdit, "Offline data", "\r\nData Daemon PPP Off Password:", "AT+DOFFPSWD"},
    {0, kCombo, "IOactivationmethods", "\r\nIO activation methods:", "AT+IOACTMTH"},
    {0, kCombo, "I/O selection", kNone, kNone},
    {0, kCombo, "I/O1 Mode", "\r\nDIO1 workmode:", "AT+DIOWORKMODE1"},
    {0, kCombo, "I/O2 Mode", "\r\nDIO2 workmode:", "AT+DIOWORKMODE2"},
    {0, kCombo, "I/O1 control", "\r\nDIO1 and mapping center:", "AT+DIOMAPC1"},
    {0, kCombo, "I/O2 control", "\r\nDIO2 and mapping center:", "AT+DIOMAPC2"},
    {0, kCombo, "I/O3 control", "\r\nDIO3 and mapping center:", "AT+DIOMAPC3"},
    {0, kEdit, "Sms Daemon Password", kStandard, "AT+SMSDPSWD"},
    {0, kCombo, "Debug Level", "\r\nDebug Level :", "AT+DEBUG"},
    {0, kCombo, "Debugging  port", "\r\nDebugging information out port:", "AT+DEBUGPORT"},

    // Tab 1 (ServerTab)
    {1, kCombo, "ThePPPauthentication", "\r\nTotal Servers:", "AT+SVRCNT"},
    {1, kEdit, "Server's Ip", kStandard, "AT+IPAD"},
    {1, kEdit, "Server's Port", kStandard, "AT+PORT"},
    {1, kEdit, "Secondary Server's Ip", kStandard, "AT+IPSEC"},
    {1, kEdit, "Secondary Server's Port", kStandard, "AT+PTSEC"},
    {1, kEdit, "Server2's Ip", "\r\nServer1's Ip:", "AT+IPAD1"},
    {1, kEdit, "Server2's Port", "\r\nServer1's Port:", "AT+PORT1"},
    {1, kEdit, "Server3's Ip", "\r\nServer2's Ip:", "AT+IPAD2"},
    {1, kEdit, "Server3's Port", "\r\nServer2's Port:", "AT+PORT2"},
    {1, kEdit, "Server4's Ip", "\r\nServer3's Ip:", "AT+IPAD3"},
    {1, kEdit, "Server4's Port", "\r\nServer3's Port:", "AT+PORT3"},
    {1, kEdit, "Server5's Ip", "\r\nServer4's Ip:", "AT+IPAD4"},
    {1, kEdit, "Server5's Port", "\r\nServer4's Port:", "AT+PORT4"},
    {1, kEdit, "Wait Time Between Dial Failures", kStandard, "AT+RDLWT"},
    {1, kEdit, "Link Fail Retry Times", kStandard, "AT+RETRY"},
    {1, kCombo, "Should Return To Main Server", kStandard, "AT+RETMAIN"},

    // Tab 2 (SerialTab)
    {2, kCombo, "Serial Baudrate", kStandard, "AT+IPR"},
    {2, kCombo, "Serial port commu mode", kStandard, "AT+SERMODE"},
    {2, kCombo, "A serial port binding center", kStandard, "AT+SERBINDCNT"},
    {2, kCombo, "Serial 2 Baudrate", kStandard, "AT+SETIPR2"},
    {2, kCombo, "Serial 2 port commu mode", kStandard, "AT+SERMODE2"},
    {2, kCombo, "A serial 2 port binding center", kStandard, "AT+SERBINDCNT2"},
    {2, kCombo, "RS485 Baudrate", kStandard, "AT+RS485IPR"},
    {2, kCombo, "RS485 port commu mode", kStandard, "AT+RS485SERMODE"},
    {2, kCombo, "RS485 port binding center", kStandard, "AT+RS485BINDCNT"},

    // Tab 4 (WirelessTab)
    {4, kEdit, "Center call number", kStandard, "AT+CENT"},
    {4, kEdit, "Access Point Name", "Access Point Name:", "AT+APN"},
    {4, kEdit, "User Id", "\r\nPPP Authentication User Id:", "AT+USERNAME"},
    {4, kEdit, "Password", "\r\nPPP Authentication Password:", "AT+PASSWORD"},
    {4, kCombo, "The PPP authentication", kStandard, "AT+PAUTH"},
    {4, kCombo, "net mode", kStandard, "AT+NETMODE"},
    {4, kEdit, "PPP Wait Time Between Dial Failures", kStandard, "AT+PRDLWT"},
    {4, kEdit, "PPP Link Fail Retry Times", kStandard, "AT+PRETRY"},
    {4, kEdit, "Dns Server's Ip", kStandard, "AT+DNSSVR"},
    {4, kEdit, "Second Dns Server's Ip", kStandard, "AT+DNSSV2"},

    // Tab 5 (GlobalTab)
    {5, kCombo, "LCP ECHO", kStandard, "AT+ECHOENABLE"},
    {5, kEdit, "Lcp echo interval", kStandard, "AT+ECHOINT"},
    {5, kEdit, "Lcp echo testing number", kStandard, "AT+ECHOTESTNUM"},
    {5, kCombo, "EXFUN", kStandard, "AT+EXFUN"},
    {5, kEdit, "ICMP Ip", kStandard, "AT+ICMPIP"},
    {5, kEdit, "ICMP interval", kStandard, "AT+ICMPINT"},
    {5, kEdit, "ICMP testing number", kStandard, "AT+ICMPTESTNUM"},
    {5, kEdit, "Sms Center", "\r\nSms Center :", "AT+SMSC"},
    {5, kEdit, "Send group package waiting for", kStandard, "AT+SENDWAIT"},
    {5, kEdit, "Max Tcp Frame Len", kStandard, "AT+TCPMTU"},
    {5, kEdit, "Resend wating", kStandard, "AT+RESWAIT"},
    {5, kEdit, "Maximum retransmission times", kStandard, "AT+MAXRESTIMES"},
    {5, kCombo, "After a failed action", kStandard, "AT+AFTFAIL"},
    {5, kEdit, "Waiting for the failure", kStandard, "AT+WAITFAILURE"},
    {5, kEdit, "Heartbeat poll time seconds", kStandard, "AT+POLLTIME"},
};
// clang-format on

static_assert(std::size(kParameterRows) == 167);

std::string StandardLabel(const char* name) {
    return std::string("\r\n") + name + ":";
}

}  // namespace

void BuildParameterTable(ParameterTable& table) {
    for (const ParameterRow& row : kParameterRows) {
        const std::string label = row.label == kStandard ? StandardLabel(row.name) : row.label;
        table.AddParameter(row.tab, row.kind, row.name, label, row.command);
    }
    // The LoRa version is only read, to pick the LoRa layout; the unit takes no write of it.
    table.ParameterAt("LORA ver").shown = false;
}
