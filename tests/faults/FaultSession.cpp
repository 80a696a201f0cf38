#include "tests/faults/FaultSession.h"
#include "tests/support/FrameOnUnit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <ctime>

#include "engine/FrameTimers.h"
#include "engine/ReceivePath.h"
#include "settings/Labels.h"
#include "tests/support/TestPaths.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"

namespace faulttest {

namespace {

void UseEnglishSkin() {
    const std::string skin = testpaths::SourceDir() + "/skin/ConifgENRes";
    CPaintManagerUI::SetResourcePath(skin);
    // The program's folder is the test's own: what the program keeps there (config.ini) never
    // lands in the source tree.
    CPaintManagerUI::SetInstancePath(testpaths::TempDir());
    SetLabelFilePath(skin + "/Language.ini");
}

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

std::string Label(const char* section, const char* key) {
    // Also before the first session: the labels are the English skin's.
    UseEnglishSkin();
    return LabelText(section, key).str();
}

std::string SendPrefix() {
    return Label("ComSend", "send") + ":";
}

FaultFrame::FaultFrame() {
    jobObserver = [this](const CommandJob& job, JobOutcome outcome) {
        finished.push_back({job.command, outcome, std::chrono::steady_clock::now()});
    };
}

LRESULT FaultFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsgLogBlock && wParam) {
        const char* text = reinterpret_cast<const char*>(wParam);
        log += text;
        logBlocks.push_back({std::chrono::steady_clock::now(), text});
    }
    if (msg == kMsgCommandState && wParam == 1 && lParam == 2) ++idleNotices;
    if (msg == kMsgParseAnswer) rxLengthAtParse.push_back(rxLength);
    const LRESULT result = CM5Z30FrameWnd::HandleMessage(msg, wParam, lParam);
    if (msg == kMsgParseAnswer) ++parsedListings;
    if (msg == kMsgReceived) promptPeriods.push_back(TimerInterval(kPromptTimer));
    if (auto* bar = dynamic_cast<CProgressUI*>(paintManager.FindControl("JobProgress"))) {
        const std::string text = bar->GetText().str();
        if (progressSteps.empty() || progressSteps.back().text != text ||
            progressSteps.back().percent != bar->GetValue()) {
            progressSteps.push_back({text, bar->GetValue()});
        }
    }
    if (afterMessage) afterMessage();
    return result;
}

sim::UnitOptions ConfigurationUnit() {
    sim::UnitOptions options;
    options.start = sim::UnitStart::Configuration;
    return options;
}

Session::Session(sim::UnitOptions options, bool connect) : host(options) {
    UseEnglishSkin();
    host.SetUnplugCallback([this] { cutAtNs = NowNs(); });
    if (!host.Start(&error)) return;
    if (!testsupport::SetUpFrameOnUnit(frame, host, &error)) return;
    if (!connect) {
        ready = true;
        return;
    }
    if (!Open()) {
        error = "the port did not open: " + Tail(frame.log);
        return;
    }
    if (!LogIn()) {
        error = "no login: " + Tail(frame.log);
        return;
    }
    if (!Read()) {
        error = "the first read failed: " + Tail(frame.log);
        return;
    }
    readValues = Values();
    ready = true;
}

bool Session::Open() {
    Click("Open");
    return frame.serialPort.IsOpen();
}

bool Session::LogIn() {
    const int before = frame.idleNotices;
    Click("Login");
    return WaitUntil([&] { return frame.loggedIn.load() && frame.idleNotices > before; }, 5000);
}

bool Session::Read() {
    const int before = frame.parsedListings;
    return Settle([&] { Click("Load"); }) && frame.parsedListings > before;
}

bool Session::Settle(const std::function<void()>& action, int ms) {
    const int before = frame.idleNotices;
    action();
    return WaitUntil([&] { return frame.idleNotices > before; }, ms);
}

bool Session::ExpireWaitsUntil(const std::function<bool()>& done, int ms) {
    return WaitUntil(
        [&] {
            if (done()) return true;
            if (clock.Subscribers() > 0) clock.Advance(std::chrono::minutes(1));
            return false;
        },
        ms);
}

bool Session::TimeOutWhenSent(const std::string& command, std::chrono::milliseconds timeout,
                              int ms) {
    const bool waiting = WaitUntil(
        [&] {
            const auto commands = host.ReceivedCommands();
            return clock.Subscribers() > 0 && !commands.empty() && commands.back() == command;
        },
        ms);
    // A unit seen answering late has its time-outs grown by that much.
    if (waiting) clock.Advance(timeout + frame.lineSync.allowance + std::chrono::milliseconds(1));
    return waiting;
}

void Session::Click(const char* control) {
    if (CControlUI* sender = Control(control)) frame.paintManager.SendNotify(sender, "click");
}

CControlUI* Session::Control(const char* name) {
    return frame.paintManager.FindControl(name);
}

bool Session::AddFault(const char* text) {
    return host.AddFault(text, &error);
}

void Session::Feed(const std::string& bytes) {
    std::vector<char> block(bytes.begin(), bytes.end());
    block.push_back('\0');
    OnReceive(frame, block.data(), static_cast<int>(bytes.size()));
}

std::vector<std::string> Session::CommandsSince(std::size_t from) const {
    const auto commands = host.ReceivedCommands();
    if (from >= commands.size()) return {};
    return {commands.begin() + static_cast<std::ptrdiff_t>(from), commands.end()};
}

std::map<std::string, std::string> Session::Values() const {
    std::map<std::string, std::string> values;
    for (const auto& [name, entry] : frame.parameterTable) values[name] = entry.value;
    return values;
}

std::string UnitLabel(const std::string& responseLabel) {
    return responseLabel.rfind("\r\n", 0) == 0 ? responseLabel.substr(2) : responseLabel;
}

std::vector<std::string> ValuesDifferingFromUnit(Session& s) {
    std::vector<std::string> differing;
    for (const auto& [name, entry] : s.frame.parameterTable) {
        if (entry.responseLabel.empty()) continue;
        const auto stored = s.host.StoredValueByLabel(UnitLabel(entry.responseLabel));
        if (stored && *stored != entry.value) {
            differing.push_back(name + ": " + entry.value + " | " + *stored);
        }
    }
    return differing;
}

std::string Tail(const std::string& text, std::size_t size) {
    return text.size() > size ? text.substr(text.size() - size) : text;
}

}  // namespace faulttest
