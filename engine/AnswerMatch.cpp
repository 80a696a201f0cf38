#include "engine/AnswerMatch.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kErrorPrefixes[] = {"+CME ERROR:", "+CMS ERROR:"};

bool AtLineStart(std::string_view text, std::size_t pos) {
    return pos == 0 || text[pos - 1] == '\n';
}

// word at the start of a line and directly followed by the line end.
bool HasWholeLine(std::string_view text, std::string_view word) {
    for (std::size_t pos = text.find(word); pos != std::string_view::npos;
         pos = text.find(word, pos + 1)) {
        if (AtLineStart(text, pos) && text.substr(pos + word.size(), kLineEnd.size()) == kLineEnd)
            return true;
    }
    return false;
}

// A complete line (its "\r\n" has arrived) that starts with prefix.
bool HasLineStarting(std::string_view text, std::string_view prefix) {
    for (std::size_t pos = text.find(prefix); pos != std::string_view::npos;
         pos = text.find(prefix, pos + 1)) {
        if (!AtLineStart(text, pos)) continue;
        const std::size_t end = text.find('\n', pos + prefix.size());
        if (end != std::string_view::npos && text[end - 1] == '\r') return true;
    }
    return false;
}

}  // namespace

bool HasOkLine(std::string_view text) {
    return HasWholeLine(text, "OK");
}

bool HasErrorLine(std::string_view text) {
    if (HasWholeLine(text, "ERROR")) return true;
    for (std::string_view prefix : kErrorPrefixes) {
        if (HasLineStarting(text, prefix)) return true;
    }
    return false;
}

bool HasMarker(std::string_view text, std::string_view marker) {
    return text.find(marker) != std::string_view::npos;
}
