#pragma once
// Each drop-down list's two rules, in one row: how a value read from the unit picks its item,
// and how its state turns back into the value written. A list without a row takes and writes
// its selected position. Internal to the list rules (ComboReadRules, ComboWriteRules).
//
// Threads: constant data, any thread.
#include <span>
#include <string_view>

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

struct CodeItem {
    std::string_view code;
    int item;
};

struct NumberItem {
    int number;
    int item;
};

struct ReadSpec {
    ReadRule rule = ReadRule::Number;
    std::span<const CodeItem> codes = {};
    std::span<const NumberItem> numbers = {};
    Otherwise otherwise = Otherwise::Keep;
};

struct WriteSpec {
    WriteRule rule = WriteRule::Index;
    std::span<const std::string_view> codes = {};  // IndexCodes: by position
    std::string_view otherwise = {};               // IndexCodes: any other position
    std::span<const std::string_view> sides = {};  // IoSelection by position, IoControl [0]
};

struct ComboRule {
    std::string_view name;
    ReadSpec read;
    WriteSpec write;
};

// The row of a list, or null when it has none.
const ComboRule* FindComboRule(std::string_view name);
