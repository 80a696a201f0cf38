// The port's error box speaks the program's language: every word from Language.ini, the
// system's English sentence replaced by the error's kind and its symbolic name.
#include <gtest/gtest.h>

#include <cerrno>
#include <regex>
#include <string>

#include "serial/SerialPort.h"
#include "settings/Labels.h"
#include "tests/serial/PtyHelpers.h"
#include "tests/support/TestPaths.h"

using namespace serialtest;

namespace {

TEST(ReportError, TheBoxIsWordedFromTheLabelFileInBothLanguages) {
    const struct {
        const char* skin;
        int error;
        const char* expected;  // the box's text
        const char* caption;
    } cases[] = {
        {"ConifgENRes", EIO,
         "WARNING: WriteFile() failed: the device was lost (unplugged or hung up). [EIO]\nPort: "
         "0\n",
         "Serial port error"},
        {"ConifgENRes", ETIMEDOUT,
         "WARNING: WriteFile() failed: the line did not take the bytes in time. [ETIMEDOUT]\n"
         "Port: 0\n",
         "Serial port error"},
        {"ConifgRes", EIO, "警告：WriteFile() 失败： 设备已断开（被拔出或挂断）。 [EIO]\n串口：0\n",
         "串口错误"},
        {"ConifgRes", EACCES, "警告：WriteFile() 失败： 无权使用该设备。 [EACCES]\n串口：0\n",
         "串口错误"},
    };
    const std::string before = LabelFilePath();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.skin) + " " + std::to_string(c.error));
        SetLabelFilePath(testpaths::SourceDir() + "/skin/" + c.skin + "/Language.ini");
        RecordingDialogs dialogs;
        ui::ScopedDialogs scoped(&dialogs);
        CSerialPort port;
        errno = c.error;
        port.ReportError("WriteFile()");
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, c.expected);
        EXPECT_EQ(dialogs.boxes[0].caption, c.caption);
    }
    SetLabelFilePath(before);
}

}  // namespace
