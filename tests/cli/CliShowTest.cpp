// show, offline: a .cfg file read as "load from file" reads it, its parameters printed, and
// the files that are no listing refused with status 4.
#include <gtest/gtest.h>

#include "params/ConfigFileText.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace clitest;

// A unit's listing as the receive path collects it: CR LF line ends, the anchor first.
const std::string kListing =
    "\r\n[Device configuration]\r\n"
    "Access Point Name: internet \r\n"
    "Server's Ip:10.1.2.3\r\n"
    "Server's Port:\r\n"
    "Activate Method:SMSD\r\n"
    "Device Type:DTU-K3\r\n"
    "\r\nOK\r\n";

// The same with a value in GBK ("中文", the units' code page).
const std::string kGbkListing =
    "\r\nAccess Point Name:\xD6\xD0\xCE\xC4\r\nServer's Ip:1.1.1.1\r\n\r\nOK\r\n";

struct ShowCase {
    const char* what;
    std::string fileBytes;  // empty: no file at all
    bool json;
    int exitCode;
    std::string out;  // expected stdout exactly
};

TEST(CliShow, PrintsWhatTheFileHoldsOrRefusesIt) {
    const ShowCase cases[] = {
        {"lines in key order, an empty value kept", EncodeConfigText(kListing), false, 0,
         "Access Point Name\tinternet\nActivateMethod\tSMSD\nDevice Type\tDTU-K3\n"
         "Server's Ip\t10.1.2.3\nServer's Port\t\n"},
        {"json", EncodeConfigText(kListing), true, 0,
         "{\n    \"Access Point Name\": \"internet\",\n    \"ActivateMethod\": \"SMSD\",\n"
         "    \"Device Type\": \"DTU-K3\",\n    \"Server's Ip\": \"10.1.2.3\",\n"
         "    \"Server's Port\": \"\"\n}\n"},
        {"GBK value as UTF-8", EncodeConfigText(kGbkListing), true, 0,
         "{\n    \"Access Point Name\": \"\xE4\xB8\xAD\xE6\x96\x87\",\n"
         "    \"Server's Ip\": \"1.1.1.1\"\n}\n"},
        {"no file", "", false, 4, ""},
        {"not a listing", "hello\r\r\nworld\r\r\n", false, 4, ""},
        // Written with single CR LF ends (a Windows editor) or LF ends (a Linux one), the
        // file reads to the same listing.
        {"plain text-mode file of the listing", kListing, true, 0,
         "{\n    \"Access Point Name\": \"internet\",\n    \"ActivateMethod\": \"SMSD\",\n"
         "    \"Device Type\": \"DTU-K3\",\n    \"Server's Ip\": \"10.1.2.3\",\n"
         "    \"Server's Port\": \"\"\n}\n"},
        {"cut before the first line end", EncodeConfigText("\r\nAccess Point Name:x"), false, 4,
         ""},
    };
    for (const ShowCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = testpaths::TempDir() + "/unit.cfg";
        if (!c.fileBytes.empty()) WriteFile(path, c.fileBytes);
        QStringList args{"show", path.c_str()};
        if (c.json) args << "--json";
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_EQ(r.out, c.out);
        if (c.exitCode != 0) {
            EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
        }
    }
}

}  // namespace
