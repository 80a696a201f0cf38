// Rules 2, 4, 5, 6 and 14: an on/off option shows its detail row and sizes its group box.
#include "form/RuleCodes.h"
#include "form/RuleSupport.h"
#include "form/ShowLayout.h"

namespace {

enum class ShownWhen { IndexNot0, Index1 };

struct OptionRow {
    int code;
    const char* combo;
    ShownWhen shownWhen;
    const char* layout;
    const char* box;  // null: no height
    int hiddenHeight;
    int shownHeight;
};

// clang-format off
constexpr ShownWhen kNot0 = ShownWhen::IndexNot0;
constexpr ShownWhen kIs1 = ShownWhen::Index1;
constexpr OptionRow kOptionRows[] = {
    // code, combo, shown when, detail row, group box, height hidden, height shown
    {kDebugOutputRule, "Debug Level",   kNot0, "DebugHorizontalLayout1",  nullptr,              0,  0},
    {kLcpEchoRule,     "LCP ECHO",      kNot0, "GlobalHorizontalLayout1", "PPPGroupBox",        60, 85},
    {kIcmpCheckRule,   "EXFUN",         kNot0, "GlobalHorizontalLayout2", "ICMPGroupBox",       60, 110},
    {kPlatformRule,    "dtu is connect to dtu manage platform",
                                  kNot0, "EquimentLayout1",         "DtumanageGroupBox",  60, 110},
    {kSmsConfigRule,   "DTU SMS configure fun", kIs1,  "EquimentLayout2",         "DtumanageGroupBox1", 60, 110},
};
// clang-format on

bool IsShown(const OptionRow& row, const CComboUI& combo) {
    const int index = combo.GetCurSel();
    return row.shownWhen == ShownWhen::Index1 ? index == 1 : index != 0;
}

}  // namespace

void ApplyOptionRule(FormContext& form, int code, LPARAM) {
    for (const OptionRow& row : kOptionRows) {
        if (row.code != code) continue;
        auto* combo = FindAs<CComboUI>(form, row.combo);
        if (!combo) return;
        const bool shown = IsShown(row, *combo);
        ShowLayout(form, row.layout, shown);
        if (row.box) WriteHeight(form, row.box, shown ? row.shownHeight : row.hiddenHeight);
        return;
    }
}

std::string OptionHider(FormContext& form, std::string_view layout) {
    for (const OptionRow& row : kOptionRows) {
        if (layout != row.layout) continue;
        auto* combo = FindAs<CComboUI>(form, row.combo);
        return combo && !IsShown(row, *combo) ? row.combo : "";
    }
    return {};
}
