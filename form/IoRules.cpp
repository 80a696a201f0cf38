// Rules 10 to 13, 18 and 19 and the I/O tab rule: a channel that serves the activation
// function leaves the I/O tab, and the tab goes when no channel is left on it.
#include <array>
#include <string>

#include "form/LayoutRules.h"
#include "form/RuleCodes.h"
#include "form/RuleSupport.h"
#include "form/ShowLayout.h"

namespace {

constexpr const char* kIoGroupBoxes[3] = {"IO1GroupBox", "IO2GroupBox", "IO3GroupBox"};
constexpr const char* kIoControls[3] = {"I/O1 control", "I/O2 control", "I/O3 control"};

// clang-format off
// Rule 10, by the "I/O selection" index: the selected channel serves the activation.
constexpr std::array<Cell, 3> kBoxesBySelection[] = {
    // IO1 IO2 IO3
    {0,  1,  1},   // index 0
    {1,  0,  1},   // index 1
    {1,  1,  0},   // index 2
    {1,  1,  1},   // none or any other index
};
// clang-format on
constexpr std::array<Cell, 3> kAllBoxes = {1, 1, 1};

// Rules 11 to 13: these indexes of an I/O control combo give its channel to the activation.
constexpr int kFirstFunction = 0;
constexpr int kLastFunction = 5;

constexpr const char* kFreeChannel = "None";

// The I/O modes of the mixed activation.
struct IoModeRow {
    int code;
    const char* combo;
    const char* box;
    int thenCode;  // rule run in full afterwards, or 0
};
constexpr IoModeRow kIoModeRows[] = {
    {kIo2ModeRule, "I/O2 Mode", "IO2GroupBox", kIo1ModeRule},
    {kIo1ModeRule, "I/O1 Mode", "IO1GroupBox", 0},
};

void ShowBoxes(FormContext& form, const std::array<Cell, 3>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) ApplyCell(form, kIoGroupBoxes[i], cells[i]);
}

}  // namespace

void ApplyIoSelectionRule(FormContext& form, int, LPARAM) {
    auto* selection = FindAs<CComboUI>(form, "I/O selection");
    if (!selection) return;
    if (!selection->IsVisible()) {
        ShowBoxes(form, kAllBoxes);
        return;
    }
    const int index = selection->GetCurSel();
    const int row = index >= 0 && index < 3 ? index : 3;
    ShowBoxes(form, kBoxesBySelection[row]);
    ShowTab(form, "IOTab", true);
}

void ApplyIoControlRule(FormContext& form, int code, LPARAM) {
    const int channel = code - kIo1ControlRule;  // from 0
    auto* control = FindAs<CComboUI>(form, kIoControls[channel]);
    if (!control) return;
    if (!control->IsVisible()) {
        ShowLayout(form, kIoGroupBoxes[channel], true);
        return;
    }
    const int index = control->GetCurSel();
    const bool servesActivation = index >= kFirstFunction && index <= kLastFunction;
    ShowLayout(form, kIoGroupBoxes[channel], !servesActivation);
    ApplyIoTabRule(form);
}

void ApplyIoTabRule(FormContext& form) {
    int taken = 0;
    for (const char* name : kIoControls) {
        auto* control = FindAs<CComboUI>(form, name);
        if (!control) return;
        if (control->GetText() != kFreeChannel) ++taken;
    }
    ShowTab(form, "IOTab", taken < 3);
}

void ApplyIoModeRule(FormContext& form, int code, LPARAM argument) {
    for (const IoModeRow& row : kIoModeRows) {
        if (row.code != code) continue;
        auto* mode = FindAs<CComboUI>(form, row.combo);
        if (!mode) return;
        if (!mode->IsVisible()) {
            ShowLayout(form, row.box, true);
            return;
        }
        ShowLayout(form, row.box, !(mode->GetCurSel() > 0));
        if (row.thenCode) ApplyIoModeRule(form, row.thenCode, argument);
        return;
    }
}

std::string IoHider(FormContext& form, std::string_view layout) {
    if (layout == "IOTab") {
        for (const char* name : kIoControls) {
            auto* control = FindAs<CComboUI>(form, name);
            if (!control || control->GetText() == kFreeChannel) return {};
        }
        return kIoControls[0];
    }
    for (std::size_t channel = 0; channel < 3; ++channel) {
        if (layout != kIoGroupBoxes[channel]) continue;
        auto* selection = FindAs<CComboUI>(form, "I/O selection");
        if (selection && selection->IsVisible()) {
            const int index = selection->GetCurSel();
            if (kBoxesBySelection[index >= 0 && index < 3 ? index : 3][channel] == 0)
                return "I/O selection";
        }
        auto* control = FindAs<CComboUI>(form, kIoControls[channel]);
        if (control && control->IsVisible() && control->GetCurSel() >= kFirstFunction &&
            control->GetCurSel() <= kLastFunction)
            return kIoControls[channel];
        for (const IoModeRow& row : kIoModeRows) {
            auto* mode = FindAs<CComboUI>(form, row.combo);
            if (layout == row.box && mode && mode->IsVisible() && mode->GetCurSel() > 0)
                return row.combo;
        }
    }
    return {};
}
