// Rules 7, 8 and 9: a DIO channel's work mode decides which of the channel's rows are shown
// and how high its group box is.
#include <array>
#include <string>

#include "form/LayoutTable.h"
#include "form/RuleCodes.h"
#include "form/RuleSupport.h"
#include "form/ShowLayout.h"
#include "settings/Labels.h"

namespace {

constexpr int kModeCount = 5;  // [DIO workmode] Text1 to Text5
constexpr const char* kModeLabels[kModeCount] = {"Text1", "Text2", "Text3", "Text4", "Text5"};

// Condition cells: the row is shown exactly when the condition holds.
constexpr Cell kOnInChannel3 = 2;
constexpr Cell kIfInterface3 = 3;
constexpr Cell kIfReported1 = 4;
constexpr Cell kIfReported0 = 5;
constexpr Cell kIfProtocol1 = 6;

// The combo a row depends on: when the skin lacks it, the row is left alone.
enum class Needs { Nothing, Interface, Reported, Protocol };

struct DioRow {
    const char* row;  // follows "IOLayout" and the channel number
    Needs needs;
    std::array<Cell, kModeCount> byMode;
};

struct DioHeight {
    int protocol1;      // the protocol combo at index 1
    int otherProtocol;  // any other index
};

// clang-format off
constexpr DioRow kDioRows[] = {
    //        needs              Text1 Text2          Text3          Text4 Text5
    {".1",    Needs::Nothing,   {0,    1,             1,             0,    0}},
    {".2",    Needs::Nothing,   {0,    1,             1,             0,    kOnInChannel3}},
    {".2.1",  Needs::Interface, {0,    kIfInterface3, kIfInterface3, 0,    0}},
    {".3",    Needs::Nothing,   {0,    1,             0,             0,    0}},
    {".3.1",  Needs::Reported,  {0,    kIfReported1,  0,             0,    0}},
    {".3.2",  Needs::Reported,  {0,    kIfReported0,  0,             0,    0}},
    {".4",    Needs::Protocol,  {0,    kIfProtocol1,  1,             0,    0}},
    {".4.1",  Needs::Protocol,  {0,    kIfProtocol1,  kIfProtocol1,  0,    0}},
    {".4.2",  Needs::Protocol,  {0,    0,             1,             0,    0}},
    {".5",    Needs::Protocol,  {0,    kIfProtocol1,  kIfProtocol1,  0,    0}},
    {".6",    Needs::Nothing,   {0,    0,             0,             1,    0}},
    {".7",    Needs::Nothing,   {0,    0,             0,             0,    1}},
};

constexpr DioHeight kHeights[3][kModeCount] = {
    //           Text1     Text2       Text3       Text4     Text5
    /* DIO1 */ {{60, 60}, {160, 110}, {135, 110}, {85, 85}, {85, 85}},
    /* DIO2 */ {{60, 60}, {160, 110}, {135, 110}, {85, 85}, {85, 85}},
    /* DIO3 */ {{60, 60}, {160, 110}, {135, 85},  {85, 85}, {110, 110}},
};
// clang-format on

constexpr int kNoModeHeight = 60;

// Text2 and Text3 read the interface, reported-methods and protocol combos; the other modes
// do not depend on them.
bool ReadsCombos(int mode) {
    return mode == 1 || mode == 2;
}

int ModeOf(const CStdString& text) {
    for (int i = 0; i < kModeCount; ++i) {
        CStdString label = LabelText("DIO workmode", kModeLabels[i]);
        // A label missing from Language.ini is empty and must not match an empty selection.
        if (!label.IsEmpty() && text == label) return i;
    }
    return -1;
}

// The work mode a channel's list shows. A value of the unit's own the list has no item for (4
// and 5, the activation functions) shows none of the mode rows, as "Off" does.
int ModeOf(CControlUI& workMode) {
    if (auto* combo = dynamic_cast<CComboUI*>(&workMode)) {
        const CListLabelElementUI* item = combo->GetItemAt(combo->GetCurSel());
        if (item && item->IsUnitValue()) return 0;
    }
    return ModeOf(workMode.GetText());
}

struct ChannelCombos {
    CComboUI* interface = nullptr;
    CComboUI* reported = nullptr;
    CComboUI* protocol = nullptr;

