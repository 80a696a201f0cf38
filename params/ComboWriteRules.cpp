#include "params/ComboWriteRules.h"

#include <span>

#include "settings/Labels.h"

namespace {

enum class WriteRule {
    Index,             // none selected: nothing; else the position
    Text,              // the item's text, also when empty
    NonEmptyText,      // the item's text; nothing when it is empty
    ProtocolText,      // the text; the localised name of the custom protocol as "CUST"
    IndexPlus1,        // none selected: nothing; else position + 1
    IndexPlus1Always,  // position + 1, so 0 when none is selected
    IndexCodes,        // the row's code at the position, else the row's fallback text
    Exfun,             // none: nothing; item 1 is mode 3; else the position
    NetMode,           // none: nothing; item 0 is 0; item i above 0 is i + 3
    IoMode,            // item 0 or none: nothing; item i is i + 3
    BindingCentre,     // none: nothing; 0 is 0; 6 is all centres (255); i is bit i - 1
    WorkModeLabel,     // the text matched against the localised work mode names
    IoSelection,       // nothing of its own; the chosen channel's work mode becomes 4
    IoControl,         // the position; the channel's work mode becomes 5 unless item 6
};

struct WriteRow {
    std::string_view name;
    WriteRule rule;
    std::span<const std::string_view> codes = {};  // IndexCodes: by position
    std::string_view otherwise = {};               // IndexCodes: any other position
    std::span<const std::string_view> sides = {};  // IoSelection by position, IoControl [0]
};

// clang-format off
constexpr std::string_view kActivateCodes[] = {"AUTO", "SMSD", "CTRL", "DATA", "MIXD", "DIO"};
constexpr std::string_view kDeviceModelCodes[] = {"CLI", "SVR"};
constexpr std::string_view kIoChannels[] = {"DIO1 workmode", "DIO2 workmode", "DIO3 workmode"};
constexpr std::string_view kDio1[] = {"DIO1 workmode"};
constexpr std::string_view kDio2[] = {"DIO2 workmode"};
constexpr std::string_view kDio3[] = {"DIO3 workmode"};

constexpr WriteRow kWriteRules[] = {
    // control name                       rule                          codes / sides
    {"Protocolmodel",                     WriteRule::ProtocolText},
    {"EXFUN",                             WriteRule::Exfun},
    {"LORA Mode",                         WriteRule::NonEmptyText},
    {"LORA Rate",                         WriteRule::NonEmptyText},
    {"ZigBee_RFchannel",                  WriteRule::NonEmptyText},
    {"LORA ppt",                          WriteRule::NonEmptyText},
    {"LORA typ",                          WriteRule::IndexPlus1Always},
    {"ActivateMethod",                    WriteRule::IndexCodes,        kActivateCodes, ""},
    {"I/O selection",                     WriteRule::IoSelection,       {}, {}, kIoChannels},
    {"net mode",                          WriteRule::NetMode},
    {"I/O1 Mode",                         WriteRule::IoMode},
    {"I/O2 Mode",                         WriteRule::IoMode},
    {"The PPP authentication",            WriteRule::Text},
    {"DIO1 interface",                    WriteRule::Text},
    {"DIO2 interface",                    WriteRule::Text},
    {"DIO3 interface",                    WriteRule::Text},
    {"A serial port binding center",      WriteRule::BindingCentre},
    {"A serial 2 port binding center",    WriteRule::BindingCentre},
    {"RS485 port binding center",         WriteRule::BindingCentre},
    {"Transferprotocol",                  WriteRule::Text},
    {"Dtumanagetransferprotocol",         WriteRule::Text},
    {"Serial Baudrate",                   WriteRule::Text},
    {"Serial 2 Baudrate",                 WriteRule::Text},
    {"RS485 Baudrate",                    WriteRule::Text},
    {"Serial port commu mode",            WriteRule::Text},
    {"Serial 2 port commu mode",          WriteRule::Text},
    {"RS485 port commu mode",             WriteRule::Text},
    {"ActivationInterface",               WriteRule::IndexPlus1},
    {"Debugging  port",                   WriteRule::IndexPlus1},
    {"I/O1 control",                      WriteRule::IoControl,         {}, {}, kDio1},
    {"I/O2 control",                      WriteRule::IoControl,         {}, {}, kDio2},
    {"I/O3 control",                      WriteRule::IoControl,         {}, {}, kDio3},
    {"DeviceModel",                       WriteRule::IndexCodes,        kDeviceModelCodes, "-1"},
    {"DIO1 workmode",                     WriteRule::WorkModeLabel},
    {"DIO2 workmode",                     WriteRule::WorkModeLabel},
    {"DIO3 workmode",                     WriteRule::WorkModeLabel},
};

// The localised work mode names ([DIO workmode] Text1 to Text5) and the mode each writes.
struct WorkModeName {
    const char* key;
    int mode;
};
constexpr WorkModeName kWorkModeNames[] = {
    {"Text1", 0}, {"Text2", 1}, {"Text3", 2}, {"Text4", 3}, {"Text5", 6},
};
// clang-format on

// Position 6 of a binding-centre list binds every centre.
constexpr int kAllCentresItem = 6;
// Position 6 of an I/O control list leaves the channel's work mode alone.
constexpr int kIoControlKeepsMode = 6;

const WriteRow* FindWriteRow(std::string_view name) {
    for (const WriteRow& row : kWriteRules) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

ComboWrite Nothing() {
    return {};
}
ComboWrite Write(std::string value) {
    ComboWrite write;
    write.write = true;
    write.value = std::move(value);
    return write;
}
ComboWrite Write(long long number) {
    return Write(std::to_string(number));
}

int WorkModeOf(std::string_view text) {
    if (text.empty()) return 0;
    for (const WorkModeName& name : kWorkModeNames) {
        if (LabelText("DIO workmode", name.key) == text) return name.mode;
    }
    return 0;
}

ComboWrite BindingCentre(int i) {
    if (i < 0) return Nothing();
    if (i == 0) return Write(0LL);
    if (i == kAllCentresItem) return Write("255");
    // A longer list than the skin's would run past the mask's width: nothing sensible to send.
    if (i > 63) return Nothing();
    return Write(std::to_string(1ULL << (i - 1)));
}

}  // namespace

ComboWrite DeriveComboWrite(std::string_view name, int i, std::string_view text) {
    const WriteRow* row = FindWriteRow(name);
    const WriteRule rule = row ? row->rule : WriteRule::Index;
    switch (rule) {
        case WriteRule::Index:
            return i < 0 ? Nothing() : Write(i);
        case WriteRule::Text:
            return Write(std::string(text));
        case WriteRule::NonEmptyText:
            return text.empty() ? Nothing() : Write(std::string(text));
        case WriteRule::ProtocolText:
            return Write(LabelText("Protocolmodel", "Text") == text ? std::string("CUST")
                                                                    : std::string(text));
        case WriteRule::IndexPlus1:
            return i < 0 ? Nothing() : Write(i + 1LL);
        case WriteRule::IndexPlus1Always:
            return Write(i + 1LL);
        case WriteRule::IndexCodes:
            if (i >= 0 && i < static_cast<int>(row->codes.size())) {
                return Write(std::string(row->codes[static_cast<std::size_t>(i)]));
            }
            return Write(std::string(row->otherwise));
        case WriteRule::Exfun:
            if (i < 0) return Nothing();
            return Write(i == 1 ? 3LL : i);
        case WriteRule::NetMode:
            if (i < 0) return Nothing();
            return Write(i == 0 ? 0LL : i + 3LL);
        case WriteRule::IoMode:
            return i <= 0 ? Nothing() : Write(i + 3LL);
        case WriteRule::BindingCentre:
            return BindingCentre(i);
        case WriteRule::WorkModeLabel:
            return Write(WorkModeOf(text));
        case WriteRule::IoSelection: {
            ComboWrite side;
            if (i >= 0 && i < static_cast<int>(row->sides.size())) {
                side.sideEntry = row->sides[static_cast<std::size_t>(i)];
                side.sideValue = "4";
            }
            return side;
        }
        case WriteRule::IoControl: {
            if (i < 0) return Nothing();
            ComboWrite own = Write(i);
            if (i != kIoControlKeepsMode) {
                own.sideEntry = row->sides[0];
                own.sideValue = "5";
            }
            return own;
        }
    }
    return Nothing();
}
