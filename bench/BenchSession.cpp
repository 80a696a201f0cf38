#include "bench/BenchSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "settings/Labels.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"

namespace bench {

namespace {

constexpr int kLoginTimeoutMs = 5000;
// How often a wait looks at its condition; the figures come from the frame's stamps, not from
// this period.
constexpr int kLookPeriodMs = 5;

void UseRealSkin() {
    const std::string skin = std::string(DTU_BENCH_SKIN_DIR) + "/ConifgENRes";
    CPaintManagerUI::SetResourcePath(skin);
    CPaintManagerUI::SetInstancePath(skin);
    SetLabelFilePath(skin + "/Language.ini");
}

bool SelectText(CM5Z30FrameWnd& frame, const char* comboName, const std::string& text) {
    auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(comboName));
    if (!combo) return false;
    for (int i = 0; i < combo->GetCount(); ++i) {
        if (combo->GetItemAt(i)->GetText().str() == text) return combo->SelectItem(i);
    }
    return false;
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

int SilentDialogs::ShowMessageBox(const CStdString& text, const CStdString&, UINT) {
    std::fprintf(stderr, "bench: message box: %s\n", text.GetData());
    return IDOK;
}

bool SilentDialogs::GetOpenFileName(const ui::FileDialogSpec&, CStdString*) {
    return false;
}

bool SilentDialogs::GetSaveFileName(const ui::FileDialogSpec&, CStdString*) {
    return false;
}

Session::Session(int baud, sim::UnitVariant variant)
    : baud(baud), host([&] {
          sim::UnitOptions options;
          options.variant = variant;
          options.baud = baud;
          options.start = sim::UnitStart::Configuration;
          return options;
      }()) {
    UseRealSkin();
    if (!host.Start(&error)) return;
    frame.extraPorts = {host.DevicePath()};
    const BenchClock::time_point creating = BenchClock::now();
    frame.Create(nullptr, "DTU", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1400, 800);
    createSeconds = Seconds(creating, BenchClock::now());
    if (!frame.logView || !frame.StartWorker()) {
        error = "the skin did not load or the worker did not start";
        return;
    }
    frame.ShowWindow(true);
    if (!SelectText(frame, "BaudRate1", std::to_string(baud))) {
        error = "the baud rate list has no " + std::to_string(baud);
        return;
    }
    Click("Open");
    if (!frame.serialPort.IsOpen()) {
        error = "the port did not open";
        return;
    }
    Click("Login");
    if (!WaitUntil([&] { return frame.loggedIn.load(); }, kLoginTimeoutMs)) {
        error = "no login";
        return;
    }
    if (!WaitUntil([&] { return frame.idleNotices > 0; }, kLoginTimeoutMs)) {
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

bool Session::WaitUntil(const std::function<bool()>& done, int ms) {
    // The loop sleeps until an event comes; the tick makes sure one comes now and then, so the
    // condition is looked at without spinning on the thread being measured.
    QTimer tick;
    tick.start(kLookPeriodMs);
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void Session::RunEventsFor(int ms) {
    QElapsedTimer t;
    t.start();
    WaitUntil([&] { return t.elapsed() >= ms; }, ms + kLookPeriodMs);
}

bool Session::Load(int timeoutMs) {
    const int parsedBefore = frame.parsedListings;
    const int idleBefore = frame.idleNotices;
    Click("Load");
    return WaitUntil(
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
