#include "app/Entry.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/Connect.h"
#include "app/FrameWnd.h"
#include "app/NetworkPortEntry.h"
#include "form/ConfigFiles.h"
#include "form/TabStrip.h"
#include "settings/Labels.h"
#include "settings/Settings.h"
#include "settings/System.h"
#include "sim/VirtualUnitHost.h"
#include "ui/Container.h"
#include "ui/Control.h"
#include "ui/Controls.h"
#include "ui/Log.h"
#include "ui/PaintManager.h"
#include "ui/QtTranslations.h"

namespace {

// The window's style and size, as the program has always been created.
constexpr unsigned kFrameStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
constexpr int kFrameWidth = 1400;
constexpr int kFrameHeight = 800;
// Time for the first layout and paint before a screenshot is taken.
constexpr int kScreenshotDelayMs = 400;

std::unique_ptr<sim::VirtualUnitHost> StartVirtualUnit(const GuiOptions& options) {
    sim::UnitOptions unit;
    if (!sim::ParseVariant(options.simulateVariant, &unit.variant)) {
        std::fprintf(stderr, "dtuconfig: unknown virtual unit variant '%s'\n",
                     options.simulateVariant.c_str());
        return nullptr;
    }
    // The form opens the port at 9600 baud unless told otherwise; the unit speaks the same.
    unit.baud = 9600;
    auto host = std::make_unique<sim::VirtualUnitHost>(unit);
    std::string error;
    if (!host->Start(&error)) {
        std::fprintf(stderr, "dtuconfig: the virtual unit did not start: %s\n", error.c_str());
        return nullptr;
    }
    return host;
}

// For the real-window check: where every named control is on the screen, one line each.
void ReportControls(CM5Z30FrameWnd& frame) {
    for (CControlUI* c : frame.paintManager.NamedControls()) {
        QWidget* w = c->GetWidget();
        if (!w) continue;
        QPoint at = w->mapToGlobal(QPoint(0, 0));
        std::printf("CONTROL %s|%s|%d|%d|%d|%d|%d\n", c->GetName().GetData(), c->GetClass(), at.x(),
                    at.y(), w->width(), w->height(), c->IsVisible() && w->isVisible());
    }
    std::printf("CONTROLS END\n");
    std::fflush(stdout);
}

// For the screen check: the screen's free area and the window in it, then every control shown,
// page by page, scrolled into view as the engineer would scroll it, with the part of it then
// unclipped by the window and the scroll areas around it: "REACH page|name|x|y|w|h|vx|vy|vw|vh"
// (page -1: the controls outside the pages), all in the screen's coordinates.
void ReportReach(CM5Z30FrameWnd& frame) {
    QWidget* window = frame.GetHWND();
    auto* pages = dynamic_cast<CTabLayoutUI*>(frame.paintManager.FindControl("switch"));
    if (!window || !pages || !pages->GetWidget()) return;
    const QRect area = window->screen()->availableGeometry();
    const QRect placed = window->frameGeometry();
    std::printf("SCREEN %d|%d|%d|%d\nWINDOW %d|%d|%d|%d\n", area.x(), area.y(), area.width(),
                area.height(), placed.x(), placed.y(), placed.width(), placed.height());
    const auto settle = [] {
        // Layouts settle level by level before anything is measured.
        for (int pass = 0; pass < 4; ++pass) QCoreApplication::processEvents();
    };
    const auto seenOf = [](QWidget* w) {
        QRect seen(w->mapToGlobal(QPoint(0, 0)), w->size());
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
            seen &= QRect(p->mapToGlobal(QPoint(0, 0)), p->size());
        }
        return seen;
    };
    CControlUI* forward = frame.paintManager.FindControl("TabRight");
    const auto report = [&](int page) {
        QWidget* shown = page >= 0 ? pages->GetItemAt(page)->GetWidget() : nullptr;
        for (CControlUI* c : frame.paintManager.NamedControls()) {
            QWidget* w = c->GetWidget();
            if (!w || !w->isVisibleTo(window)) continue;
            const bool inPages = pages->GetWidget()->isAncestorOf(w);
            if (page < 0 ? inPages : !(shown && shown->isAncestorOf(w))) continue;
            // Scroll bars the engineer can move; a strip that only cuts off has its arrow.
            bool cut = false;
            for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
                auto* scroll = qobject_cast<QScrollArea*>(p);
                if (!scroll) continue;
                if (scroll->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
                    cut = true;
                } else {
                    scroll->ensureWidgetVisible(w, 0, 0);
                }
            }
            for (int click = 0; cut && forward && click < kTabCount; ++click) {
                if (seenOf(w).size() == w->size()) break;
                frame.paintManager.SendNotify(forward, "click");
                settle();
            }
            const QRect whole(w->mapToGlobal(QPoint(0, 0)), w->size());
            const QRect seen = seenOf(w);
            std::printf("REACH %d|%s|%d|%d|%d|%d|%d|%d|%d|%d\n", page, c->GetName().GetData(),
                        whole.x(), whole.y(), whole.width(), whole.height(), seen.x(), seen.y(),
                        seen.width(), seen.height());
        }
    };
    report(-1);
    ScrollTabStrip(frame, kStripRebuild);
    for (int page = 0; page < pages->GetCount(); ++page) {
        pages->SelectItem(page);
        settle();
        report(page);
    }
    pages->SelectItem(0);
    std::printf("REACH END\n");
    std::fflush(stdout);
}

