// Masking a log: a password goes wherever it stands after its command or its listing label,
// and nothing else in the text changes.
#include <gtest/gtest.h>

#include "params/ParameterTable.h"
#include "params/SecretValues.h"

namespace {

TEST(SecretValues, MasksEachSecretToItsLineEndOnly) {
    struct Case {
        const char* what;
        const char* text;
        const char* masked;
    };
    const Case cases[] = {
        {"command sent", "Send:AT+PASSWORD=pw1\r\nOK\r\n", "Send:AT+PASSWORD=********\r\nOK\r\n"},
        {"glued to the unit's text", "OKAT+DONPSWD=pw2", "OKAT+DONPSWD=********"},
        {"listing line", "\r\nPPP Authentication Password:pw3\r\nAPN:cmnet\r\n",
         "\r\nPPP Authentication Password:********\r\nAPN:cmnet\r\n"},
        {"stamped listing line", "12:00:00.001 DTU SMS configure password:pw4\n",
         "12:00:00.001 DTU SMS configure password:********\n"},
        {"two on a line each", "AT+SMSDPSWD=a AT+SMSCPW=b\r\n", "AT+SMSDPSWD=********\r\n"},
        {"empty value kept empty", "AT+PASSWORD=\r\n", "AT+PASSWORD=\r\n"},
        {"a query has no value", "AT+PASSWORD?\r\n", "AT+PASSWORD?\r\n"},
        {"not a secret", "AT+APN=cmnet\r\nUser Name:me\r\n", "AT+APN=cmnet\r\nUser Name:me\r\n"},
    };
    ParameterTable table;
    BuildParameterTable(table);
    for (const Case& c : cases) {
        EXPECT_EQ(MaskSecretValues(c.text, table), c.masked) << c.what;
    }
}

}  // namespace
