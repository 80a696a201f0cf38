// Backups to .cfg files and restoring them: the dialogs, the file's bytes, the atomic replace,
// reading damaged or oversized files, and the apply that writes only what the file held.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QDir>
#include <csignal>
#include <filesystem>
#include <functional>

#include "form/ConfigFiles.h"
#include "form/DeviceForm.h"
#include "form/DeviceWrite.h"
#include "form/ListingFlow.h"
#include "form/SessionLog.h"
#include "params/ConfigFileRead.h"
#include "params/ConfigFileText.h"
#include "params/ListingCheck.h"
#include "tests/form/FormFixture.h"
#include "tests/form/TestListing.h"

namespace {

using namespace formtest;
namespace fs = std::filesystem;

void PutAnswer(FormFrame& frame, const std::string& answer) {
    std::memcpy(frame.rxBuffer, answer.data(), answer.size());
    frame.rxBuffer[answer.size()] = '\0';
    frame.rxLength = static_cast<int>(answer.size());
}

std::vector<std::string> FolderEntries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ConfigFiles, DialogsOfferTheFiltersOfTheLanguageAndStartAtDtuCfg) {
    SkinFolder skin;
    struct Case {
        int language;
        bool open;
        std::vector<std::pair<std::string, std::string>> filters;
    } cases[] = {
        {0, true, {{"cfg(*.cfg)", "*.cfg"}, {" All File(*.*)", "*.*"}}},
        {0, false, {{"cfg(*.cfg)", "*.cfg"}, {"All File(*.*)", "*.*"}}},
        {1, true, {{"cfg文件(*.cfg)", "*.cfg"}, {"所有文件(*.*)", "*.*"}}},
        {1, false, {{"cfg文件(*.cfg)", "*.cfg"}, {"所有文件(*.*)", "*.*"}}},
    };
    // Backups start in the engineer's data folder, made when missing.
    const std::string data = testpaths::TempDir();
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    for (const Case& c : cases) {
        RecordingDialogs dialogs;  // cancels
        ui::ScopedDialogs scoped(&dialogs);
        auto frame = MakeFrame(c.language);
        frame->configFilePath = "/kept";
        if (c.open) {
            LoadFromFile(*frame);
        } else {
            SaveToFile(*frame);
        }
        const auto& specs = c.open ? dialogs.openSpecs : dialogs.saveSpecs;
        ASSERT_EQ(specs.size(), 1u);
        const ui::FileDialogSpec& spec = specs[0];
        std::vector<std::pair<std::string, std::string>> filters;
        for (const auto& f : spec.filters) {
            filters.emplace_back(f.description, f.pattern);
            // Listed once, never as "cfg(*.cfg) (*.cfg)".
            EXPECT_EQ(ui::NameFilterText(f), f.description);
        }
        EXPECT_EQ(filters, c.filters) << c.language << c.open;
        EXPECT_EQ(spec.selectedFilter, 0);
        EXPECT_EQ(spec.initialName, "DTU.cfg");
        EXPECT_EQ(spec.initialFolder, data + "/dtuconfig/");
        EXPECT_TRUE(fs::is_directory(spec.initialFolder));
        EXPECT_EQ(spec.mustExist, c.open);
        EXPECT_EQ(frame->configFilePath.str(), "/kept") << "a cancelled dialog changes nothing";
        EXPECT_EQ(frame->jobQueue.Size(), 0u);
    }
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(ui::NameFilterText({"Backups", "*.cfg"}), "Backups (*.cfg)");
    EXPECT_EQ(ui::NameFilterText({"cfg(*.txt)", "*.cfg"}), "cfg(*.txt) (*.cfg)");
}

TEST(ConfigFiles, SaveAsksForTheFileThenReadsTheUnit) {
    SkinFolder skin;
    RecordingDialogs dialogs;
    dialogs.pathToGive = skin.dir + "/unit.cfg";
    ui::ScopedDialogs scoped(&dialogs);
    auto frame = MakeFrame();
    SaveToFile(*frame);
    EXPECT_EQ(frame->configFilePath.str(), dialogs.pathToGive);
    const auto jobs = TakeJobs(*frame);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].type, JobType::ReadForSave);
    EXPECT_EQ(jobs[0].command, "\r\nAT+SHOW\r\n");
    EXPECT_FALSE(fs::exists(dialogs.pathToGive)) << "the file waits for the unit's answer";
}

