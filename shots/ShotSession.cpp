#include "shots/ShotSession.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QWidget>
#include <cstdio>

#include "settings/Labels.h"
#include "tests/support/EventLoop.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"
#include "ui/QtTranslations.h"

namespace shots {

namespace {

constexpr int kLoginTimeoutMs = 5000;
// How often a wait looks at its condition and the session looks for a dialog.
constexpr int kLookPeriodMs = 20;
// Time for a freshly opened dialog's layout and first paint before it is grabbed.
constexpr int kDialogSettleMs = 300;

void UseSkin(const std::string& folder) {
    CPaintManagerUI::SetResourcePath(folder);
    CPaintManagerUI::SetInstancePath(folder);
    SetLabelFilePath(folder + "/Language.ini");
}

bool SelectText(CM5Z30FrameWnd& frame, const char* comboName, const std::string& text) {
    auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(comboName));
    if (!combo) return false;
    for (int i = 0; i < combo->GetCount(); ++i) {
        if (combo->GetItemAt(i)->GetText().str() == text) return combo->SelectItem(i);
    }
    return false;
}

// Every label and button text of the dialog, for the message that names it.
std::string DialogTexts(QWidget* dialog) {
    std::string texts = dialog->windowTitle().toStdString();
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        texts += " | " + label->text().toStdString();
    }
    return texts;
}

}  // namespace

LRESULT ShotFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsgCommandState && wParam == 1 && lParam == 2) ++idleNotices;
    const LRESULT result = CM5Z30FrameWnd::HandleMessage(msg, wParam, lParam);
    if (msg == kMsgParseAnswer) ++parsedListings;
    return result;
}

ShotSession::ShotSession(const std::string& skinRoot, const Language& language, int baud)
    : host([&] {
          sim::UnitOptions options;
          options.baud = baud;
          options.start = sim::UnitStart::Configuration;
          return options;
      }()) {
    UseSkin(skinRoot + "/" + language.skinFolder);
    // Qt's own dialogs in the window's language, as the program itself starts.
    ui::UseQtTranslations(language.language != 0, {});
    QObject::connect(&dialogWatch_, &QTimer::timeout, [this] { LookForDialog(); });
    dialogWatch_.start(kLookPeriodMs);
    if (!host.Start(&error)) return;
    frame.extraPorts = {host.DevicePath()};
    frame.language = language.language;
    frame.Create(nullptr, "DTU", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1400, 800);
    if (!frame.logView || !frame.StartWorker()) {
        error = "the skin did not load or the worker did not start";
        return;
    }
    frame.ShowWindow(true);
    if (!SelectText(frame, "BaudRate1", std::to_string(baud))) {
        error = "the baud rate list has no " + std::to_string(baud);
        return;
    }
    ready = Click("Open") && LogIn();
}

ShotSession::~ShotSession() {
    dialogWatch_.stop();
}

bool ShotSession::LogIn() {
    if (!frame.serialPort.IsOpen()) {
        error = "the port did not open";
        return false;
    }
    const int idleBefore = frame.idleNotices;
    // The open port enables Login through a posted message: the engineer sees it, then presses.
    CControlUI* login = frame.paintManager.FindControl("Login");
    testsupport::WaitUntil([&] { return login && login->IsEnabled(); }, kLoginTimeoutMs);
    if (!Click("Login")) return false;
    if (!testsupport::WaitUntil([&] { return frame.loggedIn.load(); }, kLoginTimeoutMs)) {
        error = "no login";
        return false;
    }
    // The worker's first idle period comes once it sees the login; a later login queues no job
    // and brings none, so only the first is waited for.
    if (idleBefore == 0 &&
        !testsupport::WaitUntil([&] { return frame.idleNotices > idleBefore; }, kLoginTimeoutMs)) {
        error = "the worker did not go idle after the login";
        return false;
    }
    return true;
}

