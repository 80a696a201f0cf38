// Rule 3: the number of servers decides the server address rows, the server titles and the
// heights of the two server group boxes. No servers at all is only for K3V61 devices.
#include <array>
#include <string_view>

#include "form/RuleSupport.h"
#include "settings/Labels.h"
#include "ui/Dialogs.h"

namespace {

constexpr int kCountColumns = 6;  // "0" to "5"
constexpr std::string_view kCounts[kCountColumns] = {"0", "1", "2", "3", "4", "5"};

struct ServerRow {
    const char* layout;
    std::array<Cell, kCountColumns> byCount;
};

struct ServerLabels {
    const char* title;  // [ModeTabItemChange] key for "ServerTitle"
    const char* label;  // [ModeTabItemChange] key for "Server's Label"
};

struct ServerHeights {
    int service;   // "ServiceGroupBox"
    int service2;  // "ServiceGroupBox2"
};

// clang-format off
constexpr ServerRow kServerRows[] = {
    //                              "0" "1" "2" "3" "4" "5"
    {"ServiceHorizontalLayout0",   {0,  1,  1,  1,  1,  1}},
    {"ServiceHorizontalLayout1",   {0,  1,  0,  0,  0,  0}},
    {"ServiceHorizontalLayout2",   {0,  0,  1,  1,  1,  1}},
    {"ServiceHorizontalLayout3",   {0,  0,  0,  1,  1,  1}},
    {"ServiceHorizontalLayout4",   {0,  0,  0,  0,  1,  1}},
    {"ServiceHorizontalLayout5",   {0,  0,  0,  0,  0,  1}},
    {"ServiceHorizontalLayout6",   {1,  1,  0,  0,  0,  0}},
};

constexpr ServerLabels kOneServer = {"ServerTitle1", "Server's Label1"};
constexpr ServerLabels kManyServers = {"ServerTitle2", "Server's Label2"};
constexpr ServerLabels kLabelsByCount[kCountColumns] = {
    kOneServer, kOneServer, kManyServers, kManyServers, kManyServers, kManyServers};

constexpr ServerHeights kHeightsByCount[kCountColumns] = {
    // "0"      "1"        "2"        "3"        "4"        "5"
    {60, 110}, {110, 110}, {110, 85}, {135, 85}, {160, 85}, {185, 85}};
constexpr ServerHeights kNoCountHeights = {60, 110};
// clang-format on

constexpr std::string_view kServerlessModel = "K3V61";
constexpr int kOneServerItem = 1;

int CountColumn(const CStdString& text) {
    for (int i = 0; i < kCountColumns; ++i) {
        if (text == kCounts[i]) return i;
    }
    return -1;
}

}  // namespace

void ApplyServerCountRule(FormContext& form, int, LPARAM) {
    auto* count = FindAs<CComboUI>(form, "ThePPPauthentication");
    CControlUI* title = form.paintManager.FindControl("ServerTitle");
    CControlUI* label = form.paintManager.FindControl("Server's Label");
    if (!count || !title || !label) return;

    const int column = CountColumn(count->GetText());
    if (column == 0 &&
        form.parameterTable.ParameterAt("Device Type").value.find(kServerlessModel) ==
            std::string::npos) {
        ui::MessageBox(LabelText("Notify", "ServerCount"), ProgramTitle(), MB_OK);
        // The new selection raises itemselect, which brings this rule back with one server.
        count->SelectItem(kOneServerItem);
        return;
    }

    ServerHeights heights = kNoCountHeights;
    if (column >= 0) {
        for (const ServerRow& row : kServerRows)
            ApplyCell(form, row.layout, row.byCount[static_cast<std::size_t>(column)]);
        title->SetText(LabelText("ModeTabItemChange", kLabelsByCount[column].title));
        label->SetText(LabelText("ModeTabItemChange", kLabelsByCount[column].label));
        heights = kHeightsByCount[column];
    }
    if (!WriteHeight(form, "ServiceGroupBox", heights.service)) return;
    WriteHeight(form, "ServiceGroupBox2", heights.service2);
}

std::string ServerCountHider(FormContext& form, std::string_view layout) {
    auto* count = FindAs<CComboUI>(form, "ThePPPauthentication");
    const int column = count ? CountColumn(count->GetText()) : -1;
    if (column < 0) return {};
    for (const ServerRow& row : kServerRows) {
        if (layout == row.layout && row.byCount[static_cast<std::size_t>(column)] == 0)
            return "ThePPPauthentication";
    }
    return {};
}
