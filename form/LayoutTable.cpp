#include "form/LayoutTable.h"
#include "form/RuleCodes.h"

#include <array>

namespace {

template <std::size_t N>
using Names = std::array<std::string_view, N>;  // unused places stay empty

struct PlainRow {
    std::string_view layout;
    Names<5> marks;
};

struct CascadeRow {
    std::string_view layout;
    std::string_view markFirst;  // empty: none
    int code;
    Names<2> markWhenShown;
    Names<15> markWhenHidden;
};

// clang-format off
constexpr PlainRow kPlainRows[] = {
    {"ModeHorizontalLayout1",         {"Modem'sID number", "PhoneNO."}},
    {"ModeHorizontalLayout1.1",       {"Modem'sID number"}},
    {"ModeHorizontalLayout1.2",       {"Deliver Recved Tcp Data Directly"}},
    {"ModeLayout1.1",                 {"sms Phone1 No", "sms Phone2 No", "sms Phone3 No",
                                       "sms Phone4 No"}},
    {"ModeLayout1.2",                 {"Show Phone NO", "Encode Hex SMS"}},
    {"ModeHorizontalLayout2",         {"DeviceModel", "Transferprotocol"}},
    {"ModeHorizontalLayout4",         {"RegistrationAndHeart"}},
    {"ModeHorizontalLayout5",         {"ListenPort"}},
    {"ModeHorizontalLayout7",         {"RegisterIsHex"}},
    {"ModeHorizontalLayout8",         {"RegisterInfo", "RegistrationReplyInfo", "HeartbeatPacket",
                                       "HeartbeatPacketReplyInfo"}},
    {"ActivateHorizontalLayout2",     {"On-line data", "Offline data"}},
    {"ActivateHorizontalLayout3",     {"ActivationInterface", "DataFormat"}},
    {"ActivateHorizontalLayout4",     {"IOactivationmethods"}},
    {"ActivateHorizontalLayout6",     {"I/O1 control", "I/O2 control"}},
    {"ActivateHorizontalLayout6.1.1", {"I/O3 control"}},
    {"ActivateHorizontalLayout6.1.2", {"Sms Daemon Password"}},
    {"ActivateHorizontalLayout7",     {"ActivationPhoneNO."}},
    {"ActivateHorizontalLayout8",     {"SMSActivationNO."}},
    {"ActivateHorizontalLayout9",     {"I/O1 Mode", "I/O2 Mode"}},
    {"DebugHorizontalLayout1",        {"Debugging  port"}},
    {"ServiceHorizontalLayout0",      {"Server's Ip", "Server's Port"}},
    {"ServiceHorizontalLayout1",      {"Secondary Server's Ip", "Secondary Server's Port"}},
    {"ServiceHorizontalLayout2",      {"Server2's Ip", "Server2's Port"}},
    {"ServiceHorizontalLayout3",      {"Server3's Ip", "Server3's Port"}},
    {"ServiceHorizontalLayout4",      {"Server4's Ip", "Server4's Port"}},
    {"ServiceHorizontalLayout5",      {"Server5's Ip", "Server5's Port"}},
    {"GlobalHorizontalLayout1",       {"Lcp echo interval", "Lcp echo testing number"}},
    {"GlobalHorizontalLayout2",       {"ICMP Ip", "ICMP interval", "ICMP testing number"}},
    {"EquimentLayout1",               {"Dtu manage id", "dtu manage server's Ip",
                                       "Dtumanagetransferprotocol", "dtu manage server's Port"}},
    {"EquimentLayout2",               {"DTU SMS configure password",
                                       "DTU SMS administrator number"}},
    {"DtumanageGroupBox",             {"dtu is connect to dtu manage platform", "Dtu manage id",
                                       "dtu manage server's Ip", "Dtumanagetransferprotocol",
                                       "dtu manage server's Port"}},
    {"bindingCenterGroupBox",         {"A serial port binding center"}},
    {"bindingCenterGroupBox2",        {"A serial 2 port binding center"}},
    {"bindingCenterGroupBox3",        {"RS485 port binding center"}},
    {"LoraLayout",                    {"LORA TAddr"}},
    {"LoraPower",                     {"LORA Power"}},
    {"LoraPID",                       {"LORA pid"}},
    {"LoraType",                      {"LORA typ"}},
};

// Channel 1's rows; channels 2 and 3 are derived through DioChannelName.
constexpr PlainRow kDioRows[] = {
    {"IOLayout1.1",   {"DIO1 protocol"}},
    {"IOLayout1.2",   {"DIO1 interface"}},
    {"IOLayout1.2.1", {"DIO1 SMS number"}},
    {"IOLayout1.3",   {"DIO1 reported methods"}},
    {"IOLayout1.3.1", {"DIO1 reported times"}},
    {"IOLayout1.3.2", {"DIO1 query command"}},
    {"IOLayout1.4.1", {"1The DIO1 data format"}},
    {"IOLayout1.4.2", {"DIO1 output control result"}},
    {"IOLayout1.5",   {"DIO1 high level information", "DIO1 low level information"}},
    {"IOLayout1.6",   {"DIO1 and mapping center"}},
    {"IOLayout1.7",   {"DIO1 upper threshold", "DIO1 lower threshold"}},
};

constexpr CascadeRow kCascadeRows[] = {
    {"ActivateHorizontalLayout5", "", kIoSelectionRule, {"I/O selection"}, {"I/O selection"}},
    // Hiding the servers leaves the first server's pair as it was.
    {"ServiceGroupBox", "", kServerCountRule, {"Server's Ip", "Server's Port"},
     {"Secondary Server's Ip", "Secondary Server's Port", "Server2's Ip", "Server2's Port",
      "Server3's Ip", "Server3's Port", "Server4's Ip", "Server4's Port", "Server5's Ip",
      "Server5's Port"}},
    {"ActivateGroupBox", "SMSActivationNO.", kActivationRule, {},
     {"ActivationPhoneNO.", "I/O1 control", "I/O2 control", "I/O3 control", "I/O selection",
      "IOactivationmethods", "RegisterInfo", "RegistrationReplyInfo", "HeartbeatPacket",
      "HeartbeatPacketReplyInfo", "ActivationInterface", "DataFormat", "On-line data",
      "Offline data", "SMSActivationNO."}},
};

// Channel 1's group box; IO2GroupBox and IO3GroupBox are derived and post the DIO2 and DIO3
// work-mode rules.
constexpr CascadeRow kIoGroupBox = {
    "IO1GroupBox", "DIO1 workmode", kDio1WorkModeRule, {},
    {"DIO1 protocol", "DIO1 interface", "DIO1 SMS number", "DIO1 reported methods",
     "DIO1 reported times", "DIO1 query command", "1The DIO1 data format",
     "DIO1 high level information", "DIO1 low level information", "DIO1 and mapping center",
     "DIO1 upper threshold", "DIO1 lower threshold", "DIO1 output control result"}};

// Channel-1 name parts and what they become on channel N.
struct ChannelPart {
    std::string_view channel1;
    std::string_view prefix;  // followed by the channel digit and the suffix
    std::string_view suffix;
};
constexpr ChannelPart kChannelParts[] = {
    {"IOLayout1.",  "IOLayout", "."},
    {"IO1GroupBox", "IO",       "GroupBox"},
    {"DIO1",        "DIO",      ""},
};

// Derived names the unit spells otherwise.
struct NameException {
    std::string_view derived;
    std::string_view actual;
};
constexpr NameException kDioNameExceptions[] = {
    {"1The DIO2 data format", "The DIO2 data format"},
};
// clang-format on

constexpr int kDioChannels = 3;

template <std::size_t N>
std::vector<std::string> ChannelNames(const Names<N>& names, int channel) {
    std::vector<std::string> out;
    for (std::string_view name : names) {
        if (!name.empty()) out.push_back(DioChannelName(name, channel));
    }
    return out;
}

LayoutMarks PlainMarks(const PlainRow& row, int channel) {
    LayoutMarks marks;
    marks.markFirst = ChannelNames(row.marks, channel);
    return marks;
}

LayoutMarks CascadeMarks(const CascadeRow& row, int channel, int code) {
    LayoutMarks marks;
    if (!row.markFirst.empty()) marks.markFirst.push_back(DioChannelName(row.markFirst, channel));
    marks.cascadeCode = code;
    marks.markWhenShown = ChannelNames(row.markWhenShown, channel);
    marks.markWhenHidden = ChannelNames(row.markWhenHidden, channel);
    return marks;
}

}  // namespace

