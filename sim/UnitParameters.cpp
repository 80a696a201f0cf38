#include "sim/UnitParameters.h"

#include "sim/TextUtil.h"

namespace sim {

namespace {

// Listing order, grouped by function as the unit prints them. The listing anchor
// "Access Point Name:" must stay first: readers ignore everything before it.
constexpr UnitParameter kParameters[] = {
    // Wireless link
    {"Access Point Name:", "AT+APN", Text(), "CMNET"},
    {"PPP Authentication User Id:", "AT+USERNAME", Text(), ""},
    {"PPP Authentication Password:", "AT+PASSWORD", Text(), ""},
    {"The PPP authentication:", "AT+PAUTH", Choice("NONE PAP CHAP"), "PAP"},
    {"Center call number:", "AT+CENT", Text(), "*99#"},
    {"net mode:", "AT+NETMODE", Choice("0 4 5 6 7 8 9"), "0"},
    {"PPP Wait Time Between Dial Failures:", "AT+PRDLWT", Int(0, 65535), "30"},
    {"PPP Link Fail Retry Times:", "AT+PRETRY", Int(0, 255), "3"},
    {"Dns Server's Ip:", "AT+DNSSVR", kIpv4, "114.114.114.114"},
    {"Second Dns Server's Ip:", "AT+DNSSV2", kIpv4, "8.8.8.8"},

    // Work mode
    {"Protocol model:", "At+PROMODE", Choice("PROT DCUDP DCTCP TRNS SMSCLI SMSSER CUST -1"),
     "DCTCP"},
    {"Modem's ID number:", "AT+IDNT", Text(), "12345678"},
    {"Modem's Phone Number:", "AT+PHON", kPhone, "13912345678"},
    {"Device model:", "AT+DEVMODE", Choice("CLI SVR -1"), "CLI"},
    {"Transfer protocol:", "AT+TRNPRO", Choice("TCP UDP"), "TCP"},
    {"Registration and heart function:", "At+ENHRT", Int(0, 3), "0"},
    {"Register And Keep Online Info Is Hex:", "AT+HEXLOGIN", kSwitch, "0"},
    {"Custom Register Info:", "AT+CONNRGST", Text(), "REGISTER"},
    {"Custom Register reply Info:", "AT+CONNRGSTREP", Text(), ""},
    {"Custom Keep Online Info:", "AT+LINKRGST", Text(), "HEARTBEAT"},
    {"Custom Keep Online  reply Info:", "AT+LINKRGSTREP", Text(), ""},
    {"Listen on port:", "AT+LPORT", kPort, "5000"},
    {"Show Phone NO:", "AT+PHONENOSHOW", kSwitch, "0"},
    {"Encode Hex SMS:", "AT+ENCODEHEXSMS", kSwitch, "0"},
    {"sms Phone1 No.:", "AT+PHONE1", kPhone, ""},
    {"sms Phone2 No.:", "AT+PHONE2", kPhone, ""},
    {"sms Phone3 No.:", "AT+PHONE3", kPhone, ""},
    {"sms Phone4 No.:", "AT+PHONE4", kPhone, ""},
    {"Deliver Recved Tcp Data Directly:", "AT+STRAIGHT", kSwitch, "0"},
    {"Sms Daemon Password:", "AT+SMSDPSWD", Text(), "1234"},
    {"Debug Level :", "AT+DEBUG", Int(0, 3), "0"},
    {"Debugging information out port:", "AT+DEBUGPORT", Int(1, 3), "1"},

    // Activation
    {"Activate Method:", "AT+ACTI", Choice("AUTO SMSD CTRL DATA MIXD DIO -1"), "AUTO"},
    {"Control Phone No.:", "AT+CTRLNO", kPhone, ""},
    {"SMS activation number:", "AT+ACTSMSNO", kPhone, ""},
    {"Activate the serial no:", "AT+ACTSERLNO", Int(1, 3), "1"},
    {"The activation data format:", "AT+ACTDATAFMT", kSwitch, "0"},
    {"Data Daemon PPP On Password:", "AT+DONPSWD", Text(), "PPPON"},
    {"Data Daemon PPP Off Password:", "AT+DOFFPSWD", Text(), "PPPOFF"},
    {"IO activation methods:", "AT+IOACTMTH", kSwitch, "0"},

    // Servers
    {"Total Servers:", "AT+SVRCNT", Int(0, 5), "1"},
    {"Server's Ip:", "AT+IPAD", kHost, "203.0.113.10"},
    {"Server's Port:", "AT+PORT", kPort, "5001"},
    {"Secondary Server's Ip:", "AT+IPSEC", kHost, "203.0.113.11"},
    {"Secondary Server's Port:", "AT+PTSEC", kPort, "5001"},
    {"Server1's Ip:", "AT+IPAD1", kHost, "0.0.0.0"},
    {"Server1's Port:", "AT+PORT1", kPort, "0"},
    {"Server2's Ip:", "AT+IPAD2", kHost, "0.0.0.0"},
    {"Server2's Port:", "AT+PORT2", kPort, "0"},
    {"Server3's Ip:", "AT+IPAD3", kHost, "0.0.0.0"},
    {"Server3's Port:", "AT+PORT3", kPort, "0"},
    {"Server4's Ip:", "AT+IPAD4", kHost, "0.0.0.0"},
    {"Server4's Port:", "AT+PORT4", kPort, "0"},
    {"Wait Time Between Dial Failures:", "AT+RDLWT", Int(0, 65535), "30"},
    {"Link Fail Retry Times:", "AT+RETRY", Int(0, 255), "5"},
    {"Should Return To Main Server:", "AT+RETMAIN", kSwitch, "1"},

    // Serial ports
    {"Serial Baudrate:", "AT+IPR", kBaud, "115200"},
    {"Serial port commu mode:", "AT+SERMODE", kFrame, "8N1"},
    {"A serial port binding center:", "AT+SERBINDCNT", kBindingCenter, "1"},
    {"Serial 2 Baudrate:", "AT+SETIPR2", kBaud, "9600"},
    {"Serial 2 port commu mode:", "AT+SERMODE2", kFrame, "8N1"},
    {"A serial 2 port binding center:", "AT+SERBINDCNT2", kBindingCenter, "1"},
    {"RS485 Baudrate:", "AT+RS485IPR", kBaud, "9600"},
    {"RS485 port commu mode:", "AT+RS485SERMODE", kFrame, "8N1"},
    {"RS485 port binding center:", "AT+RS485BINDCNT", kBindingCenter, "1"},

    // Digital I/O. Work modes 0..6 (4 and 5 are the activation functions); mapping center 6 is
    // "none"; interfaces are the unit's words.
    {"DIO1 workmode:", "AT+DIOWORKMODE1", Int(0, 6), "0"},
    {"DIO1 SMS number:", "AT+DIOSMSNO1", kPhone, ""},
    {"DIO1 high level information:", "AT+DIOHIGHINFO1", Text(), "DIO1 HIGH"},
    {"DIO1 low level information:", "AT+DIOLOWINFO1", Text(), "DIO1 LOW"},
    {"DIO1 upper threshold:", "AT+DIOADCUPTHR1", Int(0, 65535), "3000"},
    {"DIO1 lower threshold:", "AT+DIOADCLOWTHR1", Int(0, 65535), "1000"},
    {"DIO1 and mapping center:", "AT+DIOMAPC1", Int(0, 6), "6"},
    {"DIO1 reported methods:", "AT+DIOREPMETHOD1", kSwitch, "0"},
    {"DIO1 query command:", "AT+DIOQUERYCMD1", Text(), "READ DIO1"},
    {"DIO1 reported times:", "AT+DIOREPTIMES1", Int(0, 65535), "1"},
    {"The DIO1 data format:", "AT+DIODATAFMT1", kSwitch, "0"},
    {"DIO1 protocol:", "AT+DIOPRO1", kSwitch, "0"},
    {"DIO1 interface:", "AT+DIOINTFACE1", Choice("GPRS SMS COM RS485"), "GPRS"},
    {"DIO1 output control result:", "AT+DIOOUTPUTRSP1", Text(), "DIO1 SET"},
    {"DIO2 workmode:", "AT+DIOWORKMODE2", Int(0, 6), "0"},
    {"DIO2 SMS number:", "AT+DIOSMSNO2", kPhone, ""},
    {"DIO2 high level information:", "AT+DIOHIGHINFO2", Text(), "DIO2 HIGH"},
    {"DIO2 low level information:", "AT+DIOLOWINFO2", Text(), "DIO2 LOW"},
    {"DIO2 upper threshold:", "AT+DIOADCUPTHR2", Int(0, 65535), "3000"},
    {"DIO2 lower threshold:", "AT+DIOADCLOWTHR2", Int(0, 65535), "1000"},
    {"DIO2 and mapping center:", "AT+DIOMAPC2", Int(0, 6), "6"},
    {"DIO2 reported methods:", "AT+DIOREPMETHOD2", kSwitch, "0"},
    {"DIO2 query command:", "AT+DIOQUERYCMD2", Text(), "READ DIO2"},
    {"DIO2 reported times:", "AT+DIOREPTIMES2", Int(0, 65535), "1"},
    {"The DIO2 data format:", "AT+DIODATAFMT2", kSwitch, "0"},
    {"DIO2 protocol:", "AT+DIOPRO2", kSwitch, "0"},
    {"DIO2 interface:", "AT+DIOINTFACE2", Choice("GPRS SMS COM RS485"), "GPRS"},
    {"DIO2 output control result:", "AT+DIOOUTPUTRSP2", Text(), "DIO2 SET"},
    {"DIO3 workmode:", "AT+DIOWORKMODE3", Int(0, 6), "0"},
    {"DIO3 SMS number:", "AT+DIOSMSNO3", kPhone, ""},
    {"DIO3 high level information:", "AT+DIOHIGHINFO3", Text(), "DIO3 HIGH"},
    {"DIO3 low level information:", "AT+DIOLOWINFO3", Text(), "DIO3 LOW"},
    {"DIO3 upper threshold:", "AT+DIOADCUPTHR3", Int(0, 65535), "3000"},
    {"DIO3 lower threshold:", "AT+DIOADCLOWTHR3", Int(0, 65535), "1000"},
    {"DIO3 and mapping center:", "AT+DIOMAPC3", Int(0, 6), "6"},
    {"DIO3 reported methods:", "AT+DIOREPMETHOD3", kSwitch, "0"},
    {"DIO3 query command:", "AT+DIOQUERYCMD3", Text(), "READ DIO3"},
    {"DIO3 reported times:", "AT+DIOREPTIMES3", Int(0, 65535), "1"},
    {"The DIO3 data format:", "AT+DIODATAFMT3", kSwitch, "0"},
    {"DIO3 protocol:", "AT+DIOPRO3", kSwitch, "0"},
    {"DIO3 interface:", "AT+DIOINTFACE3", Choice("GPRS SMS COM RS485"), "GPRS"},
    {"DIO3 output control result:", "AT+DIOOUTPUTRSP3", Text(), "DIO3 SET"},
    {"Mobus address:", "AT+MBADDRESS", Int(1, 247), "1"},

    // Management platform and SMS configuration
    {"dtu is connect to dtu manage platform:", "AT+CONNTOMANA", kSwitch, "0"},
    {"Dtu manage id:", "AT+MANAID", Text(), "00000001"},
    {"Dtu manage transfer protocol:", "AT+MANAPRO", Choice("TCP UDP"), "TCP"},
    {"dtu manage server's Ip:", "AT+DTUMANAIP", kHost, "203.0.113.20"},
    {"dtu manage server's Port:", "AT+DTUMANAPORT", kPort, "9000"},
    {"DTU SMS configure fun:", "AT+SMSCF", kSwitch, "0"},
    {"DTU SMS configure password:", "AT+SMSCPW", Text(), "123456"},
    {"DTU SMS administrator number:", "AT+SMSADMNUM", kPhone, ""},

    // Global: link checks, SMS centre, framing and retries. EXFUN is a bit set of the
    // extra link checks (3: ICMP check on).
    {"LCP ECHO:", "AT+ECHOENABLE", kSwitch, "1"},
    {"Lcp echo interval:", "AT+ECHOINT", Int(0, 65535), "30"},
    {"Lcp echo testing number:", "AT+ECHOTESTNUM", Int(0, 255), "5"},
    {"EXFUN:", "AT+EXFUN", Int(0, 3), "0"},
    {"ICMP Ip:", "AT+ICMPIP", kHost, "114.114.114.114"},
    {"ICMP interval:", "AT+ICMPINT", Int(0, 65535), "60"},
    {"ICMP testing number:", "AT+ICMPTESTNUM", Int(0, 255), "3"},
    {"Sms Center :", "AT+SMSC", kPhone, "+8613800100500"},
    {"Send group package waiting for:", "AT+SENDWAIT", Int(0, 65535), "100"},
    {"Max Tcp Frame Len:", "AT+TCPMTU", Int(1, 1460), "1024"},
    {"Resend wating:", "AT+RESWAIT", Int(0, 65535), "3000"},
    {"Maximum retransmission times:", "AT+MAXRESTIMES", Int(0, 255), "3"},
    {"After a failed action:", "AT+AFTFAIL", Int(0, 2), "0"},
    {"Waiting for the failure:", "AT+WAITFAILURE", Int(0, 65535), "60"},
    {"Heartbeat poll time seconds:", "AT+POLLTIME", Int(0, 65535), "60"},

    // LoRa module. Air rates and module types are counted from 1.
    {"LORA ID:", "AT+LID", Int(0, 65535), "1"},
    {"LORA Rate:", "AT+RSPD", Int(1, 10), "3"},
    {"LORA Mode:", "AT+MOD", Choice("TRNS FP BC"), "TRNS"},
    {"LORA TAddr:", "AT+TADDR", Int(0, 65535), "0"},
    {"EL transmit channel:", "AT+ZDATCHAN", Int(0, 255), "0"},
    {"LORA Power:", "AT+LPR", Int(0, 30), "20"},
    {"LORA freq:", "AT+LFR", Int(137, 1020), "433"},
    {"LORA pid:", "AT+LPID", Int(0, 65535), "1"},
    {"LORA typ:", "AT+LTYP", Int(1, 3), "1"},
    {"LORA ppt:", "AT+LPPT", Choice("0 1"), "0"},
    {"LORA ver:", "", kReadOnly, ""},

    // ZigBee module
    {"ZigBee_WorkMode :", "AT+ZTXTYPE", Int(0, 2), "0"},
    {"ZigBee_RFchannel :", "AT+CHA", Int(11, 26), "15"},
    {"ZigBee_NetworkID :", "AT+PID", kHexWord, "1001"},
    {"ZigBee_TransAddr :", "AT+TAD", kHexWord, "0000"},
    {"ZigBee_Type :", "AT+TYP", Int(0, 2), "0"},

    // GPS module
    {"GPS Server's Ip:", "AT+GPSAD", kHost, "203.0.113.30"},
    {"GPS Server's Port:", "AT+GPSPORT", kPort, "6000"},
    {"GPS work mode:", "AT+GPSTMOD", Int(0, 2), "0"},
    {"GPS euipment ID:", "AT+GPSID", Text(), "GPS0001"},
    {"GPS transmit interval:", "AT+GPSINT", Int(1, 65535), "10"},
    {"GPS GPRMC:", "AT+FRMC", kSwitch, "1"},
    {"GPS GPVTG:", "AT+FVTG", kSwitch, "0"},
    {"GPS GPGGA:", "AT+FGGA", kSwitch, "0"},
    {"GPS GPGSA:", "AT+FGSA", kSwitch, "0"},
    {"GPS GPGSV:", "AT+FGSV", kSwitch, "0"},
    {"GPS GPGLL:", "AT+FGLL", kSwitch, "0"},

    // Identity
    {"Device Type:", "", kReadOnly, "DTU-K3"},
};

// Factory values that depend on the module fitted.
struct VariantFactoryRow {
    std::string_view label;
    std::string_view none;
    std::string_view lora;
    std::string_view zigbee;
    std::string_view gps;
};

constexpr VariantFactoryRow kVariantFactory[] = {
    {"Device Type:", "DTU-K3", "DTU-K3-L", "DTU-K3-Z", "DTU-K3V61"},
    {"LORA ver:", "", kLoraVersionV1, "", ""},
    {"EL transmit channel:", "0", "3", "3", "17"},
};

std::string_view StripLineStart(std::string_view label) {
    if (label.substr(0, 2) == "\r\n") label.remove_prefix(2);
    return label;
}

}  // namespace

std::span<const UnitParameter> UnitParameters() {
    return kParameters;
}

int FindParameterByCommand(std::string_view command) {
    if (command.empty()) return -1;
    for (std::size_t i = 0; i < std::size(kParameters); ++i) {
        if (EqualsNoCase(kParameters[i].command, command)) return static_cast<int>(i);
    }
    return -1;
}

int FindParameterByLabel(std::string_view label) {
    label = StripLineStart(label);
    for (std::size_t i = 0; i < std::size(kParameters); ++i) {
        if (kParameters[i].label == label) return static_cast<int>(i);
    }
    return -1;
}

std::string_view FactoryValue(std::size_t index, UnitVariant variant,
                              std::string_view loraVersion) {
    if (index >= std::size(kParameters)) return {};
    const UnitParameter& parameter = kParameters[index];
    for (const auto& row : kVariantFactory) {
        if (row.label != parameter.label) continue;
        if (row.label == "LORA ver:" && variant == UnitVariant::Lora && !loraVersion.empty()) {
            return loraVersion;
        }
        switch (variant) {
            case UnitVariant::None:
                return row.none;
            case UnitVariant::Lora:
                return row.lora;
            case UnitVariant::Zigbee:
                return row.zigbee;
            case UnitVariant::Gps:
                return row.gps;
        }
    }
    return parameter.factory;
}

}  // namespace sim
