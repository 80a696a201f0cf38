// Final result codes count only as whole lines; the letters inside a value do not.
#include "engine/AnswerMatch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct MatchCase {
    const char* what;
    std::string text;
    bool ok;
    bool error;
};

TEST(AnswerMatch, FinalResultCodesAreWholeLines) {
    const MatchCase cases[] = {
        {"OK after an empty line", "\r\nOK\r\n", true, false},
        {"OK at the very start", "OK\r\n", true, false},
        {"OK after an answer line", "+CSQ: 23,99\r\n\r\nOK\r\n", true, false},
        {"OK after a bare LF", "text\nOK\r\n", true, false},
        {"OK whose line end has not arrived", "\r\nOK", false, false},
        {"OK followed by CR only", "\r\nOK\r", false, false},
        {"OK inside a value", "Access Point Name:BOOK\r\n", false, false},
        {"OK at the start of a longer word", "\r\nOKAY\r\n", false, false},
        {"OK after a space", "\r\n OK\r\n", false, false},
        {"lower-case ok", "\r\nok\r\n", false, false},
        {"ERROR line", "\r\nERROR\r\n", false, true},
        {"ERROR at the start", "ERROR\r\n", false, true},
        {"ERROR inside a value", "Custom Register Info:NOERROR\r\n", false, false},
        {"ERROR without its line end", "\r\nERROR", false, false},
        {"CME error line", "\r\n+CME ERROR: 10\r\n", false, true},
        {"CMS error line without a code", "\r\n+CMS ERROR:\r\n", false, true},
        {"CME error still arriving", "\r\n+CME ERROR: 1", false, false},
        {"CME error not at a line start", "\r\nX+CME ERROR: 10\r\n", false, false},
        {"both lines", "\r\nOK\r\n\r\nERROR\r\n", true, true},
        {"a later whole OK after an embedded one", "BOOK\r\nOK\r\n", true, false},
        {"nothing", "", false, false},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HasOkLine(c.text), c.ok);
        EXPECT_EQ(HasErrorLine(c.text), c.error);
    }
}

}  // namespace
