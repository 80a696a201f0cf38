#pragma once
// The layout table: for every layout of the skin that governs parameters, which parameters
// take part in writing while it is shown, and for the group boxes with a cascade, the rule
// that fills them in once they are shown.
//
// Threads: the table is constant data; any thread may read it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kNoCascade = -1;

// What showing or hiding one layout does to the parameters' shown flags.
struct LayoutMarks {
    std::vector<std::string> markFirst;       // set to the new visibility
    int cascadeCode = kNoCascade;             // rule posted when the layout is shown
    std::vector<std::string> markWhenShown;   // set true after the rule is posted
    std::vector<std::string> markWhenHidden;  // set false when the layout is hidden
};

// The marks of a layout (exact, case-sensitive name), or nullopt when the table has none.
// Any thread.
std::optional<LayoutMarks> FindLayoutMarks(std::string_view layout);

// Every layout name the table holds, the DIO channels 2 and 3 included. Any thread.
std::vector<std::string> LayoutTableNames();

// A channel-1 DIO name turned into the same name of channel 1, 2 or 3: "IOLayout1." becomes
// "IOLayoutN.", "IO1GroupBox" "IONGroupBox" and "DIO1" "DION", except where the unit names a
// channel's parameter otherwise (channel 2's data format has no leading "1"). Any thread.
std::string DioChannelName(std::string_view channel1Name, int channel);
