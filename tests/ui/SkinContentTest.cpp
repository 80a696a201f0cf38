// The two skin folders against what the program expects of them: every parameter control on
// the page of its tab and of its kind, the names the layout rules, the tab strip and the frame
// look up, item lists that agree with the reading and writing rules, group-box heights that
// fit the rows each rule shows, and every label of Language.ini. Both folders must agree
// name for name, class for class and item count for item count.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLayout>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/SkinPages.h"
#include "tests/support/TestPaths.h"
#include "ui/Container.h"
#include "ui/Controls.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManager.h"

namespace {

constexpr const char* kEnglish = "ConifgENRes";
constexpr const char* kChinese = "ConifgRes";
constexpr const char* kFolders[] = {kEnglish, kChinese};

std::string SkinDir(const char* folder) {
    return testpaths::SourceDir() + "/skin/" + folder + "/";
}

// The page file of each parameter tab, 0 to 9.
constexpr const char* kTabFiles[] = {
    "WorkTab.xml",    "Service Centre.xml",   "Serial port.xml",          "IOPage.xml",
    "Wireless.xml",   "Global Parameter.xml", "Equipment Management.xml", "LoraPage.xml",
    "ZigbeePage.xml", "GPSPage.xml",
};

using testskin::PageLoader;

void Walk(CControlUI* control, const std::function<void(CControlUI*)>& visit) {
    if (!control) return;
    visit(control);
    if (auto* container = dynamic_cast<CContainerUI*>(control)) {
        for (int i = 0; i < container->GetCount(); ++i) Walk(container->GetItemAt(i), visit);
    }
}

CControlUI* FindIn(CControlUI* root, std::string_view name) {
    CControlUI* found = nullptr;
    Walk(root, [&](CControlUI* c) {
        if (!found && c->GetName() == name) found = c;
    });
    return found;
}

// One skin folder built the way the frame builds it.
struct LoadedSkin {
    explicit LoadedSkin(const char* folderName) : folder(folderName), dir(SkinDir(folderName)) {
        CPaintManagerUI::SetResourcePath(dir.c_str());
        PageLoader loader;
        CDialogBuilder builder;
        CControlUI* root = builder.Create("skin.xml", nullptr, &loader, &manager);
        errors = loader.errors;
        if (!root) errors.push_back("skin.xml: " + builder.LastError());
        manager.AttachDialog(root);
        // AttachDialog posts "windowinit" for this manager; deliver it while the manager lives.
        QCoreApplication::processEvents();
    }
    CControlUI* Find(std::string_view name) const { return manager.FindControl(name); }
    CComboUI* Combo(std::string_view name) const { return dynamic_cast<CComboUI*>(Find(name)); }

    const char* folder;
    std::string dir;
    CPaintManagerUI manager;
    std::vector<std::string> errors;
};

// A page file built on its own, for the check that a control lives on its tab's page.
std::unique_ptr<CControlUI> BuildPage(const char* folder, const char* file) {
    CPaintManagerUI::SetResourcePath(SkinDir(folder).c_str());
    CDialogBuilder builder;
    return std::unique_ptr<CControlUI>(builder.Create(file));
}

std::vector<std::string> Items(const CComboUI* combo) {
    std::vector<std::string> items;
    for (int i = 0; combo && i < combo->GetCount(); ++i) {
        items.push_back(combo->GetItemAt(i)->GetText().str());
    }
    return items;
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : "|") + item;
    return out;
}

// Language.ini read the simple way: [section], key=value, blanks trimmed, quotes dropped.
using Labels = std::map<std::pair<std::string, std::string>, std::string>;

std::string Trim(std::string s) {
    const char* blanks = " \t\r";
    s.erase(0, s.find_first_not_of(blanks));
    s.erase(s.find_last_not_of(blanks) + 1);
    return s;
}

Labels ReadLabels(const std::string& path) {
    QFile file(QString::fromStdString(path));
    Labels labels;
    if (!file.open(QIODevice::ReadOnly)) return labels;
    std::string section;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        std::string line = Trim(raw.toStdString());
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        labels.emplace(std::make_pair(section, Trim(line.substr(0, eq))), value);
    }
    return labels;
}

std::string Label(const char* folder, const char* section, const char* key) {
    Labels labels = ReadLabels(SkinDir(folder) + "Language.ini");
    auto it = labels.find({section, key});
    return it == labels.end() ? std::string() : it->second;
}

enum Kind { kEdit, kCombo };