bool ShotSession::Click(const char* control) {
    CControlUI* c = frame.paintManager.FindControl(control);
    if (!c || !c->IsEnabled() || !c->IsVisible()) {
        error = std::string(control) + (c ? " cannot be pressed now" : " is not on the skin");
        return false;
    }
    frame.paintManager.SendNotify(c, "click");
    return true;
}

bool ShotSession::Type(const char* field, const std::string& text) {
    CControlUI* control = frame.paintManager.FindControl(field);
    if (!control) {
        error = std::string("the skin has no field ") + field;
        return false;
    }
    control->SetText(text);
    frame.paintManager.SendNotify(control, "killfocus");
    return true;
}

bool ShotSession::ShowPage(const char* tabButton) {
    auto* option = dynamic_cast<COptionUI*>(frame.paintManager.FindControl(tabButton));
    if (!option) {
        error = std::string("the skin has no tab ") + tabButton;
        return false;
    }
    option->Selected(true);
    return true;
}

bool ShotSession::Settle(const std::function<bool()>& action, int ms) {
    const int before = frame.idleNotices;
    if (!action()) return false;
    if (testsupport::WaitUntil([&] { return frame.idleNotices > before; }, ms)) return true;
    error = "the worker did not finish in time";
    return false;
}

bool ShotSession::Load() {
    const int before = frame.parsedListings;
    if (!Settle([&] { return Click("Load"); })) return false;
    if (frame.parsedListings > before) return true;
    error = "Load read no listing";
    return false;
}

bool ShotSession::Reconnect() {
    if (!Click("Open")) return false;
    if (frame.serialPort.IsOpen()) {
        error = "the port did not close";
        return false;
    }
    return Click("Open") && LogIn();
}

bool ShotSession::WithDialog(const std::function<bool()>& action, const DialogHandler& handler) {
    bool handled = false;
    expected_ = [&](QWidget* dialog) {
        handled = true;
        handler(dialog);
    };
    // A dialog the worker asks for opens after the action returns.
    const bool acted = action() && testsupport::WaitUntil([&] { return handled; }, kLoginTimeoutMs);
    expected_ = nullptr;
    if (!acted && error.empty()) error = "no dialog opened";
    return acted;
}

void ShotSession::LookForDialog() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || handling_) return;
    handling_ = true;
    testsupport::RunEventsFor(kDialogSettleMs);
    if (expected_) {
        DialogHandler handler = std::move(expected_);
        expected_ = nullptr;
        handler(dialog);
    } else {
        ++unexpectedDialogs;
        std::fprintf(stderr, "screenshots: a dialog opened unasked: %s\n",
                     DialogTexts(dialog).c_str());
    }
    // Whatever the handler left open is cancelled, so the session never waits for a person.
    if (QApplication::activeModalWidget() == dialog) {
        if (auto* d = qobject_cast<QDialog*>(dialog)) {
            d->reject();
        } else {
            dialog->close();
        }
    }
    handling_ = false;
}

QImage ShotSession::GrabWindow() {
    QWidget* window = frame.GetHWND();
    return window ? window->grab().toImage() : QImage();
}

QImage GrabScreen(QWidget* window, QWidget* dialog) {
    QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    // Centred over the frame, as Qt places a dialog on a screen that holds the whole frame (the
    // offscreen screen is smaller); a popup keeps its place on what it opened from.
    QWidget* under = window;
    QPoint underAt(0, 0);
    if (dialog) {
        under = dialog;
        underAt = QPoint((window->width() - dialog->width()) / 2,
                         (window->height() - dialog->height()) / 2);
        painter.drawPixmap(underAt, dialog->grab());
        painter.setPen(window->palette().color(QPalette::Dark));
        painter.drawRect(QRect(underAt, dialog->size()).adjusted(-1, -1, 0, 0));
    }
    if (QWidget* popup = QApplication::activePopupWidget()) {
        const QPoint offset = popup->mapToGlobal(QPoint(0, 0)) - under->mapToGlobal(QPoint(0, 0));
        painter.drawPixmap(underAt + offset, popup->grab());
    }
    return image;
}

}  // namespace shots
