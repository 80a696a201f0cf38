// A small skin holding every layout, group box and combo the form's rules touch, under the
// names the real pages use, for tests that must not wait for the real pages.
#include "tests/form/FormHarness.h"

#include <string>

namespace {

std::string Items(std::initializer_list<const char*> texts) {
    std::string xml;
    for (const char* text : texts) xml += std::string("<ListLabelElement text=\"") + text + "\"/>";
    return xml;
}

std::string Combo(const std::string& name, const std::string& items) {
    return "<Combo name=\"" + name + "\">" + items + "</Combo>";
}

std::string Row(const std::string& name, const std::string& content = "") {
    return "<HorizontalLayout name=\"" + name + "\" height=\"25\">" + content +
           "</HorizontalLayout>";
}

std::string Box(const std::string& name, const std::string& content) {
    return "<GroupBox name=\"" + name + "\" height=\"60\">" + content + "</GroupBox>";
}

std::string Page(const std::string& content) {
    return "<VerticalLayout>" + content + "</VerticalLayout>";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const char* const kFunctions =
    "<ListLabelElement text=\"Function1\"/><ListLabelElement text=\"Function2\"/>"
    "<ListLabelElement text=\"Function3\"/><ListLabelElement text=\"Function4\"/>"
    "<ListLabelElement text=\"Function5\"/><ListLabelElement text=\"Function6\"/>"
    "<ListLabelElement text=\"None\"/>";

std::string WorkModePage() {
    return Page(
        Box("ModeGroupBox",
            Combo("Protocolmodel",
                  Items({"PROT", "DCUDP", "DCTCP", "TRNS", "SMSCLI", "SMSSER", "CUST"})) +
                Row("ModeHorizontalLayout1", Row("ModeHorizontalLayout1.1")) +
                Row("ModeHorizontalLayout1.2") +
                Row("ModeHorizontalLayout2", Combo("DeviceModel", Items({"CLI", "SVR"})) +
                                                 Combo("Transferprotocol", Items({"TCP", "UDP"}))) +
                Row("ModeHorizontalLayout3") +
                Row("ModeHorizontalLayout4",
                    Combo("RegistrationAndHeart", Items({"Neither", "Both", "Register"}))) +
                Row("ModeHorizontalLayout5") + Row("ModeHorizontalLayout6") +
                Row("ModeHorizontalLayout7") + Row("ModeHorizontalLayout8") + Row("ModeLayout1.1") +
                Row("ModeLayout1.2")) +
        Box("ActivateGroupBox",
            Combo("ActivateMethod", Items({"AUTO", "SMSD", "CTRL", "DATA", "MIXD", "DIO"})) +
                Row("ActivateHorizontalLayout1", Row("ActivateHorizontalLayout1.2")) +
                Row("ActivateHorizontalLayout2") + Row("ActivateHorizontalLayout3") +
                Row("ActivateHorizontalLayout4",
                    Combo("IOactivationmethods", Items({"I/O selection", "I/O control"}))) +
                Row("ActivateHorizontalLayout5",
                    Combo("I/O selection", Items({"DIO1", "DIO2", "DIO3"}))) +
                Row("ActivateHorizontalLayout6",
                    Combo("I/O1 control", kFunctions) + Combo("I/O2 control", kFunctions)) +
                Row("ActivateHorizontalLayout6.1",
                    Row("ActivateHorizontalLayout6.1.1", Combo("I/O3 control", kFunctions)) +
                        Row("ActivateHorizontalLayout6.1.2")) +
                Row("ActivateHorizontalLayout7") + Row("ActivateHorizontalLayout8") +
                Row("ActivateHorizontalLayout9",
                    Combo("I/O1 Mode", Items({"Mode0", "Mode1"})) +
                        Combo("I/O2 Mode", Items({"Mode0", "Mode1"})))) +
        Combo("Debug Level", Items({"0", "1", "2"})) + Row("DebugHorizontalLayout1"));
}

std::string ServerPage() {
    std::string rows;
    for (int i = 0; i <= 6; ++i) rows += Row("ServiceHorizontalLayout" + std::to_string(i));
    return Page(Box("ServiceGroupBox",
                    Combo("ThePPPauthentication", Items({"0", "1", "2", "3", "4", "5"})) +
                        "<Text name=\"ServerTitle\"/><Text name=\"Server's Label\"/>" + rows) +
                Box("ServiceGroupBox2", ""));
}

std::string SerialPage() {
    return Page(Box("serialGroupbox", Box("bindingCenterGroupBox", "")) +
                Box("serial2Groupbox", Box("bindingCenterGroupBox2", "")) +
                Box("serial3Groupbox", Box("bindingCenterGroupBox3", "")));
}

std::string IoPage() {
    const std::string channel1 =
        Box("IO1GroupBox",
            Combo("DIO1 workmode", Items({"Disable", "Input", "Output", "Mapping", "Threshold"})) +
                Row("IOLayout1.1", Combo("DIO1 protocol", Items({"Modbus", "Custom", "Plain"}))) +
                Row("IOLayout1.2", Combo("DIO1 interface", Items({"COM1", "COM2", "GPRS", "SMS"})) +
                                       Row("IOLayout1.2.1")) +
                Row("IOLayout1.3", Combo("DIO1 reported methods", Items({"Query", "Timed"})) +
                                       Row("IOLayout1.3.1") + Row("IOLayout1.3.2")) +
                Row("IOLayout1.4",
                    Row("IOLayout1.4.1", Combo("1The DIO1 data format", Items({"HEX", "ASCII"}))) +
                        Row("IOLayout1.4.2")) +
                Row("IOLayout1.5") + Row("IOLayout1.6") + Row("IOLayout1.7") +
                "<Edit name=\"DIO1 query command\" text=\"q\"/>"
                "<Edit name=\"DIO1 output control result\" text=\"r\"/>"
                "<Edit name=\"DIO1 high level information\" text=\"h\"/>"
                "<Edit name=\"DIO1 low level information\" text=\"l\"/>");
    std::string page;
    for (int n = 1; n <= 3; ++n) {
        const std::string d = std::to_string(n);
        std::string channel = Replace(channel1, "IOLayout1.", "IOLayout" + d + ".");
        channel = Replace(channel, "IO1GroupBox", "IO" + d + "GroupBox");
        channel = Replace(channel, "DIO1", "DIO" + d);
        if (n == 2) channel = Replace(channel, "1The DIO2", "The DIO2");
        page += channel;
    }
    return Page(page);
}

std::string GlobalPage() {
    return Page(
        Box("PPPGroupBox",
            Combo("LCP ECHO", Items({"OFF", "ON"})) + Row("GlobalHorizontalLayout1")) +
        Box("ICMPGroupBox", Combo("EXFUN", Items({"OFF", "ON"})) + Row("GlobalHorizontalLayout2")));
}

std::string EquipmentPage() {
    return Page(Box("DtumanageGroupBox",
                    Combo("dtu is connect to dtu manage platform", Items({"NO", "YES"})) +
                        Row("EquimentLayout1")) +
                Box("DtumanageGroupBox1",
                    Combo("DTU SMS configure fun", Items({"OFF", "ON"})) + Row("EquimentLayout2")));
}

std::string LoraPage() {
    return Page(Box("LoraGroupBox", Combo("LORA Mode", Items({"TRNS", "FIXED"})) +
                                        Row("LoraLayout") + Row("LoraPower") + Row("LoraPID") +
                                        Row("LoraType")) +
                "<Button name=\"Lora2COM\" bkimage=\"switch_disable.png\"/>"
                "<Button name=\"COM2Lora\" bkimage=\"switch_enable.png\"/>");
}

}  // namespace

std::string TestSkinXml(const std::vector<int>& buttonWidths, int stripWidth) {
    std::string strip = "<HorizontalLayout name=\"HorizontalLayoutUI6\" width=\"" +
                        std::to_string(stripWidth) + "\">";
    std::string options = "<HorizontalLayout name=\"TabOptions\">";
    for (int i = 0; i < kTabCount; ++i) {
        const std::string button = kTabButtonNames[static_cast<std::size_t>(i)];
        strip += "<Button name=\"" + button + "\" width=\"" +
                 std::to_string(buttonWidths[static_cast<std::size_t>(i)]) + "\"/>";
        options += "<Option name=\"" + button.substr(0, button.size() - 3) + "\" group=\"tabs\"/>";
    }
    strip += "</HorizontalLayout>";
    options += "</HorizontalLayout>";
    const std::string pages = WorkModePage() + ServerPage() + SerialPage() + IoPage() + Page("") +
                              GlobalPage() + EquipmentPage() + LoraPage() + Page("") + Page("") +
                              Page("");
    return "<VerticalLayout name=\"root\"><Button name=\"TabLeft\"/>" + strip +
           "<Button name=\"TabRight\"/>" + options + "<TabLayout name=\"switch\">" + pages +
           "</TabLayout></VerticalLayout>";
}

std::string TestLanguageIni() {
    return "[DIO workmode]\n"
           "Text1=Disable\nText2=Input\nText3=Output\nText4=Mapping\nText5=Threshold\n"
           "[ModeTabItemChange]\n"
           "ServerTitle1=Server\nServerTitle2=Main server\n"
           "Server's Label1=Server address\nServer's Label2=Main server address\n"
           "[Notify]\n"
           "ServerCount=This device needs at least one server.\n";
}
