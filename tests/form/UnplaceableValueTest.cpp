// A unit set up by another tool holds, in one list after another, a value the list has no item
// for. Its own listing, read and saved back, applied as a file or a backup, writes nothing; a
// file's such value that is not the unit's is written only when a choice of the form gives it,
// else refused by name. Never is an item the list maps the value onto written in its place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "form/ChangedWrites.h"
#include "form/ConfigFiles.h"
#include "form/DeviceForm.h"
#include "form/DeviceWrite.h"
#include "form/ListingFlow.h"
#include "form/WriteReview.h"
#include "params/ConfigFileText.h"
#include "settings/Labels.h"
#include "sim/ParameterStore.h"
#include "tests/form/FormFixture.h"
#include "tests/form/UnitSession.h"

namespace {

using namespace formtest;

// The unit's listing as the receive path holds it.
std::string ListingOf(const sim::ParameterStore& store) {
    return "\r\n[Device configuration]\r\n" + store.Listing() + "\r\nOK\r\n";
}

void PutAnswer(FormFrame& frame, const std::string& answer) {
    std::memcpy(frame.rxBuffer, answer.data(), answer.size());
    frame.rxBuffer[answer.size()] = '\0';
    frame.rxLength = static_cast<int>(answer.size());
}

// The module tab a list lives on decides the unit that offers it.
sim::UnitVariant VariantFor(const ParameterEntry& entry) {
    switch (entry.tab) {
        case 7:
            return sim::UnitVariant::Lora;
        case 8:
            return sim::UnitVariant::Zigbee;
        case 9:
            return sim::UnitVariant::Gps;
        default:
            return sim::UnitVariant::None;
    }
}

std::vector<std::string> Commands(const std::vector<CommandJob>& jobs) {
    std::vector<std::string> commands;
    for (const CommandJob& job : jobs) commands.push_back(job.command);
    return commands;
}

struct Apply {
    std::vector<std::string> writes;
    std::string log;
    bool onScreen = false;  // the parameter asked about is written from the screen
};

// The file `fileListing` loaded into a frame that read `unitListing`, and applied to that unit.
Apply ApplyFile(FormFrame& frame, const std::string& fileListing, const std::string& unitListing,
                const std::string& name = {}) {
    const std::string path = testpaths::TempDir() + "/file.cfg";
    WriteFile(path, EncodeConfigText(fileListing));
    PutAnswer(frame, unitListing);
    OnParseAnswer(frame);
    QCoreApplication::sendPostedEvents();
    frame.logView->SetText("");
    EXPECT_TRUE(ShowConfigFile(frame, path));
    PutAnswer(frame, unitListing);
    ParseApplyAnswer(frame);
    const std::vector<std::string> writes = Commands(TakeJobs(frame));
    QCoreApplication::sendPostedEvents();  // the log's lines come as posted messages
    return {writes, frame.logView->GetText().str(), !name.empty() && IsOnScreen(frame, name)};
}

TEST(UnplaceableValue, EveryListKeepsAValueItCannotShowAndWritesNoneInItsPlace) {
    UseRealSkin("ConifgENRes");
    RecordingDialogs dialogs;
    ui::ScopedDialogs scoped(&dialogs);
    ParameterTable table;
    BuildParameterTable(table);
    const std::string refusal = LabelText("Notify", "UnitValueNotice").str();
    std::set<std::string> tried;
    int lists = 0;
    auto frame = MakeFrame();
    for (const auto& [name, entry] : table) {
        if (entry.kind != ControlKind::Combobox || entry.atCommand.empty()) continue;
        if (!tried.insert(entry.atCommand).second) continue;
        SCOPED_TRACE(name);
        ++lists;
        sim::ParameterStore odd(VariantFor(entry), "");
        ASSERT_TRUE(odd.Force(entry.atCommand, "q"));
        const std::string oddListing = ListingOf(odd);

        // Read, then Save without an edit.
        PutAnswer(*frame, oddListing);
        OnParseAnswer(*frame);
        CollectChangedWrites(*frame);
        EXPECT_EQ(Commands(TakeJobs(*frame)), std::vector<std::string>{});
        // Its own listing applied (LoadFromFile, History, apply, provision's template).
        EXPECT_EQ(ApplyFile(*frame, oddListing, oddListing).writes, std::vector<std::string>{});

        // A file holding it onto a unit that holds its usual value: refused by name.
        const sim::ParameterStore usual(VariantFor(entry), "");
        const Apply foreign = ApplyFile(*frame, oddListing, ListingOf(usual), name);
        for (const std::string& write : foreign.writes) {
            EXPECT_NE(write.rfind(entry.atCommand + "=", 0), 0u) << write;
        }
        if (foreign.onScreen) {
            EXPECT_NE(foreign.log.find(refusal + FormLabelOf(*frame, name)), std::string::npos)
                << foreign.log;
        }
    }
    EXPECT_GT(lists, 60);
}

// A value its own list lacks but another list's choice writes (the I/O lists set a channel's
// work mode to 4 or 5) is written as the file holds it; one no choice gives is refused.
TEST(UnplaceableValue, AFileValueAChoiceGivesIsWrittenAsTheFileHoldsIt) {
    UseRealSkin("ConifgENRes");
    RecordingDialogs dialogs;
    ui::ScopedDialogs scoped(&dialogs);
    struct Case {
        const char* command;
        const char* file;
        const char* unit;
        bool written;
    };
    const Case cases[] = {
        {"AT+DIOWORKMODE1", "5", "1", true},  {"AT+DIOWORKMODE2", "4", "0", true},
        {"AT+DIOWORKMODE3", "2", "6", false}, {"AT+DEBUG", "9", "1", false},
        {"AT+NETMODE", "04", "0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " " + c.file + " onto " + c.unit);
        sim::ParameterStore file(sim::UnitVariant::None, "");
        sim::ParameterStore unit(sim::UnitVariant::None, "");
        ASSERT_TRUE(file.Force(c.command, c.file));
        ASSERT_TRUE(unit.Force(c.command, c.unit));
        auto frame = MakeFrame();
        const Apply applied = ApplyFile(*frame, ListingOf(file), ListingOf(unit));
        std::vector<std::string> expected;
        if (c.written) expected.push_back(std::string(c.command) + "=" + c.file + "\r\n");
        std::vector<std::string> writes;
        for (const std::string& write : applied.writes) {
            if (write.rfind(std::string(c.command) + "=", 0) == 0) writes.push_back(write);
        }
        writes.erase(std::unique(writes.begin(), writes.end()), writes.end());
        EXPECT_EQ(writes, expected) << applied.log;
    }
}

}  // namespace