// Every parameter that the form shows through a control of its own name: name, kind, tab.
struct ParameterRow {
    const char* name;
    Kind kind;
    int tab;
};
constexpr ParameterRow kParameters[] = {
    {"LORA ID", kEdit, 7},
    {"LORA Rate", kCombo, 7},
    {"LORA Mode", kCombo, 7},
    {"LORA TAddr", kEdit, 7},
    {"LORA Power", kEdit, 7},
    {"LORA freq", kEdit, 7},
    {"LORA pid", kEdit, 7},
    {"LORA typ", kCombo, 7},
    {"LORA ppt", kCombo, 7},
    {"ZigBee_WorkMode", kCombo, 8},
    {"ZigBee_RFchannel", kCombo, 8},
    {"ZigBee_NetworkID", kEdit, 8},
    {"ZigBee_TransAddr", kEdit, 8},
    {"ZigBee_Type", kCombo, 8},
    {"GPS Server's Ip", kEdit, 9},
    {"GPS Server's Port", kEdit, 9},
    {"GPS work mode", kCombo, 9},
    {"GPS euipment ID", kEdit, 9},
    {"GPS transmit interval", kEdit, 9},
    {"GPS GPRMC", kCombo, 9},
    {"GPS GPVTG", kCombo, 9},
    {"GPS GPGGA", kCombo, 9},
    {"GPS GPGSA", kCombo, 9},
    {"GPS GPGSV", kCombo, 9},
    {"GPS GPGLL", kCombo, 9},
    {"DIO1 workmode", kCombo, 3},
    {"DIO1 SMS number", kEdit, 3},
    {"DIO1 high level information", kEdit, 3},
    {"DIO1 low level information", kEdit, 3},
    {"DIO1 upper threshold", kEdit, 3},
    {"DIO1 lower threshold", kEdit, 3},
    {"DIO1 and mapping center", kCombo, 3},
    {"DIO1 reported methods", kCombo, 3},
    {"DIO1 query command", kEdit, 3},
    {"DIO1 reported times", kEdit, 3},
    {"1The DIO1 data format", kCombo, 3},
    {"DIO1 protocol", kCombo, 3},
    {"DIO1 interface", kCombo, 3},
    {"DIO1 output control result", kEdit, 3},
    {"DIO2 workmode", kCombo, 3},
    {"DIO2 SMS number", kEdit, 3},
    {"DIO2 high level information", kEdit, 3},
    {"DIO2 low level information", kEdit, 3},
    {"DIO2 upper threshold", kEdit, 3},
    {"DIO2 lower threshold", kEdit, 3},
    {"DIO2 and mapping center", kCombo, 3},
    {"DIO2 reported methods", kCombo, 3},
    {"DIO2 query command", kEdit, 3},
    {"DIO2 reported times", kEdit, 3},
    {"The DIO2 data format", kCombo, 3},
    {"DIO2 protocol", kCombo, 3},
    {"DIO2 interface", kCombo, 3},
    {"DIO2 output control result", kEdit, 3},
    {"DIO3 workmode", kCombo, 3},
    {"DIO3 SMS number", kEdit, 3},
    {"DIO3 high level information", kEdit, 3},
    {"DIO3 low level information", kEdit, 3},
    {"DIO3 upper threshold", kEdit, 3},
    {"DIO3 lower threshold", kEdit, 3},
    {"DIO3 and mapping center", kCombo, 3},
    {"DIO3 reported methods", kCombo, 3},
    {"DIO3 query command", kEdit, 3},
    {"DIO3 reported times", kEdit, 3},
    {"1The DIO3 data format", kCombo, 3},
    {"DIO3 protocol", kCombo, 3},
    {"DIO3 interface", kCombo, 3},
    {"DIO3 output control result", kEdit, 3},
    {"Mobus address", kEdit, 3},
    {"dtu is connect to dtu manage platform", kCombo, 6},
    {"Dtu manage id", kEdit, 6},
    {"Dtumanagetransferprotocol", kCombo, 6},
    {"dtu manage server's Ip", kEdit, 6},
    {"dtu manage server's Port", kEdit, 6},
    {"DTU SMS configure fun", kCombo, 6},
    {"DTU SMS configure password", kEdit, 6},
    {"DTU SMS administrator number", kEdit, 6},
    {"Protocolmodel", kCombo, 0},
    {"Modem'sID number", kEdit, 0},
    {"PhoneNO.", kEdit, 0},
    {"DeviceModel", kCombo, 0},
    {"Transferprotocol", kCombo, 0},
    {"RegistrationAndHeart", kCombo, 0},
    {"RegisterIsHex", kCombo, 0},
    {"RegisterInfo", kEdit, 0},
    {"RegistrationReplyInfo", kEdit, 0},
    {"HeartbeatPacket", kEdit, 0},
    {"HeartbeatPacketReplyInfo", kEdit, 0},
    {"ListenPort", kEdit, 0},
    {"Show Phone NO", kCombo, 0},
    {"Encode Hex SMS", kCombo, 0},
    {"sms Phone1 No", kEdit, 0},
    {"sms Phone2 No", kEdit, 0},
    {"sms Phone3 No", kEdit, 0},
    {"sms Phone4 No", kEdit, 0},
    {"Deliver Recved Tcp Data Directly", kCombo, 0},
    {"ActivateMethod", kCombo, 0},
    {"ActivationPhoneNO.", kEdit, 0},
    {"SMSActivationNO.", kEdit, 0},
    {"ActivationInterface", kCombo, 0},
    {"DataFormat", kCombo, 0},
    {"On-line data", kEdit, 0},
    {"Offline data", kEdit, 0},
    {"IOactivationmethods", kCombo, 0},
    {"I/O selection", kCombo, 0},
    {"I/O1 Mode", kCombo, 0},
    {"I/O2 Mode", kCombo, 0},
    {"I/O1 control", kCombo, 0},
    {"I/O2 control", kCombo, 0},
    {"I/O3 control", kCombo, 0},
    {"Sms Daemon Password", kEdit, 0},
    {"Debug Level", kCombo, 0},
    {"Debugging  port", kCombo, 0},
    {"ThePPPauthentication", kCombo, 1},
    {"Server's Ip", kEdit, 1},
    {"Server's Port", kEdit, 1},
    {"Secondary Server's Ip", kEdit, 1},
    {"Secondary Server's Port", kEdit, 1},
    {"Server2's Ip", kEdit, 1},
    {"Server2's Port", kEdit, 1},
    {"Server3's Ip", kEdit, 1},
    {"Server3's Port", kEdit, 1},
    {"Server4's Ip", kEdit, 1},
    {"Server4's Port", kEdit, 1},
    {"Server5's Ip", kEdit, 1},
    {"Server5's Port", kEdit, 1},
    {"Wait Time Between Dial Failures", kEdit, 1},
    {"Link Fail Retry Times", kEdit, 1},
    {"Should Return To Main Server", kCombo, 1},
    {"Serial Baudrate", kCombo, 2},
    {"Serial port commu mode", kCombo, 2},
    {"A serial port binding center", kCombo, 2},
    {"Serial 2 Baudrate", kCombo, 2},
    {"Serial 2 port commu mode", kCombo, 2},
    {"A serial 2 port binding center", kCombo, 2},
    {"RS485 Baudrate", kCombo, 2},
    {"RS485 port commu mode", kCombo, 2},
    {"RS485 port binding center", kCombo, 2},
    {"Center call number", kEdit, 4},
    {"Access Point Name", kEdit, 4},
    {"User Id", kEdit, 4},
    {"Password", kEdit, 4},
    {"The PPP authentication", kCombo, 4},
    {"net mode", kCombo, 4},
    {"PPP Wait Time Between Dial Failures", kEdit, 4},
    {"PPP Link Fail Retry Times", kEdit, 4},
    {"Dns Server's Ip", kEdit, 4},
    {"Second Dns Server's Ip", kEdit, 4},
    {"LCP ECHO", kCombo, 5},
    {"Lcp echo interval", kEdit, 5},
    {"Lcp echo testing number", kEdit, 5},
    {"EXFUN", kCombo, 5},
    {"ICMP Ip", kEdit, 5},
    {"ICMP interval", kEdit, 5},
    {"ICMP testing number", kEdit, 5},
    {"Sms Center", kEdit, 5},
    {"Send group package waiting for", kEdit, 5},
    {"Max Tcp Frame Len", kEdit, 5},
    {"Resend wating", kEdit, 5},
    {"Maximum retransmission times", kEdit, 5},
    {"After a failed action", kCombo, 5},
    {"Waiting for the failure", kEdit, 5},
    {"Heartbeat poll time seconds", kEdit, 5},
};

