#include "params/ListingCheck.h"

#include <algorithm>
#include <map>

#include "params/DeviceAnswer.h"
#include "params/ParameterTable.h"

namespace {

constexpr char kCtrlZ = 26;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kClosingLine = "OK";

// The table's labels as a line starts with them (without the line end some carry), longest
// first, so that a label is never taken for a shorter one it begins with.
std::vector<std::string> LineLabels(const ParameterTable& table) {
    std::vector<std::string> labels;
    for (const auto& [name, entry] : table) {
        std::string_view label = entry.responseLabel;
        while (!label.empty() && (label.front() == '\r' || label.front() == '\n')) {
            label.remove_prefix(1);
        }
        if (!label.empty()) labels.emplace_back(label);
    }
    std::sort(labels.begin(), labels.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() > b.size() : a < b;
    });
    labels.erase(std::unique(labels.begin(), labels.end()), labels.end());
    return labels;
}

const std::string* LabelStarting(std::string_view line, const std::vector<std::string>& labels) {
    for (const std::string& label : labels) {
        if (line.substr(0, label.size()) == label) return &label;
    }
    return nullptr;
}

void AddOnce(std::vector<std::string>& names, const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

}  // namespace

std::string DecodeListingFile(std::string_view fileBytes, std::size_t limit) {
    std::string text;
    text.reserve(std::min(fileBytes.size(), limit));
    for (std::size_t i = 0; i < fileBytes.size() && text.size() < limit; ++i) {
        const char c = fileBytes[i];
        if (c == kCtrlZ || c == '\0') break;
        if (c == '\r') {
            std::size_t next = i;
            while (next < fileBytes.size() && fileBytes[next] == '\r') ++next;
            if (next < fileBytes.size() && fileBytes[next] == '\n') {
                // CR CR LF, CR LF: one line end, however many CRs a writer put before its LF.
                if (text.size() + kLineEnd.size() > limit) break;
                text += kLineEnd;
                i = next;
                continue;
            }
        } else if (c == '\n') {
            if (text.size() + kLineEnd.size() > limit) break;
            text += kLineEnd;
            continue;
        }
        text += c;
    }
    return text;
}

ListingCheck CheckListing(std::string text, const ParameterTable& table) {
    ListingCheck check;
    check.text = std::move(text);
    const std::string_view all = check.text;
    if (all.empty()) {
        check.refusal = ListingRefusal::Empty;
        return check;
    }
    const std::size_t anchor = all.find(kListingAnchor);
    if (anchor == std::string_view::npos) {
        check.refusal = ListingRefusal::NoAnchor;
        return check;
    }
    const std::vector<std::string> labels = LineLabels(table);

    // Above the anchor's line: the echo, the unit's heading; a parameter there is never read.
    const std::size_t lineEndAbove = all.rfind('\n', anchor);
    const std::size_t anchorLine = lineEndAbove == std::string_view::npos ? 0 : lineEndAbove + 1;
    for (std::size_t start = 0; start < anchorLine;) {
        const std::size_t end = all.find(kLineEnd, start);
        const std::size_t stop =
            end == std::string_view::npos || end > anchorLine ? anchorLine : end;
        if (const std::string* label = LabelStarting(all.substr(start, stop - start), labels)) {
            AddOnce(check.labelsAboveAnchor, *label);
        }
        start = stop + kLineEnd.size();
    }

    // From the anchor on, line by line, up to the closing OK; what follows it is no listing.
    std::map<std::string_view, int> seen;
    for (std::size_t start = anchor; start < all.size();) {
        const std::size_t end = all.find(kLineEnd, start);
        const std::string_view line =
            all.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (line == kClosingLine) {
            check.closed = true;
            check.text.resize(end == std::string_view::npos ? all.size() : end + kLineEnd.size());
            break;
        }
        // A last line without its line end was cut: readers take no value from it.
        if (end == std::string_view::npos) break;
        if (const std::string* label = LabelStarting(line, labels)) {
            if (++seen[*label] == 2) check.labelsTwice.push_back(*label);
        }
        start = end + kLineEnd.size();
    }
    check.values = static_cast<int>(seen.size());

    if (check.values == 0) {
        check.refusal = ListingRefusal::NoValues;
    } else if (!check.labelsTwice.empty()) {
        check.refusal = ListingRefusal::LabelsTwice;
    } else if (!check.labelsAboveAnchor.empty()) {
        check.refusal = ListingRefusal::ValuesAboveAnchor;
    }
    return check;
}

ListingCheck ReadListingFile(std::string_view fileBytes, const ParameterTable& table) {
    return CheckListing(DecodeListingFile(fileBytes), table);
}

std::set<std::string> ParametersInListing(const ParameterTable& table, std::string_view listing) {
    // Longer than any value the parser takes, so an entry still holding it got nothing.
    const std::string notInListing(kMaxValueChars + 1, '\0');
    ParameterTable probe = table;
    for (auto& [name, entry] : probe) entry.value = notInListing;
    ParseDeviceAnswer(probe, listing.data(), static_cast<int>(listing.size()));
    std::set<std::string> held;
    for (const auto& [name, entry] : probe) {
        if (entry.value != notInListing) held.insert(name);
    }
    return held;
}

std::string ListingRefusalText(const ListingCheck& check) {
    const auto quoted = [](const std::vector<std::string>& labels) {
        std::string text;
        for (const std::string& label : labels) {
            text += (text.empty() ? "\"" : ", \"") + label + "\"";
        }
        return text;
    };
    switch (check.refusal) {
        case ListingRefusal::None:
            return {};
        case ListingRefusal::Empty:
            return "it is empty";
        case ListingRefusal::NoAnchor:
            return "it is not a listing of a unit: it has no line \"" +
                   std::string(kListingAnchor) + "\"";
        case ListingRefusal::NoValues:
            return "it is not a listing of a unit: it holds no parameter";
        case ListingRefusal::LabelsTwice:
            return "it gives " + quoted(check.labelsTwice) +
                   " on more than one line, so which value is meant is unknown";
        case ListingRefusal::ValuesAboveAnchor:
            return "it gives " + quoted(check.labelsAboveAnchor) + " above \"" +
                   std::string(kListingAnchor) + "\", where no value is read";
    }
    return {};
}