TEST(ConfigFiles, TheFileIsTheListingWithEveryLfStoredAsCrLf) {
    SkinFolder skin;
    RecordingDialogs dialogs;
    ui::ScopedDialogs scoped(&dialogs);
    auto frame = MakeFrame();
    frame->configFilePath = skin.dir + "/unit.cfg";
    WriteFile(frame->configFilePath.str(), std::string(20000, 'o'));  // replaced, not patched
    PutAnswer(*frame, "\r\nAT+SHOW\r\nAccess Point Name:cmnet\r\nlone\nOK\r\n");
    frame->logView->SetText("");
    WriteConfigFile(*frame);
    EXPECT_EQ(ReadFile(frame->configFilePath.str()),
              "\r\r\nAT+SHOW\r\r\nAccess Point Name:cmnet\r\r\nlone\r\nOK\r\r\n");
    EXPECT_TRUE(dialogs.boxes.empty());
    QCoreApplication::sendPostedEvents();  // the log's lines come as posted messages
    EXPECT_EQ(frame->logView->GetText().str(), "Saved to " + frame->configFilePath.str() + "\n");
}

TEST(ConfigFiles, EachKindOfDialogOpensWhereTheLastOfItsKindChoseAFile) {
    SkinFolder skin;  // config.ini goes beside it
    const std::string data = testpaths::FreshDataHome() + "/dtuconfig/";
    const std::string saved = testpaths::TempDir(), loaded = testpaths::TempDir(),
                      logged = testpaths::TempDir();
    struct Row {
        const char* what;
        std::function<void(FormFrame&, RecordingDialogs&)> act;
        std::string save, load, other;  // where each kind opens next
    };
    const auto choose = [](std::string dir, void (*run)(FormWindow&)) {
        return [dir, run](FormFrame& frame, RecordingDialogs& dialogs) {
            dialogs.pathToGive = dir + "/chosen.file";
            run(frame);
        };
    };
    const Row rows[] = {
        {"nothing chosen yet", [](FormFrame&, RecordingDialogs&) {}, data, data, data},
        {"a cancelled save", [](FormFrame& f, RecordingDialogs&) { SaveToFile(f); }, data, data,
         data},
        {"a save", choose(saved, SaveToFile), saved, data, data},
        {"a load", choose(loaded, LoadFromFile), saved, loaded, data},
        {"a log saved", choose(logged, SaveSessionLog), saved, loaded, logged},
        {"the save's folder removed",
         [&saved](FormFrame&, RecordingDialogs&) { fs::remove_all(saved); }, data, loaded, logged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RecordingDialogs dialogs;
        ui::ScopedDialogs scoped(&dialogs);
        auto frame = MakeFrame();
        row.act(*frame, dialogs);
        EXPECT_EQ(SaveDialogSpec(0).initialFolder, row.save);
        EXPECT_EQ(OpenDialogSpec(1).initialFolder, row.load);
        EXPECT_EQ(DialogFolder(DialogKind::Other, data), row.other);
    }
    unsetenv("XDG_DATA_HOME");
}

TEST(ConfigFiles, AFailedSaveLeavesTheOldBackupIntactAndSaysSo) {
    SkinFolder skin;
    struct Case {
        const char* what;
        std::string path;
        bool limitFileSize;  // the write itself fails half way
    } cases[] = {
        {"folder missing", skin.dir + "/missing/unit.cfg", false},
        {"a folder in the way", skin.dir + "/folder.cfg", false},
        {"the disk refuses the bytes", skin.dir + "/old.cfg", true},
    };
    fs::create_directory(skin.dir + "/folder.cfg");
    const std::string old = "\r\r\nAccess Point Name:old\r\r\nOK\r\r\n";
    WriteFile(skin.dir + "/old.cfg", old);
    for (const Case& c : cases) {
        RecordingDialogs dialogs;
        ui::ScopedDialogs scoped(&dialogs);
        auto frame = MakeFrame();
        frame->configFilePath = c.path;
        PutAnswer(*frame, "Access Point Name:new\r\n" + std::string(9000, 'n') + "\r\nOK\r\n");
        const auto before = FolderEntries(skin.dir);
        rlimit saved{};
        if (c.limitFileSize) {
            std::signal(SIGXFSZ, SIG_IGN);
            getrlimit(RLIMIT_FSIZE, &saved);
            rlimit small = saved;
            small.rlim_cur = 100;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        WriteConfigFile(*frame);
        if (c.limitFileSize) setrlimit(RLIMIT_FSIZE, &saved);
        ASSERT_EQ(dialogs.boxes.size(), 1u) << c.what;
        EXPECT_EQ(dialogs.boxes[0].text, "Cannot write the file") << c.what;
        EXPECT_EQ(dialogs.boxes[0].caption, "DTU") << c.what;
        EXPECT_EQ(dialogs.boxes[0].flags, MB_OK) << c.what;
        EXPECT_EQ(ReadFile(skin.dir + "/old.cfg"), old) << c.what;
        EXPECT_TRUE(fs::is_directory(skin.dir + "/folder.cfg")) << c.what;
        EXPECT_EQ(FolderEntries(skin.dir), before) << c.what << ": nothing left behind";
    }
}

// The form's state for every parameter, to compare two fillings.
std::map<std::string, std::string> FormState(FormFrame& frame) {
    std::map<std::string, std::string> state;
    for (const auto& [name, entry] : frame.parameterTable) {
        state["value " + name] = entry.value;
        CControlUI* control = Control(frame, name.c_str());
        if (!control) continue;
        if (auto* list = dynamic_cast<CComboUI*>(control)) {
            state["item " + name] = std::to_string(list->GetCurSel());
        } else {
            state["text " + name] = control->GetText().str() + "|" + control->GetBkImage().str();
        }
    }
    for (const char* s : {"Lora2COM", "COM2Lora", "GPS2COM", "COM2GPRS", "Zigbee2GPRS"}) {
        state[std::string("switch ") + s] = SwitchShownOn(frame, s) ? "on" : "off";
    }
    return state;
}

TEST(ConfigFiles, ASavedFileLoadsBackAsTheListingAndFillsTheFormAsAReadDoes) {
    SkinFolder skin;
    RecordingDialogs dialogs;
    dialogs.pathToGive = skin.dir + "/unit.cfg";
    ui::ScopedDialogs scoped(&dialogs);
    auto reader = MakeFrame();
    const std::string listing = MakeListing(
        reader->parameterTable, {{"Access Point Name", "\xC4\xE3\xBA\xC3"}, {"LORA ID", "a b\t"}});
    ASSERT_LT(listing.size(), kConfigTextLimit);

    PutAnswer(*reader, listing);
    OnParseAnswer(*reader);  // the direct read
    SaveToFile(*reader);
    TakeJobs(*reader);
    WriteConfigFile(*reader);  // the unit answered the same listing
    const std::string file = ReadFile(dialogs.pathToGive);
    EXPECT_EQ(file, EncodeConfigText(listing));
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'),
              std::count(listing.begin(), listing.end(), '\n'));

    std::string read;
    ASSERT_TRUE(ReadConfigListing(dialogs.pathToGive, &read));
    EXPECT_EQ(read, listing);
    auto loader = MakeFrame();
    // Text on its way in for a listing still pending: the file is read from its own buffer.
    const std::string pending = "\r\nAT+SHOW\r\nAccess Point Name:pending\r\n";
    PutAnswer(*loader, pending);
    LoadFromFile(*loader);
    EXPECT_EQ(std::string(loader->rxBuffer, loader->rxLength), pending);
    EXPECT_EQ(loader->configFilePath.str(), dialogs.pathToGive);
    // The form shows the file as a read shows the unit; the table keeps the unit's values (this
    // frame never read one).
    auto formOnly = [](std::map<std::string, std::string> state) {
        std::erase_if(state, [](const auto& item) { return item.first.rfind("value ", 0) == 0; });
        return state;
    };
    EXPECT_EQ(formOnly(FormState(*loader)), formOnly(FormState(*reader)));
    EXPECT_EQ(Control(*loader, "Access Point Name")->GetText(), "\xC4\xE3\xBA\xC3");
    EXPECT_EQ(loader->parameterTable.FindParameter("Access Point Name")->value, "");
    const auto jobs = TakeJobs(*loader);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].type, JobType::ReadForApply);
    EXPECT_EQ(jobs[0].command, "\r\nAT+SHOW\r\n");

    // The unit answers the apply with what the file holds: nothing to write.
    PutAnswer(*loader, listing);
    ParseApplyAnswer(*loader);
    EXPECT_EQ(TakeJobs(*loader).size(), 0u);
    // A file opened at start (dtuconfig FILE.cfg) shows the same, and nothing is queued.
    auto opener = MakeFrame();
    ASSERT_TRUE(ShowConfigFile(*opener, dialogs.pathToGive));
    EXPECT_EQ(formOnly(FormState(*opener)), formOnly(FormState(*reader)));
    EXPECT_EQ(opener->configFilePath.str(), dialogs.pathToGive);
    EXPECT_EQ(opener->jobQueue.Size(), 0u);
}

