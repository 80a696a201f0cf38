// Rule 1: the activation method decides the activation rows, which I/O channels stay on the
// I/O tab and the height of the activation group; under DIO the I/O activation method decides.
#include <array>
#include <span>

#include "form/RuleCodes.h"
#include "form/RuleSupport.h"

namespace {

constexpr int kMethodCount = 6;  // AUTO, SMSD, CTRL, DATA, MIXD, DIO
constexpr int kDio = 5;
constexpr Cell kByIoMethod = 2;  // decided by "IOactivationmethods" below
constexpr int kNoHeight = 0;

struct MethodRow {
    const char* layout;
    std::array<Cell, kMethodCount> byMethod;
};

struct IoMethodRow {
    const char* layout;
    Cell index0;  // channels chosen by the I/O selection
    Cell other;   // channels chosen by the I/O control combos
};

constexpr int kMixedPosts[] = {kLoraRule, kIo2ModeRule};
constexpr int kSelectionPosts[] = {kIoSelectionRule};
constexpr int kControlPosts[] = {kIo1ControlRule, kIo2ControlRule, kIo3ControlRule};

// clang-format off
constexpr MethodRow kMethodRows[] = {
    //                                  AUTO SMSD CTRL DATA MIXD DIO
    {"ActivateHorizontalLayout1",      {0,   1,   1,   0,   1,   0}},
    {"ActivateHorizontalLayout1.2",    {kKeep, kKeep, kKeep, kKeep, kKeep, 0}},
    {"ActivateHorizontalLayout2",      {0,   0,   0,   1,   1,   0}},
    {"ActivateHorizontalLayout3",      {0,   0,   0,   1,   1,   0}},
    {"ActivateHorizontalLayout4",      {0,   0,   0,   0,   0,   1}},
    {"ActivateHorizontalLayout5",      {0,   0,   0,   0,   0,   kByIoMethod}},
    {"ActivateHorizontalLayout6",      {0,   0,   0,   0,   0,   kByIoMethod}},
    {"ActivateHorizontalLayout6.1",    {0,   1,   0,   0,   1,   kByIoMethod}},
    {"ActivateHorizontalLayout6.1.1",  {0,   0,   0,   0,   0,   kByIoMethod}},
    {"ActivateHorizontalLayout6.1.2",  {0,   1,   0,   0,   1,   kByIoMethod}},
    {"ActivateHorizontalLayout7",      {0,   0,   1,   0,   1,   0}},
    {"ActivateHorizontalLayout8",      {0,   1,   0,   0,   1,   0}},
    {"ActivateHorizontalLayout9",      {0,   0,   0,   0,   1,   0}},
    {"IO1GroupBox",                    {1,   1,   1,   1,   kKeep, kKeep}},
    {"IO2GroupBox",                    {1,   1,   1,   1,   kKeep, kKeep}},
    {"IO3GroupBox",                    {1,   1,   1,   1,   1,   kKeep}},
    {"IOTab",                          {1,   1,   1,   1,   1,   kKeep}},
};

// Codes posted after the rows, and the activation group's height.
constexpr std::span<const int> kPostsByMethod[kMethodCount] = {
    {}, {}, {}, {}, kMixedPosts, {}};
constexpr int kHeightByMethod[kMethodCount] = {60, 110, 85, 110, 185, kNoHeight};
constexpr int kNoMethodHeight = 60;

// Under DIO, by "IOactivationmethods".
constexpr IoMethodRow kIoMethodRows[] = {
    //                                  index 0  other
    {"ActivateHorizontalLayout5",       1,       0},
    {"ActivateHorizontalLayout6",       0,       1},
    {"ActivateHorizontalLayout6.1",     0,       1},
    {"ActivateHorizontalLayout6.1.1",   0,       1},
    {"ActivateHorizontalLayout6.1.2",   0,       0},
};
constexpr std::span<const int> kIoMethodPosts[2] = {kSelectionPosts, kControlPosts};
constexpr int kIoMethodHeights[2] = {110, 135};
// clang-format on

void Post(FormContext& form, std::span<const int> codes) {
    for (int code : codes) form.postRule(code, 0);
}

}  // namespace

void ApplyActivationRule(FormContext& form, int, LPARAM) {
    auto* method = FindAs<CComboUI>(form, "ActivateMethod");
    if (!method) return;
    form.postRule(kClearDioTextsRule, 0);
    const int index = method->GetCurSel();
    int height = kNoMethodHeight;
    if (index >= 0 && index < kMethodCount) {
        for (const MethodRow& row : kMethodRows)
            ApplyCell(form, row.layout, row.byMethod[static_cast<std::size_t>(index)]);
        Post(form, kPostsByMethod[index]);
        height = kHeightByMethod[index];
        if (index == kDio) {
            auto* ioMethod = FindAs<CComboUI>(form, "IOactivationmethods");
            if (!ioMethod) return;
            const int by = ioMethod->GetCurSel() == 0 ? 0 : 1;
            for (const IoMethodRow& row : kIoMethodRows)
                ApplyCell(form, row.layout, by == 0 ? row.index0 : row.other);
            Post(form, kIoMethodPosts[by]);
            height = kIoMethodHeights[by];
        }
    }
    WriteHeight(form, "ActivateGroupBox", height);
}

std::string ActivationHider(FormContext& form, std::string_view layout) {
    auto* method = FindAs<CComboUI>(form, "ActivateMethod");
    const int index = method ? method->GetCurSel() : -1;
    if (index < 0 || index >= kMethodCount) return {};
    for (const MethodRow& row : kMethodRows) {
        if (layout != row.layout) continue;
        const Cell cell = row.byMethod[static_cast<std::size_t>(index)];
        if (cell == 0) return "ActivateMethod";
        auto* ioMethod = FindAs<CComboUI>(form, "IOactivationmethods");
        if (cell != kByIoMethod || !ioMethod) return {};
        for (const IoMethodRow& byIo : kIoMethodRows) {
            const Cell ioCell = ioMethod->GetCurSel() == 0 ? byIo.index0 : byIo.other;
            if (layout == byIo.layout && ioCell == 0) return "IOactivationmethods";
        }
        return {};
    }
    return {};
}
