#include "params/ComboReadRules.h"

#include <climits>
#include <span>

#include "params/ComboRules.h"
#include "params/ParameterTable.h"
#include "params/ValueText.h"
#include "ui/Controls.h"

namespace {

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

ItemChoice ByNumbers(const ReadSpec& row, int number) {
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
    const ComboRule* found = FindComboRule(name);
    const ReadSpec row = found ? found->read : ReadSpec{};
    const ReadRule rule = row.rule;
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
            const ItemChoice coded = ByCodes(row.codes, value);
            return coded.change ? coded : Select(ItemByText(combo, value));
        }
        case ReadRule::Codes:
            return ByCodes(row.codes, value);
        case ReadRule::Numbers:
            return ByNumbers(row, number);
        case ReadRule::NetMode:
            if (number == 0) return Select(0);
            return number > 3 ? Select(number - 3) : Keep();
        case ReadRule::IoSelection:
            return ByIoSelection(table);
    }
    return Keep();
}
