// Rule 17: the LoRa work mode and the module's version decide the LoRa rows.
#include <string_view>

#include "form/RuleSupport.h"
#include "form/ShowLayout.h"

namespace {

constexpr std::string_view kTransparentMode = "TRNS";
constexpr int kTransparentHeight = 235;
constexpr int kOtherModeHeight = 210;

// Module versions that lack a row's setting.
struct VersionRow {
    const char* layout;
    std::string_view hiddenWhenVersionHas;  // empty: always hidden
};
constexpr VersionRow kVersionRows[] = {
    {"LoraPID", "v1"},
    {"LoraType", ""},
    {"LoraPower", "T4R22B-N"},
};

}  // namespace

void ApplyLoraRule(FormContext& form, int, LPARAM) {
    CControlUI* mode = form.paintManager.FindControl("LORA Mode");
    if (!mode) return;
    const bool transparent = mode->GetText() == kTransparentMode;
    ShowLayout(form, "LoraLayout", transparent);
    for (const VersionRow& row : kVersionRows) {
        const bool lacks = row.hiddenWhenVersionHas.empty() ||
                           form.loraVersion.find(row.hiddenWhenVersionHas) != std::string::npos;
        ShowLayout(form, row.layout, !lacks);
    }
    WriteHeight(form, "LoraGroupBox", transparent ? kTransparentHeight : kOtherModeHeight);
}

std::string LoraHider(FormContext& form, std::string_view layout) {
    // The version rows follow the module, not a choice of the user's: no list to name.
    CControlUI* mode = form.paintManager.FindControl("LORA Mode");
    if (layout != "LoraLayout" || !mode || mode->GetText() == kTransparentMode) return {};
    return "LORA Mode";
}