struct LoadCase {
    const char* what;
    std::function<std::string(const std::string& file)> bytes;  // null: no file at all
    bool loaded;
    std::map<std::string, std::string> values;  // the fields showing the file after the load
};

TEST(ConfigFiles, DamagedEmptyAndHugeFilesAreReadOnlyAsFarAsTheyHoldAListing) {
    SkinFolder skin;
    const std::string listing =
        "\r\nAT+SHOW\r\nAccess Point Name:apn\r\nServer's Ip:1.1.1.1\r\n"
        "Server's Port:5000\r\nServer1's Ip:2.2.2.2\r\nOK\r\n";
    const std::string file = EncodeConfigText(listing);
    const std::string cut = file.substr(0, file.find("Server's Port"));
    const LoadCase cases[] = {
        {"no file", nullptr, false, {}},
        {"empty", [](auto&) { return std::string(); }, false, {}},
        {"binary without a listing",
         [](auto&) {
             return std::string(
                 "\x7F"
                 "ELF\0\x01\x02\xFF\r\n\x1A",
                 12);
         },
         false,
         {}},
        {"lines ending in a single CR LF read as the listing",
         [&](auto&) { return listing; },
         true,
         {{"Access Point Name", "apn"},
          {"Server's Ip", "1.1.1.1"},
          {"Server's Port", "5000"},
          {"Server2's Ip", "2.2.2.2"}}},
        {"listing past the part a listing can fill is not read",
         [&](auto& f) { return std::string(kListingTextLimit, ' ') + f; },
         false,
         {}},
        {"the whole listing",
         [](auto& f) { return f; },
         true,
         {{"Access Point Name", "apn"},
          {"Server's Ip", "1.1.1.1"},
          {"Server's Port", "5000"},
          {"Server2's Ip", "2.2.2.2"}}},
        {"cut short: what is there",
         [&](auto&) { return cut; },
         true,
         {{"Access Point Name", "apn"}, {"Server's Ip", "1.1.1.1"}}},
        {"Ctrl-Z ends the text",
         [&](auto&) { return cut + "\x1A" + file.substr(cut.size()); },
         true,
         {{"Access Point Name", "apn"}, {"Server's Ip", "1.1.1.1"}}},
        {"a zero byte ends the text",
         [&](auto&) { return cut + std::string(1, '\0') + file.substr(cut.size()); },
         true,
         {{"Access Point Name", "apn"}, {"Server's Ip", "1.1.1.1"}}},
        {"10 MB: the listing at its start",
         [](auto& f) { return f + std::string(10 << 20, 'x'); },
         true,
         {{"Access Point Name", "apn"},
          {"Server's Ip", "1.1.1.1"},
          {"Server's Port", "5000"},
          {"Server2's Ip", "2.2.2.2"}}},
    };
    int n = 0;
    for (const LoadCase& c : cases) {
        RecordingDialogs dialogs;
        dialogs.pathToGive = skin.dir + "/load" + std::to_string(n++) + ".cfg";
        if (c.bytes) WriteFile(dialogs.pathToGive, c.bytes(file));
        ui::ScopedDialogs scoped(&dialogs);
        auto frame = MakeFrame();
        for (auto& [name, entry] : frame->parameterTable) entry.value = "old";
        frame->rxLength = 0;
        frame->logView->SetText("");
        LoadFromFile(*frame);
        QCoreApplication::sendPostedEvents();  // the log's lines come as posted messages
        for (const auto& [name, entry] : frame->parameterTable) {
            // The table keeps the unit's values; the form shows what the file held.
            EXPECT_EQ(entry.value, "old") << c.what << name;
            auto it = c.values.find(name);
            if (it == c.values.end()) continue;
            EXPECT_EQ(Control(*frame, name.c_str())->GetText().str(), it->second) << c.what << name;
        }
        const auto jobs = TakeJobs(*frame);
        EXPECT_EQ(jobs.size(), c.loaded ? 1u : 0u) << c.what;
        EXPECT_LE(frame->rxLength, static_cast<int>(kListingTextLimit)) << c.what;
        if (!c.loaded) {
            EXPECT_EQ(frame->rxLength, 0) << c.what;
            EXPECT_EQ(frame->logView->GetText().str(), "Read error\n")
                << "the log view shows its line end as a break" << c.what;
            // Through the log channel, so Save log has it too.
            EXPECT_EQ(frame->sessionLog, "Read error\r\n") << c.what;
        }
    }
}

