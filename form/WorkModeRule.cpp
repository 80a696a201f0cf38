// Rule 0: the work mode decides the rows of the work-mode tab, which tabs are offered and the
// heights of the mode and serial group boxes; under CUST the device model decides the rest.
#include <array>

#include "form/RuleSupport.h"

namespace {

constexpr int kModeCount = 7;  // PROT, DCUDP, DCTCP, TRNS, SMSCLI, SMSSER, CUST
constexpr int kCust = 6;
constexpr Cell kByModel = 2;  // decided by "DeviceModel" below
constexpr Cell kByHeart = 3;  // decided by "RegistrationAndHeart" below

struct ModeRow {
    const char* layout;
    std::array<Cell, kModeCount> byMode;
};

struct Heights {
    int mode;    // "ModeGroupBox"
    int serial;  // "serialGroupbox", "serial2Groupbox", "serial3Groupbox"
};

// clang-format off
constexpr ModeRow kModeRows[] = {
    //                                  PROT DCUDP DCTCP TRNS SMSCLI SMSSER CUST
    {"ModeHorizontalLayout1",          {1,   1,    1,    0,   0,     0,     0}},
    {"ModeHorizontalLayout1.1",        {1,   0,    0,    0,   0,     0,     0}},
    {"ModeHorizontalLayout1.2",        {1,   0,    0,    0,   0,     0,     0}},
    {"ModeHorizontalLayout2",          {0,   0,    0,    0,   0,     0,     1}},
    {"ModeHorizontalLayout3",          {0,   0,    0,    0,   0,     0,     1}},
    {"ModeHorizontalLayout4",          {0,   0,    0,    0,   0,     0,     kByModel}},
    {"ModeHorizontalLayout5",          {0,   0,    0,    0,   0,     0,     kByModel}},
    {"ModeHorizontalLayout6",          {0,   0,    0,    0,   0,     0,     kByModel}},
    {"ModeHorizontalLayout7",          {0,   0,    0,    0,   0,     0,     kByModel}},
    {"ModeHorizontalLayout8",          {0,   0,    0,    0,   0,     0,     kByModel}},
    {"ModeLayout1.1",                  {0,   0,    0,    0,   1,     0,     0}},
    {"ModeLayout1.2",                  {0,   0,    0,    0,   1,     1,     0}},
    {"ServerTab",                      {1,   1,    1,    0,   0,     0,     1}},
    {"IOTab",                          {1,   1,    1,    0,   0,     0,     1}},
    {"WirelessTab",                    {1,   1,    1,    0,   0,     0,     1}},
    {"GlobalTab",                      {1,   1,    1,    0,   1,     1,     1}},
    {"EquimentTab",                    {1,   1,    1,    0,   1,     1,     1}},
    {"DtumanageGroupBox",              {1,   1,    1,    1,   0,     0,     1}},
    {"bindingCenterGroupBox",          {1,   1,    1,    1,   0,     1,     kByModel}},
    {"bindingCenterGroupBox2",         {1,   1,    1,    1,   0,     1,     kByModel}},
    {"bindingCenterGroupBox3",         {1,   1,    1,    1,   0,     1,     kByModel}},
    {"ActivateGroupBox",               {1,   1,    1,    0,   0,     0,     1}},
    {"ServiceGroupBox",                {1,   1,    1,    1,   1,     1,     kByModel}},
};

// CUST's heights come from the device model.
constexpr Heights kModeHeights[kModeCount] = {
    // PROT     DCUDP     DCTCP     TRNS      SMSCLI    SMSSER    CUST
    {110, 110}, {85, 110}, {85, 110}, {60, 110}, {185, 85}, {85, 110}, {0, 0},
};
constexpr Heights kNoModeHeights = {60, 110};

// Under CUST, by "DeviceModel": index 0 is CLI, any other SVR.
struct ModelRow {
    const char* layout;
    Cell cli;
    Cell svr;
};
constexpr ModelRow kModelRows[] = {
    //                          CLI       SVR
    {"ModeHorizontalLayout4",   1,        0},
    {"ModeHorizontalLayout5",   0,        1},
    {"ModeHorizontalLayout6",   kByHeart, 0},
    {"ModeHorizontalLayout7",   kByHeart, 0},
    {"ModeHorizontalLayout8",   kByHeart, 0},
    // A client has serial ports bound to its centres: coming back from SVR, the user expects
    // the binding-centre settings that SVR took away.
    {"bindingCenterGroupBox",   1,        0},
    {"bindingCenterGroupBox2",  1,        0},
    {"bindingCenterGroupBox3",  1,        0},
    {"ServiceGroupBox",         1,        0},
};
constexpr Heights kSvrHeights = {110, 85};

// Under CUST and CLI, by "RegistrationAndHeart": index 1 sends registration and heartbeat.
struct HeartRow {
    const char* layout;
    Cell index1;
    Cell other;
};
constexpr HeartRow kHeartRows[] = {
    //                         index 1  other
    {"ModeHorizontalLayout6",  0,       0},
    {"ModeHorizontalLayout7",  1,       0},
    {"ModeHorizontalLayout8",  1,       0},
};
constexpr Heights kHeartHeights = {185, 110};
constexpr Heights kNoHeartHeights = {110, 110};

constexpr const char* kSerialBoxes[] = {"serialGroupbox", "serial2Groupbox", "serial3Groupbox"};
// clang-format on

// CUST's device-model part; false when a control it reads is missing (no heights then).
bool ApplyDeviceModel(FormContext& form, Heights& heights) {
    auto* model = FindAs<CComboUI>(form, "DeviceModel");
    if (!model) return false;
    const bool cli = model->GetCurSel() == 0;
    for (const ModelRow& row : kModelRows) ApplyCell(form, row.layout, cli ? row.cli : row.svr);
    if (!cli) {
        heights = kSvrHeights;
        return true;
    }
    auto* heart = FindAs<CComboUI>(form, "RegistrationAndHeart");
    if (!heart) return false;
    const bool sendsHeart = heart->GetCurSel() == 1;
    for (const HeartRow& row : kHeartRows)
        ApplyCell(form, row.layout, sendsHeart ? row.index1 : row.other);
    heights = sendsHeart ? kHeartHeights : kNoHeartHeights;
    return true;
}

}  // namespace