std::string DioChannelName(std::string_view channel1Name, int channel) {
    std::string name(channel1Name);
    if (channel == 1) return name;
    const std::string digit = std::to_string(channel);
    for (const ChannelPart& part : kChannelParts) {
        const std::string replacement = std::string(part.prefix) + digit + std::string(part.suffix);
        for (std::size_t at = name.find(part.channel1); at != std::string::npos;
             at = name.find(part.channel1, at + replacement.size())) {
            name.replace(at, part.channel1.size(), replacement);
        }
    }
    for (const NameException& exception : kDioNameExceptions) {
        if (name == exception.derived) return std::string(exception.actual);
    }
    return name;
}

std::optional<LayoutMarks> FindLayoutMarks(std::string_view layout) {
    // Channel 1's rows are written as such: their own names need no derivation.
    for (const PlainRow& row : kPlainRows) {
        if (row.layout == layout) return PlainMarks(row, 1);
    }
    for (const CascadeRow& row : kCascadeRows) {
        if (row.layout == layout) return CascadeMarks(row, 1, row.code);
    }
    for (int channel = 1; channel <= kDioChannels; ++channel) {
        for (const PlainRow& row : kDioRows) {
            if (DioChannelName(row.layout, channel) == layout) return PlainMarks(row, channel);
        }
        if (DioChannelName(kIoGroupBox.layout, channel) == layout)
            return CascadeMarks(kIoGroupBox, channel, kIoGroupBox.code + channel - 1);
    }
    return std::nullopt;
}

std::vector<std::string> LayoutTableNames() {
    std::vector<std::string> names;
    for (const PlainRow& row : kPlainRows) names.emplace_back(row.layout);
    for (const CascadeRow& row : kCascadeRows) names.emplace_back(row.layout);
    for (int channel = 1; channel <= kDioChannels; ++channel) {
        for (const PlainRow& row : kDioRows) names.push_back(DioChannelName(row.layout, channel));
        names.push_back(DioChannelName(kIoGroupBox.layout, channel));
    }
    return names;
}