// The transfer-channel switches and the tab whose page shows them.
struct SwitchRow {
    const char* name;
    int tab;
};
constexpr SwitchRow kSwitches[] = {
    {"Lora2COM", 7},   {"COM2Lora", 7},    {"Lora2GPRS", 7},   {"GPRS2Lora", 7}, {"Zigbee2COM", 8},
    {"COM2Zigbee", 8}, {"Zigbee2GPRS", 8}, {"GPRS2Zigbee", 8}, {"GPS2COM", 9},   {"COM2GPS", 9},
    {"GPS2GPRS", 9},   {"GPRS2GPS", 9},    {"GPRS2COM", 9},    {"COM2GPRS", 9},
};

// Controls the frame, the commands and the tab strip look up, with the class they rely on.
struct FrameRow {
    const char* name;
    const char* cls;
};
constexpr FrameRow kFrameControls[] = {
    {"closebtn", "ButtonUI"},       {"maxbtn", "ButtonUI"},
    {"restorebtn", "ButtonUI"},     {"minbtn", "ButtonUI"},
    {"richedit", "RichEditUI"},     {"HelpRichEdit", "RichEditUI"},
    {"helpGroupBox", "GroupBoxUI"}, {"Ver", "TextUI"},
    {"VerDown", "TextUI"},          {"Logo_Container", "ContainerUI"},
    {"Language", "ComboUI"},        {"SerialPort", "ComboUI"},
    {"BaudRate1", "ComboUI"},       {"Checkcode", "ComboUI"},
    {"Open", "ButtonUI"},           {"DeviceState", "TextUI"},
    {"Clear", "ButtonUI"},          {"SaveLog", "ButtonUI"},
    {"LogTimes", "OptionUI"},       {"FormLogSplitter", "SplitterUI"},
    {"Load", "ButtonUI"},           {"Save", "ButtonUI"},
    {"RestoreFactory", "ButtonUI"}, {"Login", "ButtonUI"},
    {"SaveToFile", "ButtonUI"},     {"LoadFromFile", "ButtonUI"},
    {"SetTime", "ButtonUI"},        {"READFILELOG", "ButtonUI"},
    {"CPIN", "ButtonUI"},           {"CSQ", "ButtonUI"},
    {"GetVer", "ButtonUI"},         {"quit", "ButtonUI"},
    {"TabLeft", "ButtonUI"},        {"TabRight", "ButtonUI"},
    {"switch", "TabLayoutUI"},      {"HorizontalLayoutUI6", "HorizontalLayoutUI"},
    {"FINDNETMODE", "EditUI"},      {"ServerTitle", "TextUI"},
    {"Server's Label", "TextUI"},
};

constexpr const char* kDioRows[] = {".1", ".2",   ".2.1", ".3", ".3.1", ".3.2",
                                    ".4", ".4.1", ".4.2", ".5", ".6",   ".7"};

// The tab buttons in the order of the tab table; each holds the option named without "Tab".
constexpr const char* kTabs[] = {"WorkModeTab", "ServerTab", "SerialTab",   "IOTab",
                                 "WirelessTab", "GlobalTab", "EquimentTab", "LoraTab",
                                 "ZigbeeTab",   "GPSTab",    "OperationTab"};

