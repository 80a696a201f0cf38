#include "shots/Scenarios.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>

#include "shots/LanguageScenarios.h"
#include "shots/NetworkPortScenarios.h"
#include "tests/support/EventLoop.h"
#include "ui/Controls.h"

namespace shots {

namespace {

// The two edits every scenario with pending changes makes, both on the servers' page.
constexpr const char* kPage = "Server";
constexpr const char* kIpField = "Server's Ip";
constexpr const char* kIp = "10.4.4.4";
constexpr const char* kPortField = "Server's Port";
constexpr const char* kPort = "7004";
// Grabbed when the bar has gone this far, so it stands clearly mid-way.
constexpr int kMidLoadPercent = 45;
constexpr int kLoadTimeoutMs = 15000;
// Time for a list that was just opened to be laid out and drawn.
constexpr int kPopupSettleMs = 300;
constexpr const char* kFindField = "FindParam";
constexpr const char* kFindText = "ip";

void SendKey(QWidget* to, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(to, &release);
}

bool LoadAndEditTwo(ShotSession& s) {
    return s.Load() && s.ShowPage(kPage) && s.Type(kIpField, kIp) && s.Type(kPortField, kPort);
}

// Save, its review accepted as shown: every row written.
bool SaveAll(ShotSession& s) {
    return s.Settle([&] {
        return s.WithDialog([&] { return s.Click("Save"); },
                            [](QWidget* review) {
                                if (auto* dialog = qobject_cast<QDialog*>(review)) dialog->accept();
                            });
    });
}

bool PendingEdits(ShotSession& s, QImage* shot) {
    if (!LoadAndEditTwo(s)) return false;
    *shot = s.GrabWindow();
    return true;
}

// The review Save opens, cancelled once grabbed: nothing is written.
bool Review(ShotSession& s, QImage* shot) {
    return LoadAndEditTwo(s) &&
           s.WithDialog([&] { return s.Click("Save"); },
                        [&](QWidget* review) { *shot = GrabScreen(s.frame.GetHWND(), review); });
}

// Two connections, each with a Save, leave two backups; the History list is grabbed open.
bool History(ShotSession& s, QImage* shot) {
    if (!s.Load() || !s.ShowPage(kPage) || !s.Type(kIpField, kIp) || !SaveAll(s)) return false;
    if (!s.Reconnect() || !s.Load() || !s.Type(kPortField, kPort) || !SaveAll(s)) return false;
    return s.WithDialog([&] { return s.Click("History"); },
                        [&](QWidget* dialog) {
                            if (auto* list = dialog->findChild<QComboBox*>()) {
                                list->showPopup();
                                testsupport::RunEventsFor(kPopupSettleMs);
                            }
                            *shot = GrabScreen(s.frame.GetHWND(), dialog);
                            if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
                        });
}

// A Load at 9600 baud, grabbed with the bar mid-way.
bool LoadProgress(ShotSession& s, QImage* shot) {
    auto* bar = dynamic_cast<CProgressUI*>(s.frame.paintManager.FindControl("JobProgress"));
    if (!bar) {
        s.error = "the skin has no progress bar";
        return false;
    }
    const int before = s.frame.idleNotices;
    if (!s.Click("Load")) return false;
    if (!testsupport::WaitUntil([&] { return bar->GetValue() >= kMidLoadPercent; },
                                kLoadTimeoutMs)) {
        s.error = "the Load did not get mid-way";
        return false;
    }
    *shot = s.GrabWindow();
    // The Load ends before the session goes.
    return testsupport::WaitUntil([&] { return s.frame.idleNotices > before; }, kLoadTimeoutMs);
}

// Ctrl+F, then "ip" typed key by key as the engineer types it: the field's list of matches
// opens over the pages (labels in the window's language, then names and command words).
bool FindList(ShotSession& s, QImage* shot) {
    QWidget* window = s.frame.GetHWND();
    if (!s.Load() || !window) return false;
    // Shortcuts go to the active window only.
    window->activateWindow();
    testsupport::WaitUntil([&] { return QApplication::activeWindow() == window; }, 3000);
    SendKey(window->focusWidget() ? window->focusWidget() : window, Qt::Key_F, Qt::ControlModifier,
            {});
    QWidget* field = QApplication::focusWidget();
    if (!field || CControlUI::FromWidget(field) != s.frame.paintManager.FindControl(kFindField)) {
        s.error = "Ctrl+F did not focus the find field";
        return false;
    }
    for (QChar c : QString(kFindText)) SendKey(field, c.toUpper().unicode(), Qt::NoModifier, c);
    if (!testsupport::WaitUntil([] { return QApplication::activePopupWidget() != nullptr; },
                                kPopupSettleMs * 10)) {
        s.error = "the find field listed no matches";
        return false;
    }
    testsupport::RunEventsFor(kPopupSettleMs);
    *shot = GrabScreen(window);
    QApplication::activePopupWidget()->close();
    return true;
}

constexpr Scenario kScenarios[] = {
    {"pending-edits", 115200, PendingEdits},
    {"review", 115200, Review},
    {"history", 115200, History},
    {"load-progress", 9600, LoadProgress},
    {"find", 115200, FindList},
    {"file-dialog", 115200, FileDialog},
    {"review-choices", 115200, ReviewChoices},
    {"network-port", 115200, NetworkPortAdded},
    {"network-port-load", 115200, NetworkPortLoaded},
};

}  // namespace

std::span<const Scenario> Scenarios() {
    return kScenarios;
}

}  // namespace shots