void ApplyWorkModeRule(FormContext& form, int, LPARAM) {
    auto* protocol = FindAs<CComboUI>(form, "Protocolmodel");
    if (!protocol) return;
    const int mode = protocol->GetCurSel();
    Heights heights = kNoModeHeights;
    if (mode >= 0 && mode < kModeCount) {
        for (const ModeRow& row : kModeRows)
            ApplyCell(form, row.layout, row.byMode[static_cast<std::size_t>(mode)]);
        heights = kModeHeights[mode];
        if (mode == kCust && !ApplyDeviceModel(form, heights)) return;
    }
    // Each box on its own: one the skin lacks does not keep the others at their old height.
    WriteHeight(form, "ModeGroupBox", heights.mode);
    for (const char* box : kSerialBoxes) WriteHeight(form, box, heights.serial);
}

std::string WorkModeHider(FormContext& form, std::string_view layout) {
    auto* protocol = FindAs<CComboUI>(form, "Protocolmodel");
    const int mode = protocol ? protocol->GetCurSel() : -1;
    if (mode < 0 || mode >= kModeCount) return {};
    for (const ModeRow& row : kModeRows) {
        if (layout != row.layout) continue;
        const Cell cell = row.byMode[static_cast<std::size_t>(mode)];
        if (cell == 0) return "Protocolmodel";
        auto* model = FindAs<CComboUI>(form, "DeviceModel");
        if (cell != kByModel || !model) return {};
        const bool cli = model->GetCurSel() == 0;
        for (const ModelRow& byModel : kModelRows) {
            if (layout != byModel.layout) continue;
            const Cell modelCell = cli ? byModel.cli : byModel.svr;
            if (modelCell == 0) return "DeviceModel";
            auto* heart = FindAs<CComboUI>(form, "RegistrationAndHeart");
            if (modelCell != kByHeart || !heart) return {};
            for (const HeartRow& byHeart : kHeartRows) {
                const Cell heartCell = heart->GetCurSel() == 1 ? byHeart.index1 : byHeart.other;
                if (layout == byHeart.layout && heartCell == 0) return "RegistrationAndHeart";
            }
        }
        return {};
    }
    return {};
}