// Every label the program reads from Language.ini.
struct LabelRow {
    const char* section;
    const char* key;
};
constexpr LabelRow kLabels[] = {
    {"WinMain", "WorkThread"},
    {"ComSend", "send"},
    {"WorkerJobThreadProc", "SaveSuccess"},
    {"WorkerJobThreadProc", "SaveError"},
    {"WorkerJobThreadProc", "FactorySuccess"},
    {"WorkerJobThreadProc", "FactoryError"},
    {"WorkerJobThreadProc", "OutTime"},
    {"WorkerJobThreadProc", "NotSent"},
    {"WorkerJobThreadProc", "LateAnswer"},
    {"WorkerJobThreadProc", "CommandError"},
    {"OnStartCom", "Open"},
    {"OnStartCom", "Close"},
    {"OnStartCom", "OpenNotice"},
    {"OnStartCom", "CloseNotice"},
    {"OnStartCom", "OpenError"},
    {"OnStartCom", "LostNotice"},
    {"OnStartCom", "NoPort"},
    {"OnStartCom", "BadBaud"},
    {"OnStartCom", "BadFormat"},
    {"OnStartCom", "PortNotFound"},
    {"OnStartCom", "PortNoPermission"},
    {"OnStartCom", "PortBusy"},
    {"OnStartCom", "PortHeld"},
    {"OnStartCom", "PortLost"},
    {"OnStartCom", "PortNotSerial"},
    {"OnStartCom", "PortUnsupported"},
    {"OnStartCom", "PortRefusedSetting"},
    {"OnStartCom", "PortFailed"},
    {"SetDeviceState", "szLoginOn"},
    {"SetDeviceState", "szLoginOff"},
    {"Notify", "IpNotice"},
    {"Notify", "ServerCount"},
    {"Notify", "ValueNotice"},
    {"Notify", "UnitValueItem"},
    {"Notify", "NoReadNotice"},
    {"Notify", "NotKept"},
    {"Notify", "NotKeptBox"},
    {"Notify", "ReadBackMissing"},
    {"Notify", "EncodingNotice"},
    {"ModeTabItemChange", "ServerTitle1"},
    {"ModeTabItemChange", "Server's Label1"},
    {"ModeTabItemChange", "ServerTitle2"},
    {"ModeTabItemChange", "Server's Label2"},
    {"DIO workmode", "Text1"},
    {"DIO workmode", "Text2"},
    {"DIO workmode", "Text3"},
    {"DIO workmode", "Text4"},
    {"DIO workmode", "Text5"},
    {"Protocolmodel", "Text"},
    {"onLoadFrommFile", "ReadError"},
    {"SaveToFile", "OpenError"},
    {"InitValue", "Text"},
    {"SwitchLanguage", "SaveError"},
    {"SwitchLanguage", "RestartError"},
    {"SaveLog", "Saved"},
    {"SaveLog", "Failed"},
    {"Notify", "SpaceNotice"},
    {"Notify", "TypeNotice"},
    {"Notify", "UnitValueNotice"},
    {"ValueCheck", "NotAddress"},
    {"ValueCheck", "NotIpAddress"},
    {"ValueCheck", "NotNumber"},
    {"ValueCheck", "LeadingZero"},
    {"ValueCheck", "NotPort"},
    {"ValueCheck", "NumberTooLong"},
    {"LoadFile", "Empty"},
    {"LoadFile", "NoAnchor"},
    {"LoadFile", "NoValues"},
    {"LoadFile", "LabelsTwice"},
    {"LoadFile", "ValuesAboveAnchor"},
    {"LoadFile", "Cut"},
    {"LoadFile", "CutNotice"},
    {"LoadFile", "OtherDevice"},
    {"LoadFile", "OtherDeviceRefused"},
    {"Backup", "Same"},
    {"Backup", "FailedAsk"},
    {"Backup", "Stopped"},
};

// Lists whose positions the reading and writing rules fix: the item count each must have.
struct CountRow {
    const char* combo;
    int count;
};
constexpr CountRow kItemCounts[] = {
    {"Protocolmodel", 7},
    {"ActivateMethod", 6},
    {"EXFUN", 2},
    {"A serial port binding center", 7},
    {"A serial 2 port binding center", 7},
    {"RS485 port binding center", 7},
    {"I/O1 Mode", 3},
    {"I/O2 Mode", 3},
    {"I/O1 control", 7},
    {"I/O2 control", 7},
    {"I/O3 control", 7},
    {"DIO1 workmode", 5},
    {"DIO2 workmode", 5},
    {"DIO3 workmode", 2},
    {"IOactivationmethods", 2},
};

// Lists whose item texts are the unit's own words (or numbers the program parses): exactly these.
struct ItemsRow {
    const char* combo;
    const char* items;
};
constexpr ItemsRow kExactItems[] = {
    {"DeviceModel", "CLI|SVR"},
    {"ThePPPauthentication", "0|1|2|3|4|5"},
    {"ZigBee_RFchannel", "11|12|13|14|15|16|17|18|19|20|21|22|23|24|25|26"},
    {"I/O selection", "DIO1|DIO2|DIO3"},
    {"BaudRate1", "1200|2400|4800|9600|19200|38400|57600|115200"},
    {"Checkcode", "8N1|8E1|8O1|8N2|7E1|7O1"},
    {"Language", "English|中文"},
};

// Lists read and written by text: the same words in both languages.
constexpr const char* kByTextLists[] = {"Transferprotocol",
                                        "Dtumanagetransferprotocol",
                                        "Serial Baudrate",
                                        "Serial 2 Baudrate",
                                        "RS485 Baudrate",
                                        "Serial port commu mode",
                                        "Serial 2 port commu mode",
                                        "RS485 port commu mode",
                                        "The PPP authentication",
                                        "DIO1 interface",
                                        "DIO2 interface",
                                        "DIO3 interface",
                                        "LORA Mode",
                                        "LORA ppt",
                                        "LORA Rate",
                                        "ZigBee_RFchannel",
                                        "ThePPPauthentication",
                                        "DeviceModel",
                                        "I/O selection",
                                        "BaudRate1",
                                        "Checkcode",
                                        "SerialPort"};

// A group box's height fits the rows it shows when those rows need no more room than the box
// gives them and the box has no spare row.
constexpr int kRow = 25;

void InvalidateLayouts(QWidget* widget) {
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        if (child->layout()) child->layout()->invalidate();
    }
    if (widget->layout()) widget->layout()->invalidate();
}

int RowsNeed(CControlUI* box) {
    box->Realize();  // its page may never have been shown
    InvalidateLayouts(box->GetWidget());
    return box->GetWidget()->layout()->minimumSize().height();
}

::testing::AssertionResult RowsFit(CControlUI* box, int height) {
    int need = RowsNeed(box);
    if (need <= height && height - need < kRow) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "rows need " << need << " px of " << height;
}

