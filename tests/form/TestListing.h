#pragma once
// A unit's AT+SHOW listing made from the parameter table, with values the test skin's lists
// can show and write back unchanged.
#include <map>
#include <set>
#include <string>

#include "params/DeviceAnswer.h"
#include "params/ParameterTable.h"

namespace formtest {

// Values for the lists of the test skin (FormFixture.h) that its items represent exactly.
inline const std::map<std::string, std::string>& ShowableListValues() {
    static const std::map<std::string, std::string> values = {
        {"Protocolmodel", "TRNS"},
        {"EXFUN", "3"},
        {"net mode", "5"},
        {"DeviceModel", "SVR"},
        {"Serial Baudrate", "57600"},
        {"LORA typ", "2"},
        {"LORA Rate", "2"},
        {"LORA Mode", "1"},
        {"ActivateMethod", "DATA"},
        {"A serial port binding center", "8"},
        {"DIO1 workmode", "3"},
        {"DIO2 workmode", "1"},
        {"DIO3 workmode", "6"},
        {"DIO2 and mapping center", "6"},
        {"ZigBee_RFchannel", "12"},
        {"Debugging  port", "2"},
        {"LCP ECHO", "1"},
        {"EL transmit channel", "3"},
        {"Device Type", "M5Z30-L"},
        {"LORA ver", "L1.0"},
    };
    return values;
}

// One labelled line per parameter, the anchor first; `overrides` replace chosen values. Text
// fields get "v<n>" unless overridden.
inline std::string MakeListing(const ParameterTable& table,
                               const std::map<std::string, std::string>& overrides = {}) {
    auto valueOf = [&](const std::string& name, const ParameterEntry& entry, int n) {
        if (auto it = overrides.find(name); it != overrides.end()) return it->second;
        if (auto it = ShowableListValues().find(name); it != ShowableListValues().end()) {
            return it->second;
        }
        return entry.kind == ControlKind::Edit ? std::string("v").append(std::to_string(n))
                                               : std::string("0");
    };
    const ParameterEntry& apn = *table.FindParameter("Access Point Name");
    std::string listing("\r\nAT+SHOW\r\n");
    listing.append(apn.responseLabel).append(valueOf("Access Point Name", apn, 0));
    std::set<std::string> emitted;
    int n = 1;
    for (const auto& [name, entry] : table) {
        if (entry.responseLabel.empty() || name == "Access Point Name") continue;
        const std::string label = entry.responseLabel.rfind("\r\n", 0) == 0
                                      ? entry.responseLabel
                                      : std::string("\r\n").append(entry.responseLabel);
        if (!emitted.insert(label).second) continue;
        listing += label + valueOf(name, entry, n++);
    }
    return listing + "\r\nOK\r\n";
}

}  // namespace formtest
