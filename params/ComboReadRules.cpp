#include "params/ComboReadRules.h"

#include <climits>
#include <span>

#include "params/ParameterTable.h"
#include "params/ValueText.h"
#include "ui/Controls.h"

namespace {

enum class ReadRule {
    Number,                // when the value is not empty: the item at position number
    ByText,                // the first item whose text is the value, else none
    NumberMinus1,          // the item at number - 1
    NonEmptyNumberMinus1,  // when the value is not empty: the item at number - 1
    NumberMinus11,         // the item at number - 11 (ZigBee channels start at 11)
    TextThenCodes,         // by text, then by the row's codes
    Codes,                 // by the row's codes; any other value keeps the selection
    Numbers,               // by the row's numbers; any other number as the row's fallback says
    NetMode,               // 0 is item 0, n above 3 is item n - 3, anything else keeps it
    IoSelection,           // the first DIO channel whose work mode is "4"
};

// What a number without a row in the numbers table does.
enum class Otherwise { Keep, FirstItem, SameItem };

struct CodeItem {
    std::string_view code;
    int item;
};

struct NumberItem {
    int number;
    int item;
};

struct ReadRow {
    std::string_view name;
    ReadRule rule;
    std::span<const CodeItem> codes = {};
    std::span<const NumberItem> numbers = {};
    Otherwise otherwise = Otherwise::Keep;
};

// clang-format off
constexpr CodeItem kProtocolCodes[] = {
    {"PROT", 0}, {"DCUDP", 1}, {"DCTCP", 2}, {"TRNS", 3}, {"SMSCLI", 4}, {"SMSSER", 5},
    {"CUST", 6}, {"-1", -1},
};
constexpr CodeItem kDeviceModelCodes[] = {{"CLI", 0}, {"SVR", 1}, {"-1", -1}};
constexpr CodeItem kActivateCodes[] = {
    {"AUTO", 0}, {"SMSD", 1}, {"CTRL", 2}, {"DATA", 3}, {"MIXD", 4}, {"DIO", 5}, {"-1", -1},
};
constexpr NumberItem kExfunNumbers[] = {{0, 0}, {3, 1}};
constexpr NumberItem kBindingNumbers[] = {
    {0, 0}, {1, 1}, {2, 2}, {4, 3}, {8, 4}, {16, 5}, {255, 6},
};
constexpr NumberItem kDio3Numbers[] = {{4, 0}, {5, 0}, {6, 1}};
constexpr NumberItem kDio12Numbers[] = {{4, 0}, {5, 0}, {6, 4}};
constexpr NumberItem kIoModeNumbers[] = {{4, 1}, {5, 2}};

constexpr ReadRow kReadRules[] = {
    // control name                       rule                        table / fallback
    {"Protocolmodel",                     ReadRule::TextThenCodes,    kProtocolCodes},
    {"EXFUN",                             ReadRule::Numbers,          {}, kExfunNumbers},
    {"net mode",                          ReadRule::NetMode},
    {"DeviceModel",                       ReadRule::Codes,            kDeviceModelCodes},
    {"DIO1 interface",                    ReadRule::ByText},
    {"DIO2 interface",                    ReadRule::ByText},
    {"DIO3 interface",                    ReadRule::ByText},
    {"Transferprotocol",                  ReadRule::ByText},
    {"Dtumanagetransferprotocol",         ReadRule::ByText},
    {"Serial Baudrate",                   ReadRule::ByText},
    {"Serial 2 Baudrate",                 ReadRule::ByText},
    {"RS485 Baudrate",                    ReadRule::ByText},
    {"Serial port commu mode",            ReadRule::ByText},
    {"Serial 2 port commu mode",          ReadRule::ByText},
    {"RS485 port commu mode",             ReadRule::ByText},
    {"The PPP authentication",            ReadRule::ByText},
    {"LORA Mode",                         ReadRule::ByText},
    {"LORA ppt",                          ReadRule::ByText},
    {"LORA typ",                          ReadRule::NonEmptyNumberMinus1},
    {"ActivateMethod",                    ReadRule::Codes,            kActivateCodes},
    {"A serial port binding center",      ReadRule::Numbers,          {}, kBindingNumbers},
    {"A serial 2 port binding center",    ReadRule::Numbers,          {}, kBindingNumbers},
    {"RS485 port binding center",         ReadRule::Numbers,          {}, kBindingNumbers},
    {"DIO3 workmode",                     ReadRule::Numbers,          {}, kDio3Numbers,
                                                                      Otherwise::FirstItem},
    {"DIO1 workmode",                     ReadRule::Numbers,          {}, kDio12Numbers,
                                                                      Otherwise::SameItem},
    {"DIO2 workmode",                     ReadRule::Numbers,          {}, kDio12Numbers,
                                                                      Otherwise::SameItem},
    {"ZigBee_RFchannel",                  ReadRule::NumberMinus11},
    {"ActivationInterface",               ReadRule::NumberMinus1},
    {"Debugging  port",                   ReadRule::NumberMinus1},
    {"LORA Rate",                         ReadRule::NumberMinus1},
    {"I/O selection",                     ReadRule::IoSelection},
    {"I/O1 Mode",                         ReadRule::Numbers,          {}, kIoModeNumbers,
                                                                      Otherwise::FirstItem},
    {"I/O2 Mode",                         ReadRule::Numbers,          {}, kIoModeNumbers,
                                                                      Otherwise::FirstItem},
};
// clang-format on

// "I/O selection" shows the first channel whose work mode is 4 ("4" exactly).
constexpr std::string_view kIoSelectionSources[] = {"DIO1 workmode", "DIO2 workmode",
                                                    "DIO3 workmode"};

constexpr ItemChoice Keep() {
    return {};
}
constexpr ItemChoice Select(int item) {
    return {true, item};
}
// number - offset without overflow at the ends of the int range (atoi of a huge value).
constexpr ItemChoice SelectBelow(int number, int offset) {
    const long long item = static_cast<long long>(number) - offset;
    return Select(item < INT_MIN ? INT_MIN : static_cast<int>(item));
}

const ReadRow* FindReadRow(std::string_view name) {
    for (const ReadRow& row : kReadRules) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

int ItemByText(const CComboUI& combo, std::string_view value) {
    for (int i = 0; i < combo.GetCount(); ++i) {
        if (combo.GetItemAt(i)->GetText() == value) return i;
    }
    return -1;
}

ItemChoice ByCodes(std::span<const CodeItem> codes, std::string_view value) {
    for (const CodeItem& c : codes) {
        if (c.code == value) return {true, c.item, c.item == -1};
    }
    return Keep();
}

ItemChoice ByNumbers(const ReadRow& row, int number) {
    for (const NumberItem& n : row.numbers) {
        if (n.number == number) return Select(n.item);
    }
    switch (row.otherwise) {
        case Otherwise::FirstItem:
            return Select(0);
        case Otherwise::SameItem:
            return Select(number);
        case Otherwise::Keep:
            break;
    }
    return Keep();
}

ItemChoice ByIoSelection(const ParameterTable& table) {
    for (int i = 0; i < static_cast<int>(std::size(kIoSelectionSources)); ++i) {
        const ParameterEntry* source = table.FindParameter(kIoSelectionSources[i]);
        if (source && source->value == "4") return Select(i);
    }
    return Keep();
}

}  // namespace

ItemChoice ChooseItem(std::string_view name, std::string_view value, const CComboUI& combo,
                      const ParameterTable& table) {
    const ReadRow* row = FindReadRow(name);
    const ReadRule rule = row ? row->rule : ReadRule::Number;
    const int number = LeadingNumber(value);
    switch (rule) {
        case ReadRule::Number:
            return value.empty() ? Keep() : Select(number);
        case ReadRule::ByText:
            return Select(ItemByText(combo, value));
        case ReadRule::NumberMinus1:
            return SelectBelow(number, 1);
        case ReadRule::NonEmptyNumberMinus1:
            return value.empty() ? Keep() : SelectBelow(number, 1);
        case ReadRule::NumberMinus11:
            return SelectBelow(number, 11);
        case ReadRule::TextThenCodes: {
            const ItemChoice coded = ByCodes(row->codes, value);
            return coded.change ? coded : Select(ItemByText(combo, value));
        }
        case ReadRule::Codes:
            return ByCodes(row->codes, value);
        case ReadRule::Numbers:
            return ByNumbers(*row, number);
        case ReadRule::NetMode:
            if (number == 0) return Select(0);
            return number > 3 ? Select(number - 3) : Keep();
        case ReadRule::IoSelection:
            return ByIoSelection(table);
    }
    return Keep();
}