// The layouts each sized group box's rule shows and hides.
const std::map<std::string, std::vector<std::string>>& RuleLayoutsOfBox() {
    static const std::map<std::string, std::vector<std::string>> boxes = [] {
        std::map<std::string, std::vector<std::string>> m = {
            {"ModeGroupBox",
             {"ModeHorizontalLayout1", "ModeHorizontalLayout1.1", "ModeHorizontalLayout1.2",
              "ModeHorizontalLayout2", "ModeHorizontalLayout3", "ModeHorizontalLayout4",
              "ModeHorizontalLayout5", "ModeHorizontalLayout6", "ModeHorizontalLayout7",
              "ModeHorizontalLayout8", "ModeLayout1.1", "ModeLayout1.2"}},
            {"ActivateGroupBox",
             {"ActivateHorizontalLayout1", "ActivateHorizontalLayout1.2",
              "ActivateHorizontalLayout2", "ActivateHorizontalLayout3", "ActivateHorizontalLayout4",
              "ActivateHorizontalLayout5", "ActivateHorizontalLayout6",
              "ActivateHorizontalLayout6.1", "ActivateHorizontalLayout6.1.1",
              "ActivateHorizontalLayout6.1.2", "ActivateHorizontalLayout7",
              "ActivateHorizontalLayout8", "ActivateHorizontalLayout9"}},
            {"ServiceGroupBox",
             {"ServiceHorizontalLayout0", "ServiceHorizontalLayout1", "ServiceHorizontalLayout2",
              "ServiceHorizontalLayout3", "ServiceHorizontalLayout4", "ServiceHorizontalLayout5"}},
            {"ServiceGroupBox2", {"ServiceHorizontalLayout6"}},
            {"serialGroupbox", {"bindingCenterGroupBox"}},
            {"serial2Groupbox", {"bindingCenterGroupBox2"}},
            {"serial3Groupbox", {"bindingCenterGroupBox3"}},
            {"PPPGroupBox", {"GlobalHorizontalLayout1"}},
            {"ICMPGroupBox", {"GlobalHorizontalLayout2"}},
            {"DtumanageGroupBox", {"EquimentLayout1"}},
            {"DtumanageGroupBox1", {"EquimentLayout2"}},
            {"LoraGroupBox", {"LoraLayout", "LoraPID", "LoraType", "LoraPower"}},
        };
        for (int n = 1; n <= 3; ++n) {
            auto& rows = m["IO" + std::to_string(n) + "GroupBox"];
            for (const char* row : kDioRows) rows.push_back("IOLayout" + std::to_string(n) + row);
        }
        return m;
    }();
    return boxes;
}

// A choice of a rule: the layouts it leaves shown in the box (the others hidden) and the
// height it writes. DIO rows are given as suffixes of "IOLayout<n>".
struct FitCase {
    const char* what;
    const char* box;
    int height;
    std::vector<std::string> shown;
};

const std::vector<FitCase>& FitCases() {
    static const std::vector<FitCase> cases = {
        {"PROT",
         "ModeGroupBox",
         110,
         {"ModeHorizontalLayout1", "ModeHorizontalLayout1.1", "ModeHorizontalLayout1.2"}},
        {"DCUDP, DCTCP", "ModeGroupBox", 85, {"ModeHorizontalLayout1"}},
        {"TRNS", "ModeGroupBox", 60, {}},
        {"SMSCLI", "ModeGroupBox", 185, {"ModeLayout1.1", "ModeLayout1.2"}},
        {"SMSSER", "ModeGroupBox", 85, {"ModeLayout1.2"}},
        {"CUST CLI, custom packets",
         "ModeGroupBox",
         185,
         {"ModeHorizontalLayout2", "ModeHorizontalLayout3", "ModeHorizontalLayout4",
          "ModeHorizontalLayout7", "ModeHorizontalLayout8"}},
        {"CUST CLI",
         "ModeGroupBox",
         110,
         {"ModeHorizontalLayout2", "ModeHorizontalLayout3", "ModeHorizontalLayout4"}},
        {"CUST SVR",
         "ModeGroupBox",
         110,
         {"ModeHorizontalLayout2", "ModeHorizontalLayout3", "ModeHorizontalLayout5"}},
        {"AUTO", "ActivateGroupBox", 60, {"ActivateHorizontalLayout1.2"}},
        {"SMSD",
         "ActivateGroupBox",
         110,
         {"ActivateHorizontalLayout1", "ActivateHorizontalLayout1.2", "ActivateHorizontalLayout6.1",
          "ActivateHorizontalLayout6.1.2", "ActivateHorizontalLayout8"}},
        {"CTRL",
         "ActivateGroupBox",
         85,
         {"ActivateHorizontalLayout1", "ActivateHorizontalLayout1.2", "ActivateHorizontalLayout7"}},
        {"DATA",
         "ActivateGroupBox",
         110,
         {"ActivateHorizontalLayout1.2", "ActivateHorizontalLayout2", "ActivateHorizontalLayout3"}},
        {"MIXD",
         "ActivateGroupBox",
         185,
         {"ActivateHorizontalLayout1", "ActivateHorizontalLayout1.2", "ActivateHorizontalLayout2",
          "ActivateHorizontalLayout3", "ActivateHorizontalLayout6.1",
          "ActivateHorizontalLayout6.1.2", "ActivateHorizontalLayout7", "ActivateHorizontalLayout8",
          "ActivateHorizontalLayout9"}},
        {"DIO, I/O selection",
         "ActivateGroupBox",
         110,
         {"ActivateHorizontalLayout4", "ActivateHorizontalLayout5"}},
        {"DIO, I/O control",
         "ActivateGroupBox",
         135,
         {"ActivateHorizontalLayout4", "ActivateHorizontalLayout6", "ActivateHorizontalLayout6.1",
          "ActivateHorizontalLayout6.1.1"}},
        {"0 servers", "ServiceGroupBox", 60, {}},
        {"1 server",
         "ServiceGroupBox",
         110,
         {"ServiceHorizontalLayout0", "ServiceHorizontalLayout1"}},
        {"2 servers",
         "ServiceGroupBox",
         110,
         {"ServiceHorizontalLayout0", "ServiceHorizontalLayout2"}},
        {"3 servers",
         "ServiceGroupBox",
         135,
         {"ServiceHorizontalLayout0", "ServiceHorizontalLayout2", "ServiceHorizontalLayout3"}},
        {"4 servers",
         "ServiceGroupBox",
         160,
         {"ServiceHorizontalLayout0", "ServiceHorizontalLayout2", "ServiceHorizontalLayout3",
          "ServiceHorizontalLayout4"}},
        {"5 servers",
         "ServiceGroupBox",
         185,
         {"ServiceHorizontalLayout0", "ServiceHorizontalLayout2", "ServiceHorizontalLayout3",
          "ServiceHorizontalLayout4", "ServiceHorizontalLayout5"}},
        {"0 or 1 server", "ServiceGroupBox2", 110, {"ServiceHorizontalLayout6"}},
        {"2 to 5 servers", "ServiceGroupBox2", 85, {}},
        {"serial 1 bound", "serialGroupbox", 110, {"bindingCenterGroupBox"}},
        {"serial 1 unbound", "serialGroupbox", 85, {}},
        {"serial 2 bound", "serial2Groupbox", 110, {"bindingCenterGroupBox2"}},
        {"serial 2 unbound", "serial2Groupbox", 85, {}},
        {"RS485 bound", "serial3Groupbox", 110, {"bindingCenterGroupBox3"}},
        {"RS485 unbound", "serial3Groupbox", 85, {}},
        {"LCP echo off", "PPPGroupBox", 60, {}},
        {"LCP echo on", "PPPGroupBox", 85, {"GlobalHorizontalLayout1"}},
        {"ICMP off", "ICMPGroupBox", 60, {}},
        {"ICMP on", "ICMPGroupBox", 110, {"GlobalHorizontalLayout2"}},
        {"platform off", "DtumanageGroupBox", 60, {}},
        {"platform on", "DtumanageGroupBox", 110, {"EquimentLayout1"}},
        {"SMS configuration off", "DtumanageGroupBox1", 60, {}},
        {"SMS configuration on", "DtumanageGroupBox1", 110, {"EquimentLayout2"}},
        {"LoRa TRNS", "LoraGroupBox", 235, {"LoraLayout", "LoraPID", "LoraPower"}},
        {"LoRa TRNS, v1 module", "LoraGroupBox", 235, {"LoraLayout", "LoraPower"}},
        {"LoRa other mode", "LoraGroupBox", 210, {"LoraPID", "LoraPower"}},
        {"LoRa other mode, T4R22B-N v1", "LoraGroupBox", 210, {}},
    };
    return cases;
}