// The window says why it refuses a file, and asks before it shows and applies one that ends
// without the listing's closing OK, saying how many values it holds.
TEST(ConfigFiles, ARefusedFileSaysWhyAndACutOneIsAppliedOnlyWhenTheEngineerGoesOn) {
    SkinFolder skin;
    const std::string apn = "\r\nAT+SHOW\r\nAccess Point Name:apn\r\nServer's Ip:1.1.1.1\r\n";
    struct Case {
        const char* what;
        std::string listing;
        int answer;
        std::string logged;
        std::string asked;  // "" when no question
        bool applied;
    };
    const Case cases[] = {
        {"a label twice", apn + "Server's Port:1\r\nServer's Port:2\r\nOK\r\n", IDOK,
         "Read error Twice: \"Server's Port:\"\n", "", false},
        {"cut, and the engineer stops", apn, IDCANCEL, "Ends without OK: 2 values\n",
         "Cut after 2 values?", false},
        {"cut, and the engineer goes on", apn, IDOK, "Ends without OK: 2 values\n",
         "Cut after 2 values?", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingDialogs dialogs;
        dialogs.pathToGive = skin.dir + "/checked.cfg";
        dialogs.boxAnswer = c.answer;
        WriteFile(dialogs.pathToGive, EncodeConfigText(c.listing));
        ui::ScopedDialogs scoped(&dialogs);
        auto frame = MakeFrame();
        frame->logView->SetText("");
        LoadFromFile(*frame);
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(frame->logView->GetText().str(), c.logged);
        EXPECT_EQ(dialogs.boxes.empty() ? "" : dialogs.boxes[0].text, c.asked);
        if (!dialogs.boxes.empty()) {
            EXPECT_EQ(dialogs.boxes[0].flags & MB_DEFBUTTON2, MB_DEFBUTTON2);
        }
        EXPECT_EQ(TakeJobs(*frame).size(), c.applied ? 1u : 0u);
        EXPECT_EQ(Control(*frame, "Server's Ip")->GetText().str() == "1.1.1.1", c.applied);
    }
}

TEST(ConfigFiles, ApplyWritesOnlyTheParametersTheFileHeldWhereTheUnitDiffers) {
    SkinFolder skin;
    RecordingDialogs dialogs;
    dialogs.pathToGive = skin.dir + "/part.cfg";
    ui::ScopedDialogs scoped(&dialogs);
    auto frame = MakeFrame();
    const ParameterTable& table = frame->parameterTable;
    // The form was filled from the unit once (a mode with servers on screen); then the file,
    // cut after "Server's Port".
    PutAnswer(*frame, MakeListing(table, {{"Protocolmodel", "DCTCP"}}));
    OnParseAnswer(*frame);
    const std::string fileListing = MakeListing(table, {{"Protocolmodel", "DCTCP"},
                                                        {"Server's Ip", "9.9.9.9"},
                                                        {"Server's Port", "7000"},
                                                        {"PhoneNO.", "555"}});
    WriteFile(dialogs.pathToGive,
              EncodeConfigText(fileListing.substr(0, fileListing.find("\r\nServer2's"))));
    LoadFromFile(*frame);
    ASSERT_EQ(TakeJobs(*frame).size(), 1u);

    // Meanwhile the unit changed two parameters the file holds and one it does not.
    const std::string unit = MakeListing(table, {{"Protocolmodel", "DCTCP"},
                                                 {"Server's Port", "7000"},
                                                 {"PhoneNO.", "111"},
                                                 {"Server5's Port", "1"}});
    PutAnswer(*frame, unit);
    ParseApplyAnswer(*frame);
    std::vector<std::string> writes;
    for (const CommandJob& job : TakeJobs(*frame)) writes.push_back(job.command);
    EXPECT_EQ(writes, (std::vector<std::string>{"AT+PHON=555\r\n", "AT+IPAD=9.9.9.9\r\n"}));
}

}  // namespace
