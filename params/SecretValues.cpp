#include "params/SecretValues.h"

#include <algorithm>
#include <vector>

namespace {

// The command words that write a password of the unit.
constexpr std::string_view kSecretCommands[] = {
    "AT+PASSWORD",  // PPP authentication
    "AT+DONPSWD",   // data daemon PPP on
    "AT+DOFFPSWD",  // data daemon PPP off
    "AT+SMSDPSWD",  // SMS daemon
    "AT+SMSCPW",    // SMS configuration
};

// Masks from each occurrence of marker to the end of its line.
void MaskAfter(std::string& text, std::string_view marker) {
    if (marker.empty()) return;
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at)) {
        const std::size_t start = at + marker.size();
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (end > start) text.replace(start, end - start, kMaskedValue);
        at = start;
    }
}

}  // namespace

bool IsSecretCommand(std::string_view atCommand) {
    return std::find(std::begin(kSecretCommands), std::end(kSecretCommands), atCommand) !=
           std::end(kSecretCommands);
}

bool IsSecretParameter(std::string_view name) {
    static const ParameterTable table = [] {
        ParameterTable built;
        BuildParameterTable(built);
        return built;
    }();
    const ParameterEntry* entry = table.FindParameter(name);
    return entry && IsSecretCommand(entry->atCommand);
}

std::string_view ShownValue(std::string_view name, std::string_view value) {
    return !value.empty() && IsSecretParameter(name) ? kMaskedValue : value;
}

std::string MaskSecretValues(std::string_view text, const ParameterTable& table) {
    std::vector<std::string> markers;
    for (std::string_view command : kSecretCommands) markers.push_back(std::string(command) + "=");
    for (const auto& [name, entry] : table) {
        if (!IsSecretCommand(entry.atCommand)) continue;
        // The listing's label without the line end that introduces it.
        const std::size_t first = entry.responseLabel.find_first_not_of("\r\n");
        if (first != std::string::npos) markers.push_back(entry.responseLabel.substr(first));
    }
    std::string masked(text);
    for (const std::string& marker : markers) MaskAfter(masked, marker);
    return masked;
}
