// provision as a process: four virtual units on four pseudo-terminals at once, configured from
// one template plus each unit's row, read back, one report each; a unit that does not keep a
// value fails alone; a units' file with a bad column touches no unit.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

#include "params/ConfigFileText.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace clitest;

constexpr int kUnits = 4;
constexpr const char* kTemplateIp = "10.1.2.3";

struct Case {
    const char* what;
    int keepOldUnit;          // the unit that answers OK to AT+PORT and keeps its old value; -1
    const char* extraColumn;  // a column added to the units' file; nullptr: none
    bool keyedById;           // rows picked by "Modem'sID number" (listed backwards), not port
    int exitCode;
    std::array<const char*, kUnits> results;  // each unit's report; nullptr: no report
};

#if defined(__SANITIZE_THREAD__)
constexpr bool kThreadSanitizer = true;
#else
constexpr bool kThreadSanitizer = false;
#endif

std::string Id(int unit) {
    return "4200" + std::to_string(unit);
}
std::string Apn(int unit) {
    return "apn" + std::to_string(unit);
}
std::string ServerPort(int unit) {
    return "600" + std::to_string(unit);
}

QJsonObject ReadReport(const std::string& path) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(ReadFile(path))).object();
}

TEST(CliProvision, FourUnitsAtOnceEachWithTheTemplateAndItsOwnRow) {
    // clang-format off
    const Case cases[] = {
        {"all four",            -1, nullptr,       false, 0, {"configured", "configured", "configured", "configured"}},
        {"keyed by ID number",  -1, nullptr,       true,  0, {"configured", "configured", "configured", "configured"}},
        {"one keeps its port",   2, nullptr,       false, 1, {"configured", "configured", "failed", "configured"}},
        {"an unknown column",   -1, "Coffee Mode", false, 2, {nullptr, nullptr, nullptr, nullptr}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::unique_ptr<sim::VirtualUnitHost>> hosts;
        for (int i = 0; i < kUnits; ++i) {
            sim::UnitOptions options = FastUnit();
            if (i == c.keepOldUnit) options.keepOld = {"AT+PORT"};
            hosts.push_back(std::make_unique<sim::VirtualUnitHost>(options));
            std::string error;
            ASSERT_TRUE(hosts.back()->Start(&error)) << error;
            // Each unit's own ID; the template then holds the first unit's.
            ASSERT_TRUE(hosts.back()->SetStoredValue("AT+IDNT", Id(i)));
        }
        // The template: the first unit's listing with the address every unit is to get.
        ASSERT_TRUE(hosts[0]->SetStoredValue("AT+IPAD", kTemplateIp));
        const std::string listing = CaptureListing(hosts[0]->DevicePath());
        ASSERT_FALSE(listing.empty());
        for (auto& host : hosts) ASSERT_TRUE(host->SetStoredValue("AT+IPAD", "1.1.1.1"));
        const std::string dir = testpaths::TempDir() + "/provision-" + std::to_string(&c - cases);
        const std::string cfg = dir + ".cfg";
        WriteFile(cfg, EncodeConfigText(listing));

        std::string csv = c.keyedById ? "Modem'sID number" : "port";
        csv += ",Access Point Name,Server's Port";
        csv += c.extraColumn ? std::string(",") + c.extraColumn + "\n" : "\n";
        QStringList args{"provision", cfg.c_str(), "--units", (dir + ".csv").c_str(),
                         "--report",  dir.c_str(), "--baud",  QString::number(kBaud)};
        std::vector<std::size_t> before;
        for (int i = 0; i < kUnits; ++i) {
            const int unit = c.keyedById ? kUnits - 1 - i : i;
            csv += (c.keyedById ? Id(unit) : hosts[unit]->DevicePath()) + "," + Apn(unit) + "," +
                   ServerPort(unit);
            csv += c.extraColumn ? ",1\n" : "\n";
            args << "--port" << hosts[i]->DevicePath().c_str();
            before.push_back(hosts[i]->ReceivedCommands().size());
        }
        WriteFile(dir + ".csv", csv);

        const CliResult r = RunCli(args, 90000);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out << r.err;
        for (int i = 0; i < kUnits; ++i) {
            SCOPED_TRACE(i);
            const sim::VirtualUnitHost& host = *hosts[i];
            const std::string report =
                dir + "/" + host.DevicePath().substr(host.DevicePath().rfind('/') + 1) + "-1.json";
            if (!c.results[i]) {
                // Checked before any unit was touched: not a byte reached one.
                EXPECT_EQ(host.ReceivedCommands().size(), before[i]);
                EXPECT_FALSE(std::filesystem::exists(report));
                continue;
            }
            const QJsonObject json = ReadReport(report);
            EXPECT_EQ(json["result"].toString().toStdString(), c.results[i]);
            EXPECT_EQ(json["port"].toString().toStdString(), host.DevicePath());
            EXPECT_EQ(json["before"]["Server's Ip"].toString().toStdString(), "1.1.1.1");
            EXPECT_EQ(host.StoredValue("AT+IPAD"), kTemplateIp);
            EXPECT_EQ(host.StoredValue("AT+APN"), Apn(i));
            EXPECT_EQ(json["modemId"].toString().toStdString(), Id(i));
            EXPECT_EQ(host.StoredValue("AT+IDNT"), Id(i));
            const bool kept = i != c.keepOldUnit;
            EXPECT_EQ(host.StoredValue("AT+PORT"), kept ? ServerPort(i) : "5001");
            EXPECT_EQ(json["readBack"].toString().toStdString(), kept ? "verified" : "not kept");
            // The report's after-values are the read-back's, which is what the unit holds.
            EXPECT_EQ(json["after"]["Server's Ip"].toString().toStdString(), kTemplateIp);
            EXPECT_EQ(json["after"]["Server's Port"].toString().toStdString(),
                      *host.StoredValue("AT+PORT"));
            EXPECT_EQ(host.ReceivedCommands().back(), "at+quit");
        }
        if (c.exitCode == 2) {
            EXPECT_NE(r.err.find("Coffee Mode"), std::string::npos) << r.err;
            continue;
        }
        const std::vector<std::string> summary = Lines(ReadFile(dir + "/summary.csv"));
        EXPECT_EQ(summary.size(), 1u + kUnits);
        if (c.keepOldUnit >= 0) {
            EXPECT_NE(r.err.find("failed: " + hosts[c.keepOldUnit]->DevicePath()),
                      std::string::npos)
                << r.err;
        }
    }
}

// Two units of one ID number both take its row: written all the same, but said.
TEST(CliProvision, TwoUnitsOfOneIdNumberAreWarnedOf) {
    std::vector<std::unique_ptr<sim::VirtualUnitHost>> hosts;
    QStringList ports;
    for (int i = 0; i < 2; ++i) {
        hosts.push_back(std::make_unique<sim::VirtualUnitHost>(FastUnit()));
        std::string error;
        ASSERT_TRUE(hosts.back()->Start(&error)) << error;
        ASSERT_TRUE(hosts.back()->SetStoredValue("AT+IDNT", Id(7)));
        ports << "--port" << hosts.back()->DevicePath().c_str();
    }
    const std::string dir = testpaths::TempDir() + "/provision-twins";
    WriteFile(dir + ".cfg", EncodeConfigText(CaptureListing(hosts[0]->DevicePath())));
    WriteFile(dir + ".csv", "Modem'sID number,Access Point Name\n" + Id(7) + ",twin.apn\n");
    const CliResult r =
        RunCli(QStringList{"provision", (dir + ".cfg").c_str(), "--units", (dir + ".csv").c_str(),
                           "--baud", QString::number(kBaud)} +
                   ports,
               60000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("have the same ID number " + Id(7)), std::string::npos) << r.err;
    for (const auto& host : hosts) EXPECT_EQ(host->StoredValue("AT+APN"), "twin.apn");
}

// A unit that fails is listed with its own reason, and every write in its report with its
// outcome, also when the port went with a write on the line; the summary names a report only
// when it was written.
TEST(CliProvision, AFailedUnitIsReportedWithItsOwnReason) {
    struct Row {
        const char* what;
        const char* fault;
        bool blockReport;  // a folder stands where the report would be written
        int exitCode;
        const char* reason;
        std::vector<std::pair<std::string, std::string>> writes;  // name, outcome
        const char* readBack;
    };
    // clang-format off
    const Row rows[] = {
        {"a write refused", "error@AT+PORT", false, 1, "the unit refused Server's Port",
         {{"Access Point Name", "OK"}, {"Server's Port", "ERROR"}}, "writes failed"},
        {"the port gone on a write", "cut@AT+APN", false, 1, "The port was lost",
         {{"Access Point Name", "UNKNOWN"}, {"Server's Port", "NOT SENT"}}, "not read back"},
        {"no report written", nullptr, true, 4, "cannot write the report",
         {{"Access Point Name", "OK"}, {"Server's Port", "OK"}}, "verified"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        sim::VirtualUnitHost host(FastUnit());
        std::string error;
        ASSERT_TRUE(host.Start(&error)) << error;
        const std::string listing = CaptureListing(host.DevicePath());
        ASSERT_FALSE(listing.empty());
        if (row.fault) {
            ASSERT_TRUE(host.AddFault(row.fault, &error)) << error;
        }
        const std::string dir =
            testpaths::TempDir() + "/provision-fail-" + std::to_string(&row - rows);
        WriteFile(dir + ".cfg", EncodeConfigText(listing));
        WriteFile(dir + ".csv", "port,Access Point Name,Server's Port\n" + host.DevicePath() +
                                    ",apn.fail,6001\n");
        const std::string name =
            host.DevicePath().substr(host.DevicePath().rfind('/') + 1) + "-1.json";
        if (row.blockReport) std::filesystem::create_directories(dir + "/" + name);
        const CliResult r = RunCli({"provision", (dir + ".cfg").c_str(), "--units",
                                    (dir + ".csv").c_str(), "--port", host.DevicePath().c_str(),
                                    "--baud", QString::number(kBaud), "--report", dir.c_str()});
        EXPECT_EQ(r.exitCode, row.exitCode) << r.out << r.err;
        const std::size_t failed = r.err.find("failed: " + host.DevicePath() + " unit 1");
        ASSERT_NE(failed, std::string::npos) << r.err;
        EXPECT_NE(r.err.find(std::string("): ") + row.reason, failed), std::string::npos) << r.err;
        const std::vector<std::string> summary = Lines(ReadFile(dir + "/summary.csv"));
        ASSERT_EQ(summary.size(), 2u);
        // port, sequence, device type, ID, result, read back, report, problem
        std::vector<std::string> fields;
        std::stringstream line(summary[1]);
        for (std::string field; std::getline(line, field, ',');) fields.push_back(field);
        ASSERT_GE(fields.size(), 8u) << summary[1];
        EXPECT_EQ(fields[6], row.blockReport ? "" : name);
        EXPECT_TRUE(fields[7].starts_with(row.reason)) << summary[1];
        if (row.blockReport) continue;
        const QJsonObject json = ReadReport(dir + "/" + name);
        std::vector<std::pair<std::string, std::string>> writes;
        for (const QJsonValue& w : json["writes"].toArray()) {
            writes.emplace_back(w["name"].toString().toStdString(),
                                w["outcome"].toString().toStdString());
        }
        EXPECT_EQ(writes, row.writes);
        EXPECT_EQ(json["readBack"].toString().toStdString(), row.readBack);
        if (std::string(row.readBack) == "not read back") {
            EXPECT_TRUE(json["after"].toObject().isEmpty());
        }
        EXPECT_EQ(host.StoredValue("AT+APN"), "apn.fail");
    }
}

bool WaitForFile(const std::string& path, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

bool WaitUntilReceived(const sim::VirtualUnitHost& host, const std::string& command,
                       std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        for (const std::string& received : host.ReceivedCommands()) {
            if (received == command) return true;
        }
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// A rig: the port is served again for each unit that comes up on it, until Ctrl-C, which ends
// the wait for the next one; the summary holds every unit done.
TEST(CliProvision, LoopConfiguresEachUnitThatComesUpUntilInterrupted) {
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    ASSERT_TRUE(host.SetStoredValue("AT+IPAD", kTemplateIp));
    const std::string listing = CaptureListing(host.DevicePath());
    ASSERT_FALSE(listing.empty());
    const std::string dir = testpaths::TempDir() + "/provision-loop";
    WriteFile(dir + ".cfg", EncodeConfigText(listing));
    const std::string report =
        dir + "/" + host.DevicePath().substr(host.DevicePath().rfind('/') + 1);

    ASSERT_TRUE(host.SetStoredValue("AT+IPAD", "1.1.1.1"));
    CliRun run({"provision", (dir + ".cfg").c_str(), "--port", host.DevicePath().c_str(), "--baud",
                QString::number(kBaud), "--report", dir.c_str(), "--loop"});
    ASSERT_TRUE(WaitForFile(report + "-1.json", std::chrono::seconds(40)));
    EXPECT_EQ(host.StoredValue("AT+IPAD"), kTemplateIp);
    // The next unit: other values, powered on with its start-up prompt.
    ASSERT_TRUE(host.SetStoredValue("AT+IPAD", "2.2.2.2"));
    host.Reboot();
    ASSERT_TRUE(WaitForFile(report + "-2.json", std::chrono::seconds(40)));
    EXPECT_EQ(host.StoredValue("AT+IPAD"), kTemplateIp);
    EXPECT_EQ(ReadReport(report + "-2.json")["readBack"].toString(), "verified");

    run.Interrupt();
    const CliResult r = run.Finish();
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(Lines(ReadFile(dir + "/summary.csv")).size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(report + "-3.json"));
}

// Ctrl-C on the terminal reaches the whole process group while a unit is written: the unit is
// finished and left with at+quit, and the summary is written, with or without --loop; a second
// Ctrl-C stops the writes still queued, and the unit is still left with at+quit.
TEST(CliProvision, CtrlCToTheGroupLetsTheUnitBeingConfiguredFinish) {
    const struct {
        const char* what;
        bool loop;
        int interrupts;
        int exitCode;
        bool allWritten;
    } cases[] = {
        {"without --loop", false, 1, 0, true},
        {"with --loop", true, 1, 0, true},
        {"twice", false, 2, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Under ThreadSanitizer the program never sees the second Ctrl-C (its signal handling
        // defers and merges signals); the plain and AddressSanitizer builds check that case.
        if (c.interrupts > 1 && kThreadSanitizer) continue;
        sim::VirtualUnitHost host(FastUnit());
        std::string error;
        ASSERT_TRUE(host.Start(&error)) << error;
        const std::string listing = CaptureListing(host.DevicePath());
        ASSERT_FALSE(listing.empty());
        // Slow answers, so that Ctrl-C lands while the writes go on.
        for (const char* fault : {"delay=700@AT+APN/1", "delay=700@AT+PORT/1"})
            ASSERT_TRUE(host.AddFault(fault, &error)) << error;
        const std::string dir =
            testpaths::TempDir() + "/provision-ctrl-c-" + std::to_string(&c - cases);
        WriteFile(dir + ".cfg", EncodeConfigText(listing));
        WriteFile(dir + ".csv", "port,Access Point Name,Server's Port,User Id\n" +
                                    host.DevicePath() + ",apn.c,6009,someone\n");
        QStringList args{"provision", (dir + ".cfg").c_str(),
                         "--units",   (dir + ".csv").c_str(),
                         "--port",    host.DevicePath().c_str(),
                         "--baud",    QString::number(kBaud),
                         "--report",  dir.c_str()};
        if (c.loop) args << "--loop";
        CliRun run(args, true);
        ASSERT_TRUE(WaitUntilReceived(host, "AT+APN=apn.c", std::chrono::seconds(30)));
        for (int i = 0; i < c.interrupts; ++i) {
            run.InterruptGroup();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        const CliResult r = run.Finish(60000);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out << r.err;
        EXPECT_NE(r.out.find(c.allWritten ? "1 of 1 units configured" : "0 of 1 units configured"),
                  std::string::npos)
            << r.out;
        EXPECT_EQ(Lines(ReadFile(dir + "/summary.csv")).size(), 2u);
        EXPECT_EQ(host.StoredValue("AT+USERNAME") == "someone", c.allWritten);
        EXPECT_EQ(host.ReceivedCommands().back(), "at+quit");
    }
}

// Every problem of the units' file is listed at once, before any port is opened.
TEST(CliProvision, ChecksTheUnitsFileFirstAndListsEveryProblem) {
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string listing = CaptureListing(host.DevicePath());
    ASSERT_FALSE(listing.empty());
    const std::string cfg = testpaths::TempDir() + "/provision-check.cfg";
    WriteFile(cfg, EncodeConfigText(listing));
    const std::string port = host.DevicePath();
    struct Row {
        const char* what;
        std::string csv;
        std::vector<std::string> problems;
    };
    // clang-format off
    const Row rows[] = {
        {"bad key column",   "Colour,Server's Port\nred,1\n",                {"key column \"Colour\""}},
        {"unwritable column", "port,Device Type\n" + port + ",x\n",         {"\"Device Type\" cannot be written"}},
        {"duplicate keys and a control byte",
         "Modem'sID number,Server's Ip\n7,1.2.3.4\n7,\"1.2\t3.4\"\n",       {"line 3: the key \"7\" is given twice", "line 3: the value of \"Server's Ip\" holds a control"}},
        {"short row and missing port", "port,Server's Port\n/dev/other\n",   {"line 2: 1 fields", "has no row for " + port}},
        {"byte-order mark",  "\xEF\xBB\xBFport,Server's Port\n/dev/other,1\n", {"has no row for " + port}},
        {"open quote",       "port,Server's Port\n\"" + port + ",1\n",      {"quoted field is not closed"}},
        {"value the list cannot show", "port,DIO1 workmode\n" + port + ",5\n", {"\"DIO1 workmode=5\" cannot be shown"}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string csv = testpaths::TempDir() + "/provision-check.csv";
        WriteFile(csv, row.csv);
        const std::size_t before = host.ReceivedCommands().size();
        const CliResult r = RunCli({"provision", cfg.c_str(), "--units", csv.c_str(), "--port",
                                    port.c_str(), "--baud", QString::number(kBaud)});
        EXPECT_EQ(r.exitCode, 2) << r.out << r.err;
        for (const std::string& problem : row.problems)
            EXPECT_NE(r.err.find(problem), std::string::npos) << r.err;
        EXPECT_EQ(host.ReceivedCommands().size(), before);
    }
}

}  // namespace
