// The form back into write jobs: every list's inverse rule, the side writes, the channel masks,
// the shown and tab filters, key order and the refusal of values that would split a command.
#include <gtest/gtest.h>

#include <functional>

#include "form/DeviceForm.h"
#include "form/DeviceWrite.h"
#include "form/ListingFlow.h"
#include "tests/form/FormFixture.h"

namespace {

using namespace formtest;

struct Job {
    std::string command, key, value;
    bool operator==(const Job&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Job& j) {
    return out << "{" << ::testing::PrintToString(j.command) << ", " << j.key << ", "
               << ::testing::PrintToString(j.value) << "}";
}

std::vector<Job> Collect(FormFrame& frame) {
    CollectWrites(frame);
    std::vector<Job> jobs;
    for (const CommandJob& j : TakeJobs(frame)) {
        EXPECT_EQ(j.type, JobType::WriteParameter);
        jobs.push_back({j.command, j.key, j.value});
    }
    return jobs;
}

// A frame whose every list has no item selected and whose stored values are what that form
// writes, as after the unit confirmed a save: a further collection writes nothing.
std::unique_ptr<FormFrame> QuietFrame() {
    auto frame = MakeFrame();
    for (auto& [name, entry] : frame->parameterTable) {
        entry.value.clear();
        if (auto* list = Combo(*frame, name.c_str())) list->SelectItem(-1);
    }
    // Every value the form gives, the masks of all three module tabs among them.
    for (const FormValue& v : FormValues(*frame, false)) {
        frame->parameterTable.SetValue(v.name, v.value);
    }
    EXPECT_TRUE(Collect(*frame).empty()) << "the quiet form must be stable";
    return frame;
}

void Select(FormFrame& frame, const char* list, int item) {
    ASSERT_NE(Combo(frame, list), nullptr) << list;
    ASSERT_TRUE(Combo(frame, list)->SelectItem(item)) << list << " " << item;
}

using FormSetup = std::function<void(FormFrame&)>;

struct WriteCase {
    const char* what;
    FormSetup setup;
    std::vector<Job> expected;
};

TEST(CollectWrites, EachListWritesWhatItsInverseRuleGives) {
    SkinFolder skin;
    const auto store = [](const char* name, const char* value) {
        return [=](FormFrame& f) { f.parameterTable.SetValue(name, value); };
    };
    const auto pick = [](const char* list, int item) {
        return [=](FormFrame& f) { Select(f, list, item); };
    };
    const auto both = [](FormSetup a, FormSetup b) { return [=](FormFrame& f) { a(f), b(f); }; };
    const WriteCase cases[] = {
        {"binding centre item 5 is centre 16",
         pick("A serial port binding center", 5),
         {{"AT+SERBINDCNT=16\r\n", "A serial port binding center", "16"}}},
        {"binding centre item 6 is every centre",
         pick("A serial port binding center", 6),
         {{"AT+SERBINDCNT=255\r\n", "A serial port binding center", "255"}}},
        {"binding centre item 0 is none",
         pick("A serial port binding center", 0),
         {{"AT+SERBINDCNT=0\r\n", "A serial port binding center", "0"}}},
        {"I/O selection item 2 puts DIO3 into mode 4",
         pick("I/O selection", 2),
         {{"AT+DIOWORKMODE3=4\r\n", "DIO3 workmode", "4"}}},
        {"I/O2 control item 2 maps and sets mode 5",
         pick("I/O2 control", 2),
         {{"AT+DIOMAPC2=2\r\n", "I/O2 control", "2"},
          {"AT+DIOWORKMODE2=5\r\n", "DIO2 workmode", "5"}}},
        {"I/O2 control item 6 only maps",
         pick("I/O2 control", 6),
         {{"AT+DIOMAPC2=6\r\n", "I/O2 control", "6"}}},
        {"I/O2 control with DIO2 already in mode 5: its list first, no side write",
         both(store("DIO2 workmode", "5"), pick("I/O2 control", 2)),
         {{"AT+DIOWORKMODE2=0\r\n", "DIO2 workmode", "0"},
          {"AT+DIOMAPC2=2\r\n", "I/O2 control", "2"}}},
        {"LoRa tab off: LORA Rate is not written",
         both([](FormFrame& f) { f.tabTable[7].enabled = false; }, pick("LORA Rate", 2)),
         {}},
        {"LoRa tab on: LORA Rate by its text",
         pick("LORA Rate", 2),
         {{"AT+RSPD=3\r\n", "LORA Rate", "3"}}},
        {"LORA Rate item with an empty text writes nothing", pick("LORA Rate", 3), {}},
        {"channel mask keeps bits 2 and 3 and adds COM2Lora",
         both(store("EL transmit channel", "12"),
              [](FormFrame& f) { Control(f, "COM2Lora")->SetBkImage("switch_enable.png"); }),
         {{"AT+ZDATCHAN=14\r\n", "EL transmit channel", "14"}}},
        {"GPS mask keeps nothing and has six switches",
         both(store("EL transmit channel_G", "192"),
              [](FormFrame& f) {
                  // A GPS unit: its tab is the one module tab enabled, so its mask is written.
                  f.tabTable[7].enabled = f.tabTable[8].enabled = false;
                  Control(f, "COM2GPRS")->SetBkImage("switch_enable.png");
              }),
         {{"AT+ZDATCHAN=8\r\n", "EL transmit channel_G", "8"}}},
        {"three module tabs on, one AT+ZDATCHAN: the first mask on screen",
         [](FormFrame& f) {
             for (const char* name : {"COM2Lora", "COM2Zigbee", "COM2GPRS"})
                 Control(f, name)->SetBkImage("switch_enable.png");
         },
         {{"AT+ZDATCHAN=2\r\n", "EL transmit channel", "2"}}},
        {"the custom protocol's own name writes CUST",
         pick("Protocolmodel", 6),
         {{"At+PROMODE=CUST\r\n", "Protocolmodel", "CUST"}}},
        {"a protocol writes its text",
         pick("Protocolmodel", 3),
         {{"At+PROMODE=TRNS\r\n", "Protocolmodel", "TRNS"}}},
        {"EXFUN item 1 is mode 3", pick("EXFUN", 1), {{"AT+EXFUN=3\r\n", "EXFUN", "3"}}},
        {"EXFUN item 2 is 2", pick("EXFUN", 2), {{"AT+EXFUN=2\r\n", "EXFUN", "2"}}},
        {"net mode item 0 is 0", pick("net mode", 0), {{"AT+NETMODE=0\r\n", "net mode", "0"}}},
        {"net mode item 2 is 5", pick("net mode", 2), {{"AT+NETMODE=5\r\n", "net mode", "5"}}},
        {"I/O1 Mode item 0 writes nothing", pick("I/O1 Mode", 0), {}},
        {"I/O1 Mode item 2 is 5",
         pick("I/O1 Mode", 2),
         {{"AT+DIOWORKMODE1=5\r\n", "I/O1 Mode", "5"}}},
        {"activation DIO",
         pick("ActivateMethod", 5),
         {{"AT+ACTI=DIO\r\n", "ActivateMethod", "DIO"}}},
        {"activation past the codes is empty",
         both(store("ActivateMethod", "AUTO"), pick("ActivateMethod", 6)),
         {{"AT+ACTI=\r\n", "ActivateMethod", ""}}},
        {"device model server",
         pick("DeviceModel", 1),
         {{"AT+DEVMODE=SVR\r\n", "DeviceModel", "SVR"}}},
        {"DIO1 counter by its localised name",
         pick("DIO1 workmode", 4),
         {{"AT+DIOWORKMODE1=6\r\n", "DIO1 workmode", "6"}}},
        {"DIO3 second item is the counter",
         pick("DIO3 workmode", 1),
         {{"AT+DIOWORKMODE3=6\r\n", "DIO3 workmode", "6"}}},
        {"DIO1 unknown name is mode 0",
         both(store("DIO1 workmode", "3"), pick("DIO1 workmode", 5)),
         {{"AT+DIOWORKMODE1=0\r\n", "DIO1 workmode", "0"}}},
        {"LORA typ item 1 is 2", pick("LORA typ", 1), {{"AT+LTYP=2\r\n", "LORA typ", "2"}}},
        {"debug port item 0 is port 1",
         pick("Debugging  port", 0),
         {{"AT+DEBUGPORT=1\r\n", "Debugging  port", "1"}}},
        {"plain list by position", pick("LCP ECHO", 1), {{"AT+ECHOENABLE=1\r\n", "LCP ECHO", "1"}}},
        {"plain list unchanged writes nothing",
         both(store("LCP ECHO", "1"), pick("LCP ECHO", 1)),
         {}},
        {"baud rate by text",
         pick("Serial Baudrate", 2),
         {{"AT+IPR=115200\r\n", "Serial Baudrate", "115200"}}},
        {"ZigBee channel by text",
         pick("ZigBee_RFchannel", 1),
         {{"AT+CHA=12\r\n", "ZigBee_RFchannel", "12"}}},
        {"a field's text, inner blanks kept",
         [](FormFrame& f) { Control(f, "Access Point Name")->SetText("a  b"); },
         {{"AT+APN=a  b\r\n", "Access Point Name", "a  b"}}},
        // The unit's listing would show it back without them: never confirmed as written.
        {"a space at either end is refused",
         [](FormFrame& f) { Control(f, "Access Point Name")->SetText(" apn "); },
         {}},
        {"a value its parameter cannot take is refused",
         [](FormFrame& f) { Control(f, "Server's Port")->SetText("70000"); },
         {}},
        {"a hidden parameter is never written",
         [](FormFrame& f) {
             f.parameterTable.FindParameter("Server's Ip")->shown = false;
             Control(f, "Server's Ip")->SetText("1.2.3.4");
             Select(f, "A serial port binding center", 5);
             f.parameterTable.FindParameter("A serial port binding center")->shown = false;
         },
         {}},
        {"writes come in key order",
         [](FormFrame& f) {
             Control(f, "Server's Port")->SetText("5000");
             Control(f, "PhoneNO.")->SetText("139");
             Control(f, "Access Point Name")->SetText("cmnet");
             Select(f, "LCP ECHO", 1);
         },
         {{"AT+APN=cmnet\r\n", "Access Point Name", "cmnet"},
          {"AT+ECHOENABLE=1\r\n", "LCP ECHO", "1"},
          {"AT+PHON=139\r\n", "PhoneNO.", "139"},
          {"AT+PORT=5000\r\n", "Server's Port", "5000"}}},
    };
    for (const WriteCase& c : cases) {
        auto frame = QuietFrame();
        c.setup(*frame);
        EXPECT_EQ(Collect(*frame), c.expected) << c.what;
    }
}

TEST(CollectWrites, SaveRightAfterAReadWritesNoField) {
    SkinFolder skin;
    auto frame = MakeFrame();
    const std::string listing =
        "\r\nAT+SHOW\r\nAccess Point Name: \xC4\xE3\xBA\xC3net \r\n"
        "Server's Ip:10.0.0.1\r\nServer's Port:  5000\r\nServer1's Ip:a\tb  c\r\n"
        "Center call number:*99#\r\nModem's Phone Number:13900000000\r\n"
        "LORA ID:\r\nOK\r\n";
    std::memcpy(frame->rxBuffer, listing.data(), listing.size());
    frame->rxLength = static_cast<int>(listing.size());
    OnParseAnswer(*frame);
    ASSERT_EQ(frame->parameterTable.FindParameter("Server2's Ip")->value, "a\tb  c");
    CollectWrites(*frame);
    for (const CommandJob& job : TakeJobs(*frame)) {
        EXPECT_NE(frame->parameterTable.FindParameter(job.key)->kind, ControlKind::Edit)
            << job.command;
    }
}

TEST(CollectWrites, ValuesThatWouldSplitTheCommandAreRefusedAndNamed) {
    SkinFolder skin;
    struct Case {
        const char* what;
        std::string value;
        bool refused;
    } cases[] = {
        {"CR LF and a second command", "x\r\nAT+FACTORY", true},
        {"a lone LF", "x\nAT+FACTORY", true},
        {"a lone CR", "x\rAT+FACTORY", true},
        {"a tab", "a\tb", true},
        {"a NUL", std::string("a\0b", 3), true},
        {"an escape", "\x1B[2J", true},
        {"DEL", "ab\x7F", true},
        {"the unit's code page", "\xC4\xE3\xBA\xC3", false},
        {"punctuation and blanks", " a=b,\"c\" ", false},
    };
    for (const Case& c : cases) {
        auto frame = QuietFrame();
        frame->logView->SetText("");
        const ParameterEntry& entry = *frame->parameterTable.FindParameter("Server's Ip");
        EXPECT_EQ(QueueIfChanged(*frame, "Server's Ip", entry, c.value), !c.refused) << c.what;
        EXPECT_EQ(TakeJobs(*frame).size(), c.refused ? 0u : 1u) << c.what;
        PumpFor(20);
        EXPECT_EQ(frame->logView->GetText().Find("Refused:Server's Ip") >= 0, c.refused) << c.what;
    }
}

TEST(CollectWrites, ARefusedFieldDoesNotStopTheOtherWrites) {
    SkinFolder skin;
    auto frame = QuietFrame();
    Control(*frame, "Server's Ip")->SetText("x\r\nAT+FACTORY");
    Control(*frame, "Server's Port")->SetText("5000");
    Select(*frame, "LCP ECHO", 1);
    EXPECT_EQ(Collect(*frame), (std::vector<Job>{{"AT+ECHOENABLE=1\r\n", "LCP ECHO", "1"},
                                                 {"AT+PORT=5000\r\n", "Server's Port", "5000"}}));
    PumpFor(20);
    EXPECT_GE(frame->logView->GetText().Find("Refused:Server's Ip"), 0);
}

}  // namespace
