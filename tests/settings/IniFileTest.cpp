#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "tests/support/TestPaths.h"

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(IniFile, GetStringFollowsTheProfileRules) {
    const std::string v199(199, 'v');
    const std::string v250 = std::string(199, 'w') + std::string(51, 'z');
    struct Case {
        const char* what;
        std::optional<std::string> file;  // none: no file at all
        const char* section;
        const char* key;
        std::size_t bufferSize;
        std::string expected;
    };
    const Case cases[] = {
        {"plain", "[Set]\nLanguage=1\n", "Set", "Language", 20, "1"},
        {"names ignore case", "[sET]\nLANGUAGE=2\n", "Set", "language", 20, "2"},
        {"CR LF line ends", "[Set]\r\nLanguage=abc\r\n", "Set", "Language", 20, "abc"},
        {"blanks around names and values", "  [ Set ] \n  Language\t=  1 2  \n", "Set", "Language",
         20, "1 2"},
        {"requested names are trimmed too", "[Set]\nLanguage=1\n", " Set ", " Language ", 20, "1"},
        {"empty value is not the default", "[Set]\nLanguage=\n", "Set", "Language", 20, ""},
        {"no last line end", "[Set]\nLanguage=7", "Set", "Language", 20, "7"},
        {"'=' inside the value", "[Set]\nKey=a=b\n", "Set", "Key", 20, "a=b"},
        {"double quotes removed", "[Set]\nKey=\"  x=1  \"\n", "Set", "Key", 20, "  x=1  "},
        {"an unmatched quote stays", "[Set]\nKey=\"x\n", "Set", "Key", 20, "\"x"},
        {"comment lines ignored", "[Set]\n;Language=1\nLanguage=2\n", "Set", "Language", 20, "2"},
        {"first key wins", "[Set]\nLanguage=1\nLanguage=2\n", "Set", "Language", 20, "1"},
        {"first section wins", "[Set]\nLanguage=1\n[Set]\nLanguage=2\n", "Set", "Language", 20,
         "1"},
        {"key of another section", "[Other]\nLanguage=1\n[Set]\nX=2\n", "Set", "Language", 20,
         "def"},
        {"key before any section", "Language=1\n[Set]\n", "Set", "Language", 20, "def"},
        {"missing section", "[Other]\nLanguage=1\n", "Set", "Language", 20, "def"},
        {"missing key", "[Set]\nX=1\n", "Set", "Language", 20, "def"},
        {"missing file", std::nullopt, "Set", "Language", 20, "def"},
        {"byte order mark", "\xEF\xBB\xBF[Set]\nLanguage=1\n", "Set", "Language", 20, "1"},
        {"199 bytes fit a 200-byte buffer", "[L]\nK=" + v199 + "\n", "L", "K", 200, v199},
        {"longer cut to 199", "[L]\nK=" + v250 + "\n", "L", "K", 200, std::string(199, 'w')},
        {"the default obeys the buffer too", "", "L", "K", 3, "de"},
        {"a one-byte buffer holds only the zero", "[L]\nK=x\n", "L", "K", 1, ""},
        {"no buffer", "[L]\nK=x\n", "L", "K", 0, ""},
    };
    const std::string dir = testpaths::TempDir();
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir + "/read" + std::to_string(n++) + ".ini";
        if (c.file) WriteBytes(path, *c.file);
        EXPECT_EQ(ini::GetString(c.section, c.key, "def", c.bufferSize, path), c.expected);
    }
}

TEST(IniFile, WriteStringKeepsTheRestOfTheFile) {
    struct Case {
        const char* what;
        std::optional<std::string> before;  // none: no file yet
        const char* section;
        const char* key;
        const char* value;
        bool ok;
        std::string after;  // the file's bytes afterwards (unchanged when !ok)
    };
    const Case cases[] = {
        {"creates the file", std::nullopt, "Set", "Language", "1", true, "[Set]\nLanguage=1\n"},
        {"replaces the value, keeps comments and sections",
         "; settings\r\n[Other]\r\nA=1\r\n\r\n[Set]\r\nLanguage=0\r\nB=2\r\n", "Set", "Language",
         "2", true, "; settings\r\n[Other]\r\nA=1\r\n\r\n[Set]\r\nLanguage=2\r\nB=2\r\n"},
        {"names match without case", "[SET]\nlanguage=0\n", "Set", "Language", "abc", true,
         "[SET]\nLanguage=abc\n"},
        {"new key at the end of its section", "[Set]\nA=1\n\n[Other]\nB=2\n", "Set", "Language",
         "1", true, "[Set]\nA=1\nLanguage=1\n\n[Other]\nB=2\n"},
        {"new section after a last line without end", "[Other]\nB=2", "Set", "Language", "", true,
         "[Other]\nB=2\n[Set]\nLanguage=\n"},
        {"value with '='", "[Set]\n", "Set", "Key", "a=b", true, "[Set]\nKey=a=b\n"},
        {"byte order mark kept", "\xEF\xBB\xBF[Set]\nLanguage=0\n", "Set", "Language", "1", true,
         "\xEF\xBB\xBF[Set]\nLanguage=1\n"},
        {"line end in the value refused", "[Set]\nLanguage=0\n", "Set", "Language", "1\n2", false,
         "[Set]\nLanguage=0\n"},
        {"'=' in the key refused", "[Set]\n", "Set", "a=b", "1", false, "[Set]\n"},
        {"empty section refused", "[Set]\n", " ", "Language", "1", false, "[Set]\n"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = testpaths::TempDir();
        const std::string path = dir + "/config" + std::to_string(n++) + ".ini";
        if (c.before) WriteBytes(path, *c.before);
        EXPECT_EQ(ini::WriteString(c.section, c.key, c.value, path), c.ok);
        EXPECT_EQ(ReadBytes(path), c.after);
        if (c.ok) {
            EXPECT_EQ(ini::GetString(c.section, c.key, "def", 200, path), c.value);
        }
        // No temporary file is left beside the file.
        const auto entries = std::filesystem::directory_iterator(dir);
        EXPECT_EQ(std::distance(begin(entries), end(entries)), c.before || c.ok ? 1 : 0);
    }
}

TEST(IniFile, WriteStringFailsWhereNoFileCanBeMade) {
    const std::string path = testpaths::TempDir() + "/missing/config.ini";
    EXPECT_FALSE(ini::WriteString("Set", "Language", "1", path));
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
