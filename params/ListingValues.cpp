#include "params/ListingValues.h"

#include <set>

#include "params/DeviceAnswer.h"
#include "params/ListingCheck.h"
#include "params/ParameterTable.h"

namespace {

constexpr std::size_t kMaxUnitNameBytes = 100;

bool IsFileSafe(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.';
}

}  // namespace

std::map<std::string, std::string> ListingValues(const std::string& listing) {
    ParameterTable table;
    BuildParameterTable(table);
    const std::set<std::string> listed = ParametersInListing(table, listing);
    ParseDeviceAnswer(table, listing.data(), static_cast<int>(listing.size()));
    std::map<std::string, std::string> values;
    std::set<std::string> labels;
    for (const std::string& name : listed) {
        const ParameterEntry& entry = table.ParameterAt(name);
        if (labels.insert(entry.responseLabel).second) values[name] = entry.value;
    }
    return values;
}

std::vector<ValueDifference> DifferingValues(const std::string& before, const std::string& after) {
    const std::map<std::string, std::string> a = ListingValues(before);
    const std::map<std::string, std::string> b = ListingValues(after);
    std::vector<ValueDifference> differences;
    for (const auto& [name, value] : a) {
        const auto it = b.find(name);
        if (it != b.end() && it->second != value) differences.push_back({name, value, it->second});
    }
    return differences;
}

std::string UnitNameOfListing(const std::string& listing) {
    const std::map<std::string, std::string> values = ListingValues(listing);
    const auto valueOf = [&values](const char* name) {
        const auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    };
    const std::string type = valueOf("Device Type");
    const std::string id = valueOf("Modem'sID number");
    if (type.empty() && id.empty()) return "unknown";
    std::string name = type + "_" + id;
    if (name.size() > kMaxUnitNameBytes) name.resize(kMaxUnitNameBytes);
    for (char& c : name) {
        if (!IsFileSafe(c)) c = '_';
    }
    return name;
}