    CComboUI* For(Needs needs) const {
        switch (needs) {
            case Needs::Interface:
                return interface;
            case Needs::Reported:
                return reported;
            case Needs::Protocol:
                return protocol;
            case Needs::Nothing:
                break;
        }
        return nullptr;
    }
};

bool Holds(Cell cell, int channel, const ChannelCombos& combos) {
    switch (cell) {
        case kOnInChannel3:
            return channel == 3;
        case kIfInterface3:
            return combos.interface->GetCurSel() == 3;
        case kIfReported1:
            return combos.reported->GetCurSel() == 1;
        case kIfReported0:
            return combos.reported->GetCurSel() == 0;
        case kIfProtocol1:
            return combos.protocol->GetCurSel() == 1;
        default:
            return cell == 1;
    }
}

}  // namespace

void ApplyDioWorkModeRule(FormContext& form, int code, LPARAM) {
    const int channel = code - kDio1WorkModeRule + 1;
    auto name = [channel](const char* channel1Name) {
        return DioChannelName(channel1Name, channel);
    };
    CControlUI* workMode = form.paintManager.FindControl(name("DIO1 workmode"));
    if (!workMode) return;
    const int mode = ModeOf(*workMode);
    int height = kNoModeHeight;
    if (mode >= 0) {
        ChannelCombos combos;
        if (ReadsCombos(mode)) {
            combos.interface = FindAs<CComboUI>(form, name("DIO1 interface"));
            combos.reported = FindAs<CComboUI>(form, name("DIO1 reported methods"));
            combos.protocol = FindAs<CComboUI>(form, name("DIO1 protocol"));
        }
        const std::string layout = "IOLayout" + std::to_string(channel);
        for (const DioRow& row : kDioRows) {
            if (ReadsCombos(mode) && row.needs != Needs::Nothing && !combos.For(row.needs))
                continue;
            ShowLayout(form, layout + row.row,
                       Holds(row.byMode[static_cast<std::size_t>(mode)], channel, combos));
        }
        const DioHeight& h = kHeights[channel - 1][mode];
        if (!ReadsCombos(mode))
            height = h.otherProtocol;
        else if (combos.protocol)
            height = combos.protocol->GetCurSel() == 1 ? h.protocol1 : h.otherProtocol;
    }
    WriteHeight(form, name("IO1GroupBox"), height);
}

std::string DioWorkModeHider(FormContext& form, std::string_view layout) {
    for (int channel = 1; channel <= 3; ++channel) {
        const std::string prefix = "IOLayout" + std::to_string(channel);
        if (!layout.starts_with(prefix)) continue;
        auto name = [channel](const char* channel1Name) {
            return DioChannelName(channel1Name, channel);
        };
        CControlUI* workMode = form.paintManager.FindControl(name("DIO1 workmode"));
        const int mode = workMode ? ModeOf(*workMode) : -1;
        if (mode < 0) return {};
        const ChannelCombos combos{FindAs<CComboUI>(form, name("DIO1 interface")),
                                   FindAs<CComboUI>(form, name("DIO1 reported methods")),
                                   FindAs<CComboUI>(form, name("DIO1 protocol"))};
        for (const DioRow& row : kDioRows) {
            if (layout.substr(prefix.size()) != row.row) continue;
            const Cell cell = row.byMode[static_cast<std::size_t>(mode)];
            if (cell == 0 || cell == 1 || cell == kOnInChannel3)
                return Holds(cell, channel, combos) ? "" : workMode->GetName().str();
            CComboUI* condition = combos.For(row.needs);
            if (!condition || Holds(cell, channel, combos)) return {};
            return condition->GetName().str();
        }
    }
    return {};
}
