#include "bench/BenchSession.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "app/Connect.h"
#include "settings/Labels.h"
#include "tests/support/EventLoop.h"
#include "tests/support/FrameOnUnit.h"
#include "ui/PaintManager.h"

namespace bench {

namespace {

constexpr int kLoginTimeoutMs = 5000;

void UseRealSkin() {
    const std::string skin = std::string(DTU_BENCH_SKIN_DIR) + "/ConifgENRes";
    CPaintManagerUI::SetResourcePath(skin);
    CPaintManagerUI::SetInstancePath(skin);
    SetLabelFilePath(skin + "/Language.ini");
}

}  // namespace

double Seconds(BenchClock::time_point from, BenchClock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

TimedFrame::~TimedFrame() {
    StopWorker();
}

void TimedFrame::NotePendingChange(JobType before, BenchClock::time_point now) {
    if (before == pendingJobType) return;
    if (pendingJobType == JobType::Settling && before != JobType::Settling) started = now;
    if (before == JobType::Settling && static_cast<int>(pendingJobType) >= 0) armed = now;
    if (static_cast<int>(before) >= 0 && pendingJobType == JobType::None) answered = now;
}

LRESULT TimedFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsgParseAnswer) {
        parseBegan = BenchClock::now();
        const LRESULT result = CM5Z30FrameWnd::HandleMessage(msg, wParam, lParam);
        parsed = BenchClock::now();
        ++parsedListings;
        return result;
    }
    const JobType before = pendingJobType;
    const LRESULT result = CM5Z30FrameWnd::HandleMessage(msg, wParam, lParam);
    if (msg == kMsgRunOnUi || msg == kMsgReceived) NotePendingChange(before, BenchClock::now());
    if (msg == kMsgCommandState && wParam == 1 && lParam == 2) ++idleNotices;
    if (msg == kMsgRunOnUi && afterJobStep) afterJobStep();
    return result;
}

Session::Session(int baud, sim::UnitVariant variant,
                 const std::function<std::string(const std::string&, std::string*)>& serve)
    : baud(baud), host([&] {
          sim::UnitOptions options;
          options.variant = variant;
          options.baud = baud;
          options.start = sim::UnitStart::Configuration;
          return options;
      }()) {
    UseRealSkin();
    if (!host.Start(&error)) return;
    std::string device;
    if (serve && (device = serve(host.DevicePath(), &error)).empty()) return;
    const BenchClock::time_point creating = BenchClock::now();
    if (!testsupport::SetUpFrameOnUnit(frame, host, &error, std::to_string(baud), device)) return;
    // A network port is listed after the machine's own ports: the first item is not the one meant.
    if (!device.empty() && !SelectFramePort(frame, device)) {
        error = device + " is not in the port list";
        return;
    }
    createSeconds = Seconds(creating, BenchClock::now());
    frame.ShowWindow(true);
    Click("Open");
    if (!frame.serialPort.IsOpen()) {
        error = "the port did not open";
        return;
    }
    Click("Login");
    if (!testsupport::WaitUntil([&] { return frame.loggedIn.load(); }, kLoginTimeoutMs)) {
        error = "no login";
        return;
    }
    if (!testsupport::WaitUntil([&] { return frame.idleNotices > 0; }, kLoginTimeoutMs)) {
        error = "the worker did not go idle after the login";
        return;
    }
    ready = true;
}

Session::~Session() = default;

void Session::Click(const char* control) {
    if (CControlUI* c = frame.paintManager.FindControl(control)) {
        frame.paintManager.SendNotify(c, "click");
    }
}

bool Session::Load(int timeoutMs) {
    const int parsedBefore = frame.parsedListings;
    const int idleBefore = frame.idleNotices;
    Click("Load");
    return testsupport::WaitUntil(
        [&] { return frame.parsedListings > parsedBefore && frame.idleNotices > idleBefore; },
        timeoutMs);
}

std::uint64_t Session::BytesFromUnit() const {
    return host.Counters().bytesOut;
}

double WireSeconds(std::uint64_t bytes, int baud) {
    return static_cast<double>(bytes) * 10.0 / static_cast<double>(baud);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Worst(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

void PrintResult(const std::string& figure, const std::string& measured, const std::string& target,
                 const std::string& verdict) {
    std::printf("RESULT|%s|%s|%s|%s\n", figure.c_str(), measured.c_str(), target.c_str(),
                verdict.c_str());
    std::fflush(stdout);
}

std::string Verdict(double value, double limit, const char* unit, double scale) {
    if (value <= limit) return "met";
    return Format("MISSED by %.1f %s (%.0f %%)", (value - limit) * scale, unit,
                  100.0 * (value - limit) / limit);
}

std::string Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

}  // namespace bench