// DIO channel cases, for the channels given by the mask (bit 0 channel 1).
struct DioCase {
    const char* what;
    int channels;
    int height;
    std::vector<std::string> shown;
};

const std::vector<DioCase>& DioCases() {
    static const std::vector<DioCase> cases = {
        {"Text1", 7, 60, {}},
        {"Text2, custom protocol, SMS, timed",
         3,
         160,
         {".1", ".2", ".2.1", ".3", ".3.1", ".4", ".4.1", ".5"}},
        {"Text2, custom protocol, GPRS, on query",
         3,
         160,
         {".1", ".2", ".3", ".3.2", ".4", ".4.1", ".5"}},
        {"Text2, Modbus, SMS, on query", 3, 110, {".1", ".2", ".2.1", ".3", ".3.2"}},
        {"Text3, custom protocol", 3, 135, {".1", ".2", ".2.1", ".4", ".4.1", ".4.2", ".5"}},
        {"Text3, Modbus", 3, 110, {".1", ".2", ".4", ".4.2"}},
        {"Text4", 3, 85, {".6"}},
        {"Text5", 3, 85, {".7"}},
        {"Text5, channel 3", 4, 110, {".2", ".7"}},
    };
    return cases;
}

void ShowOnly(const LoadedSkin& skin, const std::string& box, const std::set<std::string>& shown) {
    for (const auto& layout : RuleLayoutsOfBox().at(box)) {
        if (CControlUI* c = skin.Find(layout)) c->SetVisible(shown.count(layout) > 0);
    }
}

class SkinContentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* folder : kFolders) skins.push_back(std::make_unique<LoadedSkin>(folder));
    }
    std::vector<std::unique_ptr<LoadedSkin>> skins;
};

TEST_F(SkinContentTest, BuildsEveryPageIntoTheElevenTabs) {
    for (const auto& skin : skins) {
        SCOPED_TRACE(skin->folder);
        EXPECT_EQ(skin->errors, std::vector<std::string>{});
        auto* tabs = dynamic_cast<CTabLayoutUI*>(skin->Find("switch"));
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->GetCount(), 11);
        for (int i = 0; i < tabs->GetCount(); ++i) {
            auto* page = dynamic_cast<CContainerUI*>(tabs->GetItemAt(i));
            ASSERT_NE(page, nullptr) << "page " << i;
            EXPECT_EQ(page->GetCount(), 1) << "page " << i << " built empty";
        }
        EXPECT_EQ(skin->manager.GetInitSize().cx, 1400);
        EXPECT_EQ(skin->manager.GetInitSize().cy, 800);
        EXPECT_EQ(skin->manager.GetCaptionRect().bottom, 36);
    }
}

TEST_F(SkinContentTest, BothLanguagesHoldTheSameNamesClassesAndItemCounts) {
    std::vector<std::map<std::string, std::string>> inventories;
    for (const auto& skin : skins) {
        SCOPED_TRACE(skin->folder);
        std::map<std::string, std::string> inventory;
        Walk(skin->manager.GetRoot(), [&](CControlUI* c) {
            if (c->GetName().IsEmpty()) return;
            std::string what = c->GetClass();
            if (auto* combo = dynamic_cast<CComboUI*>(c)) {
                what.append(" ").append(std::to_string(combo->GetCount()));
            }
            bool fresh = inventory.emplace(c->GetName().str(), what).second;
            EXPECT_TRUE(fresh) << "two controls named " << c->GetName().str();
        });
        inventories.push_back(inventory);
    }
    EXPECT_EQ(inventories[0], inventories[1]);
}

