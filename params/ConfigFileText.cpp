#include "params/ConfigFileText.h"

namespace {
constexpr char kCtrlZ = 26;
}  // namespace

std::string EncodeConfigText(std::string_view answer) {
    std::string bytes;
    bytes.reserve(answer.size() + answer.size() / 16);
    for (char c : answer) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return bytes;
}

std::string DecodeConfigText(std::string_view fileBytes, std::size_t limit) {
    std::string text;
    for (std::size_t i = 0; i < fileBytes.size() && text.size() < limit; ++i) {
        const char c = fileBytes[i];
        if (c == kCtrlZ) break;
        // Zero bytes are kept as data: the parser ends the text at the first one.
        if (c == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n') continue;
        text += c;
    }
    return text;
}
