#include "params/ConfigFileText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

// Each row is also read back: a saved listing must load as exactly the text that was saved.
TEST(ConfigFileText, EncodesLineFeedsAsCrLf) {
    struct Case {
        const char* what;
        std::string answer;
        std::string fileBytes;
    };
    const Case cases[] = {
        {"listing line ends become CR CR LF", "\r\nAccess Point Name:cmnet\r\nOK\r\n",
         "\r\r\nAccess Point Name:cmnet\r\r\nOK\r\r\n"},
        {"a bare LF", "a\nb", "a\r\nb"},
        {"a lone CR is kept", "a\rb\r", "a\rb\r"},
        {"other bytes untouched", "\t\xc4\xe3"s + '\0' + "z", "\t\xc4\xe3"s + '\0' + "z"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(EncodeConfigText(c.answer), c.fileBytes);
        EXPECT_EQ(DecodeConfigText(c.fileBytes), c.answer);
    }
}

TEST(ConfigFileText, DecodesTextModeFiles) {
    struct Case {
        const char* what;
        std::string fileBytes;
        std::size_t limit;
        std::string text;
    };
    const Case cases[] = {
        {"CR CR LF gives the listing's CR LF", "a\r\r\nb\r\r\n", 8192, "a\r\nb\r\n"},
        {"single CR LF lines lose their CR", "a\r\nb\r\n", 8192, "a\nb\n"},
        {"a CR at the very end stays", "ab\r", 8192, "ab\r"},
        {"a CR before Ctrl-Z stays", "ab\r\x1a\ncd", 8192, "ab\r"},
        {"Ctrl-Z ends the text", "ab\x1a\r\ncd", 8192, "ab"},
        {"zero bytes are data", "a"s + '\0' + "b", 8192, "a"s + '\0' + "b"},
        {"the limit counts translated characters", "ab\r\ncd", 3, "ab\n"},
        {"limit zero", "abc", 0, ""},
        {"default limit", std::string(10000, 'x'), kConfigTextLimit, std::string(8192, 'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodeConfigText(c.fileBytes, c.limit), c.text);
    }
    EXPECT_EQ(DecodeConfigText(std::string(9000, 'y')).size(), 8192u);
}

}  // namespace
