#include "params/ComboWriteRules.h"

#include <span>

#include "params/ComboRules.h"
#include "settings/Labels.h"

namespace {

// clang-format off
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
    const ComboRule* found = FindComboRule(name);
    const WriteSpec row = found ? found->write : WriteSpec{};
    const WriteRule rule = row.rule;
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
            if (i >= 0 && i < static_cast<int>(row.codes.size())) {
                return Write(std::string(row.codes[static_cast<std::size_t>(i)]));
            }
            return Write(std::string(row.otherwise));
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
            if (i >= 0 && i < static_cast<int>(row.sides.size())) {
                side.sideEntry = row.sides[static_cast<std::size_t>(i)];
                side.sideValue = "4";
            }
            return side;
        }
        case WriteRule::IoControl: {
            if (i < 0) return Nothing();
            ComboWrite own = Write(i);
            if (i != kIoControlKeepsMode) {
                own.sideEntry = row.sides[0];
                own.sideValue = "5";
            }
            return own;
        }
    }
    return Nothing();
}
