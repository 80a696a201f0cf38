#include "tests/sim/SimTestSupport.h"

namespace simtest {

sim::UnitOptions FastOptions(sim::UnitVariant variant) {
    sim::UnitOptions options;
    options.variant = variant;
    options.baud = 4000000;
    options.start = sim::UnitStart::Configuration;
    options.inactivityTimeout = std::chrono::seconds(60);
    return options;
}

UnitOnLine::UnitOnLine(sim::UnitOptions options) : host(std::move(options)) {
    started = host.Start(&startError);
}

bool UnitOnLine::Ready(std::string* error) {
    if (!started) {
        *error = startError;
        return false;
    }
    return client.Open(host.DevicePath(), error);
}

std::string UnitOnLine::Command(std::string_view command, milliseconds limit) {
    client.Take();
    client.Write(command);
    client.ReadUntilMatch(
        [](const std::string& text) {
            return text.find(kOk) != std::string::npos || text.find(kError) != std::string::npos;
        },
        limit);
    return client.Take();
}

bool ProgramValue(std::string_view answer, std::string_view label, std::string* value) {
    const std::size_t anchor = answer.find("Access Point Name:");
    if (anchor == std::string_view::npos) return false;
    const std::string_view copy = answer.substr(anchor);
    const std::size_t at = copy.find(label);
    if (at == std::string_view::npos) return false;
    const std::size_t start = at + label.size();
    const std::size_t end = copy.find("\r\n", start);
    if (end == std::string_view::npos) return false;
    std::string_view raw = copy.substr(start, end - start);
    while (!raw.empty() && raw.front() == ' ') raw.remove_prefix(1);
    while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\r')) raw.remove_suffix(1);
    *value = std::string(raw);
    return true;
}

}  // namespace simtest