// For the real-window check: the controls are reported again after each change of the window's
// state, whoever made it, once the frame has handled it.
class StateChangeReporter : public QObject {
  public:
    explicit StateChangeReporter(CM5Z30FrameWnd& frame) : frame_(frame) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange) {
            QTimer::singleShot(0, this, [this] { ReportControls(frame_); });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    CM5Z30FrameWnd& frame_;
};

// Puts the form into the state a screenshot asks for: combo picks (which run their layout
// rules, as a user's picks do) and the page to show.
void PrepareScreenshot(CM5Z30FrameWnd& frame, const GuiOptions& options) {
    for (const std::string& pick : options.screenshotSelections) {
        auto eq = pick.rfind('=');
        if (eq == std::string::npos) continue;
        auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(pick.substr(0, eq)));
        if (combo) combo->SelectItem(std::atoi(pick.c_str() + eq + 1));
    }
    if (options.screenshotPage >= 0 && options.screenshotPage < kTabCount) {
        const std::string& button =
            frame.tabTable[static_cast<std::size_t>(options.screenshotPage)].name;
        if (auto* option = dynamic_cast<COptionUI*>(
                frame.paintManager.FindControl(button.substr(0, button.size() - 3)))) {
            option->Selected(true);
        }
    }
}

// DTU_BENCH_TIMING: the start-up benchmark is told on stderr when the first paint of the window
// has been flushed (steady clock, ns, the clock the benchmark shares) and the peak resident
// memory at exit. Nothing else changes.
class FirstPaintStamp : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        qApp->removeEventFilter(this);
        // Posted behind the paint: it runs once the whole first frame has gone to the screen.
        QTimer::singleShot(0, [] {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::fprintf(stderr, "DTU_TIMING first_paint_steady_ns=%lld\n",
                         static_cast<long long>(
                             std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        });
        return false;
    }
};

// As the desktop opens a .cfg file: shown in the form, written to no unit until the engineer
// asks.
bool OpenFileAtStart(CM5Z30FrameWnd& frame, const std::string& file) {
    std::error_code ec;
    const auto path = std::filesystem::absolute(file, ec);
    return OpenConfigFileAtStart(frame, CStdString(ec ? file : path.string()));
}

void ReportPeakMemory() {
    std::fprintf(stderr, "DTU_TIMING peak_rss_kb=%ld\n", sys::PeakMemoryKb());
}

}  // namespace

int RunGui(const GuiOptions& options) {
    const bool benchTiming = std::getenv("DTU_BENCH_TIMING") != nullptr;
    FirstPaintStamp firstPaint;
    if (benchTiming) qApp->installEventFilter(&firstPaint);
    const int language = SetUpSkinAndLabels();
    const std::string instance = CPaintManagerUI::GetInstancePath().str();
    ui::UseQtTranslations(language != 0, {instance, DataFolder(instance)});

    std::unique_ptr<sim::VirtualUnitHost> unit;
    if (options.simulate) unit = StartVirtualUnit(options);

    auto frame = std::make_unique<CM5Z30FrameWnd>();
    frame->language = language;
    frame->portFollow.reopenLost = ReadReopenSetting(ConfigIniPath(instance));
    if (unit) frame->extraPorts.push_back(unit->DevicePath());
    LoadRememberedNetworkPorts(*frame, ConfigIniPath(instance));
    frame->Create(nullptr, "DTU", kFrameStyle, 0, 0, 0, kFrameWidth, kFrameHeight);
    if (!options.selectPort.empty() && !SelectFramePort(*frame, options.selectPort)) {
        std::fprintf(stderr, "dtuconfig: %s is not among the serial ports\n",
                     options.selectPort.c_str());
    }
    if (!options.openFile.empty() && !OpenFileAtStart(*frame, options.openFile)) {
        std::fprintf(stderr, "dtuconfig: %s cannot be read or holds no configuration\n",
                     options.openFile.c_str());
    }
    // Through the log channel like every other line, so that Save log keeps it too.
    if (!frame->StartWorker()) LogAppend(*frame, LabelText("WinMain", "WorkThread", "\r\n").str());
    frame->CenterWindow();
    frame->ShowWindow(true);

    std::unique_ptr<StateChangeReporter> stateReporter;
    if (std::getenv("DTU_REPORT_CONTROLS")) {
        QTimer::singleShot(kScreenshotDelayMs, [&] { ReportControls(*frame); });
        stateReporter = std::make_unique<StateChangeReporter>(*frame);
        if (QWidget* hwnd = frame->GetHWND()) hwnd->installEventFilter(stateReporter.get());
    }
    if (std::getenv("DTU_REPORT_REACH")) {
        QTimer::singleShot(kScreenshotDelayMs, [&] { ReportReach(*frame); });
    }
    int exitCode = 0;
    if (!options.screenshotPath.empty()) {
        PrepareScreenshot(*frame, options);
        QTimer::singleShot(kScreenshotDelayMs, [&] {
            QWidget* hwnd = frame->GetHWND();
            bool saved = hwnd && hwnd->grab().save(QString::fromStdString(options.screenshotPath));
            if (!saved) {
                std::fprintf(stderr, "dtuconfig: cannot save %s\n", options.screenshotPath.c_str());
                exitCode = 1;
            }
            CWindowWnd::PostQuitMessage(0);
        });
    }
    int loop = CPaintManagerUI::MessageLoop();
    stateReporter.reset();
    frame.reset();
    if (unit) unit->Stop();
    if (benchTiming) ReportPeakMemory();
    return exitCode ? exitCode : loop;
}