TEST(SkinFilesTest, EveryParameterControlIsOnItsTabsPageWithItsKind) {
    for (const char* folder : kFolders) {
        SCOPED_TRACE(folder);
        std::vector<std::unique_ptr<CControlUI>> pages;
        for (const char* file : kTabFiles) pages.push_back(BuildPage(folder, file));
        for (const auto& row : kParameters) {
            CControlUI* c = FindIn(pages[static_cast<std::size_t>(row.tab)].get(), row.name);
            ASSERT_NE(c, nullptr) << row.name << " is not on " << kTabFiles[row.tab];
            EXPECT_STREQ(c->GetClass(), row.kind == kEdit ? "EditUI" : "ComboUI") << row.name;
            if (row.kind == kCombo) {
                EXPECT_GT(static_cast<CComboUI*>(c)->GetCount(), 0) << row.name;
            }
        }
    }
}

TEST_F(SkinContentTest, ChannelSwitchesStartOffAndHaveBothImages) {
    for (const auto& skin : skins) {
        SCOPED_TRACE(skin->folder);
        auto* tabs = static_cast<CContainerUI*>(skin->Find("switch"));
        for (const auto& row : kSwitches) {
            CControlUI* c = FindIn(tabs->GetItemAt(row.tab), row.name);
            ASSERT_NE(c, nullptr) << row.name;
            EXPECT_STREQ(c->GetClass(), "ButtonUI") << row.name;
            CStdString off = c->GetBkImage();
            EXPECT_NE(off.Find("disable"), -1) << row.name;
            CStdString on = off;
            on.Replace("disable", "enable");
            EXPECT_TRUE(QFile::exists(QString::fromStdString(skin->dir + off.str()))) << row.name;
            EXPECT_TRUE(QFile::exists(QString::fromStdString(skin->dir + on.str()))) << row.name;
        }
    }
}

TEST_F(SkinContentTest, FrameRuleAndTabControlsExist) {
    for (const auto& skin : skins) {
        SCOPED_TRACE(skin->folder);
        for (const auto& row : kFrameControls) {
            CControlUI* c = skin->Find(row.name);
            ASSERT_NE(c, nullptr) << row.name;
            EXPECT_STREQ(c->GetClass(), row.cls) << row.name;
        }
        for (const auto& [box, layouts] : RuleLayoutsOfBox()) {
            EXPECT_NE(skin->Find(box), nullptr) << box;
            for (const auto& name : layouts) EXPECT_NE(skin->Find(name), nullptr) << name;
        }
        // The debug rule shows and hides a row but sizes no box.
        EXPECT_NE(skin->Find("DebugHorizontalLayout1"), nullptr);
        EXPECT_TRUE(skin->Find("maxbtn")->IsOwnVisible());
        EXPECT_FALSE(skin->Find("restorebtn")->IsOwnVisible());

        auto* strip = static_cast<CContainerUI*>(skin->Find("HorizontalLayoutUI6"));
        ASSERT_GT(strip->GetFixedWidth(), 0);
        ASSERT_EQ(strip->GetCount(), 11);
        for (int i = 0; i < 11; ++i) {
            std::string tab = kTabs[i];
            EXPECT_EQ(strip->GetItemAt(i)->GetName().str(), tab);
            EXPECT_GT(strip->GetItemAt(i)->GetFixedWidth(), 0) << tab;
            auto* option = dynamic_cast<COptionUI*>(skin->Find(tab.substr(0, tab.size() - 3)));
            ASSERT_NE(option, nullptr) << tab;
            EXPECT_EQ(option->GetParent(), strip->GetItemAt(i)) << tab;
            EXPECT_EQ(option->GetGroup(),
                      static_cast<COptionUI*>(skin->Find("WorkMode"))->GetGroup());
        }
        int raw = 0;
        Walk(static_cast<CContainerUI*>(skin->Find("switch"))->GetItemAt(10), [&](CControlUI* c) {
            if (c->GetName().Find("AT+") >= 0 && std::string(c->GetClass()) == "ButtonUI") ++raw;
        });
        EXPECT_GT(raw, 0) << "no raw command on the Operation page";
        EXPECT_NE(skin->Find("AT+LIST"), nullptr);
    }
}

