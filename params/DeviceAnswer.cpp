#include "params/DeviceAnswer.h"

#include <cstring>

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The part of the answer that is parsed: from the anchor on, within the work-copy size.
std::string_view WorkCopy(const char* answer, int length) {
    if (answer == nullptr || length <= 0) return {};
    // A zero byte ends the text, as it would end the C string the listing is kept in; nothing
    // past length is ever looked at, zero byte or not.
    const std::size_t size = static_cast<std::size_t>(length);
    const void* zero = std::memchr(answer, '\0', size);
    const std::string_view text(answer, zero ? static_cast<const char*>(zero) - answer : size);
    const std::size_t anchor = text.find(kListingAnchor);
    if (anchor == std::string_view::npos) return {};
    return text.substr(anchor, kWorkCopyChars);
}

std::string_view TrimValue(std::string_view raw) {
    while (!raw.empty() && raw.front() == ' ') raw.remove_prefix(1);
    while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\r')) raw.remove_suffix(1);
    return raw;
}

}  // namespace

void ParseDeviceAnswer(ParameterTable& table, const char* answer, int length) {
    const std::string_view copy = WorkCopy(answer, length);
    if (copy.empty()) return;
    for (auto& [name, entry] : table) {
        // An empty label would "match" at the start of the copy and hand the entry whatever the
        // first line holds; such entries ("I/O selection", names added later) have no value there.
        if (entry.responseLabel.empty()) continue;
        const std::size_t label = copy.find(entry.responseLabel);
        if (label == std::string_view::npos) continue;
        const std::size_t start = label + entry.responseLabel.size();
        const std::size_t end = copy.find(kLineEnd, start);
        if (end == std::string_view::npos) continue;
        const std::string_view value = TrimValue(copy.substr(start, end - start));
        if (value.size() <= kMaxValueChars) entry.value = value;
    }
}
