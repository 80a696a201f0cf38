#include "settings/IniFile.h"

#include "settings/AtomicFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <vector>

namespace ini {
namespace {

namespace fs = std::filesystem;

struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n" or empty for a last line without one
};

enum class LineType { Other, Comment, Section, Key };

struct Parsed {
    LineType type = LineType::Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key lines only, trimmed
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

Parsed ParseLine(std::string_view text) {
    const std::string_view t = Trim(text);
    if (t.empty()) return {};
    if (t.front() == ';') return {LineType::Comment, {}, {}};
    if (t.front() == '[') {
        std::string_view name = t.substr(1);
        name = name.substr(0, name.find(']'));
        return {LineType::Section, Trim(name), {}};
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return {};
    return {LineType::Key, Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// A UTF-8 byte order mark left by an editor is not part of the first line's name.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view StripByteOrderMark(std::string_view content) {
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        content.remove_prefix(kByteOrderMark.size());
    }
    return content;
}

std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
    while (!content.empty()) {
        const std::size_t lf = content.find('\n');
        std::string_view text = content.substr(0, lf);
        std::string_view end;
        if (lf != std::string_view::npos) {
            end = "\n";
            if (!text.empty() && text.back() == '\r') {
                text.remove_suffix(1);
                end = "\r\n";
            }
            content.remove_prefix(lf + 1);
        } else {
            content = {};
        }
        lines.push_back({std::string(text), std::string(end)});
    }
    return lines;
}

bool ReadFile(const std::string& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return false;
    content = std::move(bytes).str();
    return true;
}

// Index of the first line of the first [section], or lines.size() when there is none.
std::size_t FindSection(const std::vector<Line>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = ParseLine(lines[i].text);
        if (p.type == LineType::Section && SameName(p.name, section)) return i;
    }
    return lines.size();
}

std::string Limit(std::string_view text, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    return std::string(text.substr(0, bufferSize - 1));
}

bool HasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

std::string GetString(const std::string& section, const std::string& key, const std::string& def,
                      std::size_t bufferSize, const std::string& path) {
    std::string content;
    if (!ReadFile(path, content)) return Limit(def, bufferSize);
    return GetStringFromText(content, section, key, def, bufferSize);
}

std::string GetStringFromText(std::string_view content, const std::string& section,
                              const std::string& key, const std::string& def,
                              std::size_t bufferSize) {
    const std::vector<Line> lines = SplitLines(StripByteOrderMark(content));
    for (std::size_t i = FindSection(lines, Trim(section)) + 1; i < lines.size(); ++i) {
        const Parsed p = ParseLine(lines[i].text);
        if (p.type == LineType::Section) break;
        if (p.type == LineType::Key && SameName(p.name, Trim(key))) {
            return Limit(Unquote(p.value), bufferSize);
        }
    }
    return Limit(def, bufferSize);
}

bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                 const std::string& path) {
    // Such names or values could not be read back as written and would break the file's lines.
    if (Trim(section).empty() || Trim(key).empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || section.find(']') != std::string::npos ||
        key.find('=') != std::string::npos) {
        return false;
    }
    std::string content;
    std::error_code error;
    if (fs::exists(path, error) && !ReadFile(path, content)) return false;
    if (error) return false;

    const std::string_view body = StripByteOrderMark(content);
    const std::string_view byteOrderMark(content.data(), content.size() - body.size());
    std::vector<Line> lines = SplitLines(body);
    // New lines follow the file's own line ends.
    std::string newline = "\n";
    for (const Line& line : lines) {
        if (!line.end.empty()) {
            newline = line.end;
            break;
        }
    }
    const std::string keyLine = std::string(Trim(key)) + "=" + value;

    const std::size_t sectionLine = FindSection(lines, Trim(section));
    if (sectionLine == lines.size()) {
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = newline;
        lines.push_back({"[" + std::string(Trim(section)) + "]", newline});
        lines.push_back({keyLine, newline});
    } else {
        std::size_t lastFilled = sectionLine;
        std::size_t keyAt = lines.size();
        for (std::size_t i = sectionLine + 1; i < lines.size(); ++i) {
            const Parsed p = ParseLine(lines[i].text);
            if (p.type == LineType::Section) break;
            if (!Trim(lines[i].text).empty()) lastFilled = i;
            if (p.type == LineType::Key && SameName(p.name, Trim(key))) {
                keyAt = i;
                break;
            }
        }
        if (keyAt != lines.size()) {
            lines[keyAt].text = keyLine;
        } else {
            // Added after the section's last line, before the blank lines that part it from the
            // next section.
            if (lines[lastFilled].end.empty()) lines[lastFilled].end = newline;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastFilled + 1),
                         {keyLine, newline});
        }
    }

    std::string output(byteOrderMark);
    for (const Line& line : lines) output += line.text + line.end;
    return ReplaceFileContents(path, output, nullptr);
}

}  // namespace ini