TEST_F(SkinContentTest, ItemListsAgreeWithTheReadingAndWritingRules) {
    for (const auto& skin : skins) {
        SCOPED_TRACE(skin->folder);
        for (const auto& row : kItemCounts) {
            EXPECT_EQ(Items(skin->Combo(row.combo)).size(), static_cast<std::size_t>(row.count))
                << row.combo;
        }
        for (const auto& row : kExactItems) {
            EXPECT_EQ(Join(Items(skin->Combo(row.combo))), row.items) << row.combo;
        }
        std::vector<std::string> protocol = Items(skin->Combo("Protocolmodel"));
        ASSERT_EQ(protocol.size(), 7u);
        EXPECT_EQ(Join({protocol.begin(), protocol.begin() + 6}),
                  "PROT|DCUDP|DCTCP|TRNS|SMSCLI|SMSSER");
        EXPECT_EQ(protocol[6], Label(skin->folder, "Protocolmodel", "Text"));
        EXPECT_NE(protocol[6], "");

        std::vector<std::string> modes;
        for (int i = 1; i <= 5; ++i) {
            modes.push_back(
                Label(skin->folder, "DIO workmode", ("Text" + std::to_string(i)).c_str()));
        }
        EXPECT_EQ(std::set<std::string>(modes.begin(), modes.end()).size(), 5u);
        EXPECT_EQ(Items(skin->Combo("DIO1 workmode")), modes);
        EXPECT_EQ(Items(skin->Combo("DIO2 workmode")), modes);
        EXPECT_EQ(Items(skin->Combo("DIO3 workmode")),
                  (std::vector<std::string>{modes[0], modes[4]}));

        for (const char* name : {"I/O1 control", "I/O2 control", "I/O3 control"}) {
            std::vector<std::string> items = Items(skin->Combo(name));
            ASSERT_EQ(items.size(), 7u) << name;
            for (int i = 0; i < 6; ++i) EXPECT_NE(items[i], "None") << name << " item " << i;
            EXPECT_EQ(items[6], "None") << name;
        }
        std::vector<std::string> rates = Items(skin->Combo("LORA Rate"));
        for (std::size_t i = 0; i < rates.size(); ++i) EXPECT_EQ(rates[i], std::to_string(i + 1));
        std::vector<std::string> loraModes = Items(skin->Combo("LORA Mode"));
        EXPECT_EQ(std::count(loraModes.begin(), loraModes.end(), "TRNS"), 1);
        for (const auto& format : Items(skin->Combo("Checkcode"))) {
            ASSERT_EQ(format.size(), 3u) << format;
            EXPECT_TRUE(format[0] >= '5' && format[0] <= '8' &&
                        std::string_view("NEOMS").find(format[1]) != std::string_view::npos &&
                        (format[2] == '1' || format[2] == '2'))
                << format;
        }
        EXPECT_EQ(skin->Combo("BaudRate1")->GetText(), "9600");
        EXPECT_EQ(skin->Combo("Checkcode")->GetText(), "8N1");
        EXPECT_EQ(skin->Combo("Language")->GetCurSel(), skin->folder == kEnglish ? 0 : 1);
    }
    for (const char* name : kByTextLists) {
        EXPECT_EQ(Items(skins[0]->Combo(name)), Items(skins[1]->Combo(name))) << name;
    }
}

TEST_F(SkinContentTest, StartTextsAreTheLabelsTheProgramSetsLater) {
    struct TextRow {
        const char* control;
        const char* section;
        const char* key;
    };
    constexpr TextRow kRows[] = {
        {"ServerTitle", "ModeTabItemChange", "ServerTitle1"},
        {"Server's Label", "ModeTabItemChange", "Server's Label1"},
        {"Open", "OnStartCom", "Open"},
        {"DeviceState", "SetDeviceState", "szLoginOff"},
    };
    for (const auto& skin : skins) {
        SCOPED_TRACE(skin->folder);
        EXPECT_EQ(skin->Combo("ThePPPauthentication")->GetText(), "1");
        for (const auto& row : kRows) {
            EXPECT_EQ(skin->Find(row.control)->GetText().str(),
                      Label(skin->folder, row.section, row.key))
                << row.control;
        }
    }
}

TEST_F(SkinContentTest, GroupBoxHeightsFitTheRowsEachRuleShows) {
    for (const auto& skin : skins) {
        SCOPED_TRACE(skin->folder);
        for (const auto& c : FitCases()) {
            ShowOnly(*skin, c.box, {c.shown.begin(), c.shown.end()});
            CControlUI* box = skin->Find(c.box);
            ASSERT_NE(box, nullptr) << c.box;
            EXPECT_TRUE(RowsFit(box, c.height)) << c.box << ", " << c.what;
        }
        for (const auto& c : DioCases()) {
            for (int n = 1; n <= 3; ++n) {
                if (!(c.channels & (1 << (n - 1)))) continue;
                std::string prefix = "IOLayout" + std::to_string(n);
                std::set<std::string> shown;
                for (const auto& row : c.shown) shown.insert(prefix + row);
                std::string name = "IO" + std::to_string(n) + "GroupBox";
                ShowOnly(*skin, name, shown);
                EXPECT_TRUE(RowsFit(skin->Find(name), c.height)) << name << ", " << c.what;
            }
        }
    }
}

TEST_F(SkinContentTest, GroupBoxesStartWithHeightsThatFitTheirRows) {
    for (const auto& skin : skins) {
        SCOPED_TRACE(skin->folder);
        for (const auto& [name, layouts] : RuleLayoutsOfBox()) {
            CControlUI* box = skin->Find(name);
            ASSERT_NE(box, nullptr) << name;
            EXPECT_TRUE(RowsFit(box, box->GetFixedHeight())) << name;
        }
    }
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

TEST(SkinFilesTest, LanguageIniHasEveryLabelInItsLanguageAndHelpFits) {
    for (const char* folder : kFolders) {
        SCOPED_TRACE(folder);
        const bool english = std::string_view(folder) == kEnglish;
        Labels labels = ReadLabels(SkinDir(folder) + "Language.ini");
        for (const auto& row : kLabels) {
            auto it = labels.find({row.section, row.key});
            ASSERT_NE(it, labels.end()) << "[" << row.section << "] " << row.key;
            EXPECT_FALSE(it->second.empty()) << row.key;
            // The program reads at most 199 bytes of a label.
            EXPECT_LT(it->second.size(), 200u) << row.key;
            EXPECT_EQ(QString::fromUtf8(it->second.c_str()).toUtf8().toStdString(), it->second)
                << row.key << " is not UTF-8";
            EXPECT_EQ(IsAscii(it->second), english) << row.key << " is not translated";
        }
        QFile help(QString::fromStdString(SkinDir(folder) + "Help.txt"));
        ASSERT_TRUE(help.open(QIODevice::ReadOnly));
        QByteArray text = help.readAll();
        EXPECT_GT(text.size(), 0);
        EXPECT_LE(text.size(), 9999);
        EXPECT_EQ(IsAscii(text.toStdString()), english);
    }
}

}  // namespace
