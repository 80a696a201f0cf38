// A GPS unit's file loaded onto a LoRa unit: the window asks first (Cancel the default); on OK
// only what the LoRa unit has is written, never the GPS module's parameters or channel mask.
#include <gtest/gtest.h>

#include <cstring>

#include "form/ConfigFiles.h"
#include "form/DeviceForm.h"
#include "form/DeviceWrite.h"
#include "form/ListingFlow.h"
#include "params/ConfigFileText.h"
#include "sim/ParameterStore.h"
#include "tests/form/FormFixture.h"
#include "tests/form/UnitSession.h"

namespace {

using namespace formtest;

std::string ListingOf(const sim::ParameterStore& store) {
    return "\r\n" + store.Listing() + "\r\nOK\r\n";
}

void PutAnswer(FormFrame& frame, const std::string& answer) {
    std::memcpy(frame.rxBuffer, answer.data(), answer.size());
    frame.rxBuffer[answer.size()] = '\0';
    frame.rxLength = static_cast<int>(answer.size());
}

TEST(OtherDevice, AFileOfAnotherTypeIsWrittenOnlyOnOkAndNeverItsModule) {
    UseRealSkin("ConifgENRes");
    sim::ParameterStore gps(sim::UnitVariant::Gps, "");
    const sim::ParameterStore lora(sim::UnitVariant::Lora, "");
    ASSERT_EQ(gps.Write("AT+GPSPORT", "6100"), sim::WriteResult::Stored);
    ASSERT_EQ(gps.Write("AT+PORT", "6200"), sim::WriteResult::Stored);
    const std::string path = testpaths::TempDir() + "/gps.cfg";
    WriteFile(path, EncodeConfigText(ListingOf(gps)));
    for (const int answer : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(answer == IDOK ? "OK" : "Cancel");
        RecordingDialogs dialogs;
        dialogs.boxAnswer = answer;
        ui::ScopedDialogs scoped(&dialogs);
        auto frame = MakeFrame();
        PutAnswer(*frame, ListingOf(lora));
        OnParseAnswer(*frame);
        ASSERT_TRUE(ShowConfigFile(*frame, path));
        PutAnswer(*frame, ListingOf(lora));
        ParseApplyAnswer(*frame);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_NE(dialogs.boxes[0].text.find("DTU-K3V61"), std::string::npos);
        EXPECT_EQ(dialogs.boxes[0].flags & MB_DEFBUTTON2, MB_DEFBUTTON2);
        std::vector<std::string> written;
        for (const CommandJob& job : TakeJobs(*frame)) written.push_back(job.command);
        EXPECT_EQ(written, answer == IDOK ? std::vector<std::string>{"AT+PORT=6200\r\n"}
                                          : std::vector<std::string>{});
    }
}

}  // namespace
