#include "form/FindParameter.h"

#include <algorithm>
#include <cctype>
#include <tuple>
#include <utility>

#include "form/HiddenReason.h"
#include "form/TabStrip.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"

namespace {

constexpr std::string_view kCommandPrefix = "at+";

std::string Lower(std::string_view text) {
    std::string lower(text);
    // Bytes of multi-byte UTF-8 characters are above 127 and stay as they are.
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Where the lowered part begins in the text, or npos.
std::size_t Where(std::string_view text, std::string_view lowerPart) {
    return text.empty() ? std::string::npos : Lower(text).find(lowerPart);
}

// Sets how the part matches, best first; false when it does not.
bool Match(FindMatch& m, std::string_view part) {
    std::string_view word = m.command;
    std::string_view wanted = part;
    if (wanted.starts_with(kCommandPrefix)) {
        wanted.remove_prefix(kCommandPrefix.size());
    } else if (Lower(word).starts_with(kCommandPrefix)) {
        // "at" alone would name every command: only the word after "AT+" counts.
        word.remove_prefix(kCommandPrefix.size());
    }
    const std::pair<MatchedBy, std::size_t> tries[] = {
        {MatchedBy::Label, Where(m.label, part)},
        {MatchedBy::Name, Where(m.name, part)},
        {MatchedBy::Command, wanted.empty() ? std::string::npos : Where(word, wanted)},
    };
    for (const auto& [by, at] : tries) {
        if (at == std::string::npos) continue;
        m.by = by;
        m.atStart = at == 0;
        return true;
    }
    return false;
}

}  // namespace

std::vector<FindMatch> FindParameters(FormContext& form, std::string_view text, std::size_t limit) {
    const std::string part = Lower(Trimmed(text));
    std::vector<FindMatch> matches;
    if (part.empty()) return matches;
    for (const auto& [name, entry] : form.parameterTable) {
        CControlUI* control = form.paintManager.FindControl(name);
        if (!control) continue;
        FindMatch m;
        m.name = name;
        m.label = CaptionOf(*control);
        m.command = entry.atCommand;
        m.page = PageOfControl(*control);
        if (m.page < 0) continue;
        if (!Match(m, part)) continue;
        // Matched on the label as the row shows it; listed apart from its twins on the page.
        m.label = DistinctCaptionOf(*control);
        m.hiddenBecause = HiddenReason(form, *control, m.page);
        matches.push_back(std::move(m));
    }
    std::stable_sort(matches.begin(), matches.end(), [](const FindMatch& a, const FindMatch& b) {
        return std::tuple(a.by, !a.atStart, a.page) < std::tuple(b.by, !b.atStart, b.page);
    });
    if (matches.size() > limit) matches.resize(limit);
    return matches;
}

CControlUI* SwitchToMatch(FormContext& form, const FindMatch& match) {
    if (!match.hiddenBecause.empty()) return nullptr;
    CControlUI* control = form.paintManager.FindControl(match.name);
    if (!control || match.page < 0 || match.page >= kTabCount) return nullptr;
    const std::string option = TabOptionName(kTabButtonNames[static_cast<std::size_t>(match.page)]);
    // The strip's button shows the page as chosen, as a click on it would.
    if (auto* button = dynamic_cast<COptionUI*>(form.paintManager.FindControl(option)))
        button->Selected(true);
    if (!SelectPageForOption(form.paintManager, form.tabTable, option)) return nullptr;
    return control;
}
