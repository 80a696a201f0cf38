#include "ui/Window.h"

#include "ui/WindowIcon.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <mutex>

// What posting threads may see of a window: the widget while it lives, and the gate that
// releases sends when it goes.
struct CWindowWnd::Shared {
    std::mutex mutex;
    CWindowWnd* owner = nullptr;  // written on the UI thread; null once the object is gone
    bool open = false;            // the window exists; written on the UI thread under mutex
    ui::SendGate gate;
};

namespace {

// A posted message's arguments; a message never delivered releases its payload.
struct PostedPayload {
    PostedPayload(WPARAM w, LPARAM l, CWindowWnd::ReleaseFn r) : wParam(w), lParam(l), release(r) {}
    ~PostedPayload() {
        if (!delivered && release) release(wParam, lParam);
    }
    WPARAM wParam;
    LPARAM lParam;
    CWindowWnd::ReleaseFn release;
    bool delivered = false;
};

}  // namespace

// The top-level widget: turns Qt's events into the window's messages.
class WindowHost : public QWidget {
  public:
    explicit WindowHost(CWindowWnd* owner) : owner_(owner) {}
    // The window object lets go of its widget, which Qt deletes a little later: events that
    // reach it meanwhile find no window procedure.
    void Detach() { owner_ = nullptr; }

  protected:
    void closeEvent(QCloseEvent* e) override {
        // The window procedure decides; its default destroys the window.
        e->ignore();
        if (owner_) owner_->HandleMessage(WM_CLOSE, 0, 0);
    }

    void changeEvent(QEvent* e) override {
        QWidget::changeEvent(e);
        if (!owner_ || e->type() != QEvent::WindowStateChange) return;
        const WPARAM kind = isMinimized()   ? SIZE_MINIMIZED
                            : isMaximized() ? SIZE_MAXIMIZED
                                            : SIZE_RESTORED;
        owner_->HandleMessage(WM_SIZE, kind, 0);
    }

    void mousePressEvent(QMouseEvent* e) override {
        if (owner_ && e->button() == Qt::LeftButton) {
            QPoint g = e->globalPosition().toPoint();
            if (owner_->HandleMessage(WM_NCHITTEST, 0, MAKELPARAM(g.x(), g.y())) == HTCAPTION) {
                e->accept();
                // The second press of a double click maximises or restores, as on a window
                // manager's own caption; it starts no move, which would take the pointer.
                if (SecondCaptionClick(g)) return ToggleZoom();
                lastCaptionPress_.start();
                lastCaptionPoint_ = g;
                // The window manager moves the window where it can; without one (a bare X
                // server) the window follows the mouse itself.
                if (!windowHandle() || !windowHandle()->startSystemMove()) {
                    dragging_ = true;
                    dragOffset_ = g - frameGeometry().topLeft();
                }
                return;
            }
        }
        lastCaptionPress_.invalidate();
        QWidget::mousePressEvent(e);
    }

    void mouseDoubleClickEvent(QMouseEvent* e) override {
        // Where the platform gives the second press as a double click alone, it toggles here;
        // where the press came too, that press has toggled already.
        if (owner_ && e->button() == Qt::LeftButton) {
            QPoint g = e->globalPosition().toPoint();
            if (owner_->HandleMessage(WM_NCHITTEST, 0, MAKELPARAM(g.x(), g.y())) == HTCAPTION) {
                e->accept();
                if (SecondCaptionClick(g)) ToggleZoom();
                return;
            }
        }
        QWidget::mouseDoubleClickEvent(e);
    }

    void mouseMoveEvent(QMouseEvent* e) override {
        if (dragging_) {
            move(e->globalPosition().toPoint() - dragOffset_);
            e->accept();
            return;
        }
        QWidget::mouseMoveEvent(e);
    }

    void mouseReleaseEvent(QMouseEvent* e) override {
        dragging_ = false;
        QWidget::mouseReleaseEvent(e);
    }

  private:
    void ToggleZoom() {
        lastCaptionPress_.invalidate();
        dragging_ = false;
        owner_->HandleMessage(WM_SYSCOMMAND, owner_->IsZoomed() ? SC_RESTORE : SC_MAXIMIZE, 0);
    }

    bool SecondCaptionClick(QPoint at) const {
        const QStyleHints* hints = QGuiApplication::styleHints();
        return lastCaptionPress_.isValid() &&
               lastCaptionPress_.elapsed() <= hints->mouseDoubleClickInterval() &&
               (at - lastCaptionPoint_).manhattanLength() <= hints->mouseDoubleClickDistance();
    }

    CWindowWnd* owner_;
    bool dragging_ = false;
    QPoint dragOffset_;
    QElapsedTimer lastCaptionPress_;
    QPoint lastCaptionPoint_;
};

CWindowWnd::CWindowWnd() : shared_(std::make_shared<Shared>()) {
    shared_->owner = this;
}

CWindowWnd::~CWindowWnd() {
    shared_->gate.Close();
    for (auto& [id, timer] : timers_) delete timer;
    timers_.clear();
    {
        std::lock_guard lock(shared_->mutex);
        shared_->open = false;
        shared_->owner = nullptr;
    }
    delete widget_;
}

bool CWindowWnd::Create(CWindowWnd* parent, const char* name, unsigned style, unsigned exStyle,
                        int x, int y, int cx, int cy) {
    if (created_) return false;
    if (!headless_) {
        auto* host = new WindowHost(this);
        host->setWindowTitle(QString::fromUtf8(name ? name : ""));
        if (const QIcon icon = ui::SkinWindowIcon(); !icon.isNull()) host->setWindowIcon(icon);
        host->setGeometry(x, y, cx, cy);
        widget_ = host;
    }
    created_ = true;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->open = true;
    }
    shared_->gate.Reopen();
    SetWindowStyle(style);
    HandleMessage(WM_CREATE, 0, 0);
    // WS_VISIBLE is honoured by the caller's ShowWindow, after the window has been placed.
    return true;
}

QWidget* CWindowWnd::GetHWND() const {
    return widget_;
}

void CWindowWnd::SetWindowStyle(unsigned style) {
    style_ = style;
    if (!widget_) return;
    bool framed = (style & (WS_CAPTION | WS_THICKFRAME)) != 0;
    bool visible = widget_->isVisible();
    widget_->setWindowFlag(Qt::FramelessWindowHint, !framed);
    if (visible) widget_->show();
}

void CWindowWnd::ShowWindow(bool show) {
    if (widget_) widget_->setVisible(show);
}

void CWindowWnd::CenterWindow() {
    if (!widget_) return;
    QScreen* screen = widget_->screen() ? widget_->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // A window larger than the screen's free area is made to fit it (down to its least size),
    // then placed so its top left corner, where the caption starts, is on the screen.
    const QRect outer = widget_->frameGeometry();
    const QSize edges = outer.size() - widget_->size();
    // The offscreen platform (screenshots and tests without a display) makes up an 800x600
    // screen: there is nothing to fit there, and a picture of the window keeps its own size.
    const bool realScreen = QGuiApplication::platformName() != QLatin1String("offscreen");
    const QSize fits =
        realScreen
            ? widget_->size().boundedTo(area.size() - edges).expandedTo(widget_->minimumSize())
            : widget_->size();
    if (fits != widget_->size()) widget_->resize(fits);
    QRect frame(outer.topLeft(), fits + edges);
    frame.moveCenter(area.center());
    frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())));
    frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height())));
    widget_->move(frame.topLeft());
}

void CWindowWnd::SetIcon(UINT) {
    // The program has no icon resources of its own on this platform; the desktop's default
    // application icon stands in.
}

bool CWindowWnd::IsZoomed() const {
    if (!widget_) return false;
    // A window manager may maximise even a borderless window (a shortcut, tiling).
    return widget_->isMaximized() || (!Framed() && zoomed_);
}

bool CWindowWnd::Framed() const {
    return (style_ & (WS_CAPTION | WS_THICKFRAME)) != 0;
}

void CWindowWnd::Maximize() {
    if (!Framed()) {
        // A borderless window fills the screen's work area itself, so it behaves the same
        // with any window manager or none.
        if (zoomed_) return;
        QScreen* screen = widget_->screen() ? widget_->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        normalGeometry_ = widget_->geometry();
        zoomed_ = true;
        widget_->setGeometry(screen->availableGeometry());
        return;
    }
    widget_->showMaximized();
}

void CWindowWnd::Restore() {
    if (widget_->isMinimized() || widget_->isMaximized()) widget_->showNormal();
    if (!Framed()) {
        if (!zoomed_) return;
        zoomed_ = false;
        widget_->setGeometry(normalGeometry_);
        return;
    }
    widget_->showNormal();
}
bool CWindowWnd::IsIconic() const {
    return widget_ && widget_->isMinimized();
}

void CWindowWnd::DestroyWindow() {
    if (!created_) return;
    created_ = false;
    shared_->gate.Close();
    for (auto& [id, timer] : timers_) delete timer;
    timers_.clear();
    QWidget* hwnd = widget_;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->open = false;
    }
    widget_ = nullptr;
    if (hwnd) {
        static_cast<WindowHost*>(hwnd)->Detach();
        hwnd->hide();
        hwnd->deleteLater();
    }
    OnFinalMessage(hwnd);
}

bool CWindowWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam, ReleaseFn release) {
    auto payload = std::make_shared<PostedPayload>(wParam, lParam, release);
    {
        std::lock_guard lock(shared_->mutex);
        if (!shared_->open) return false;  // the payload goes with it
    }
    auto shared = shared_;
    return ui::PostToUiThread([shared, msg, payload] {
        // The window is destroyed on this thread only, so what is seen here holds for the call.
        if (!shared->owner || !shared->open) return;
        payload->delivered = true;
        shared->owner->HandleMessage(msg, payload->wParam, payload->lParam);
    });
}

LRESULT CWindowWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam, ui::SendGate* extraGate) {
    auto shared = shared_;
    return ui::RunOnUiThread(
        [this, shared, msg, wParam, lParam]() -> std::intptr_t {
            if (!shared->open) return 0;
            return HandleMessage(msg, wParam, lParam);
        },
        {&shared->gate, extraGate});
}

void CWindowWnd::SetTimer(UINT id, UINT elapseMs, TimerProc proc) {
    if (!created_) return;
    QTimer*& timer = timers_[id];
    if (!timer) timer = new QTimer();
    timer->disconnect();
    QObject::connect(timer, &QTimer::timeout, [this, id, proc] {
        if (proc) {
            proc(id);
        } else {
            HandleMessage(WM_TIMER, id, 0);
        }
    });
    timer->start(static_cast<int>(elapseMs));
}

void CWindowWnd::KillTimer(UINT id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
}

int CWindowWnd::TimerInterval(UINT id) const {
    auto it = timers_.find(id);
    return it == timers_.end() ? -1 : it->second->interval();
}

void CWindowWnd::CloseSendGate() {
    shared_->gate.Close();
}

void CWindowWnd::ReopenSendGate() {
    shared_->gate.Reopen();
}

void CWindowWnd::PostQuitMessage(int exitCode) {
    auto* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(
        app, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
}

LRESULT CWindowWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CLOSE:
            DestroyWindow();
            return 0;
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_SYSCOMMAND:
            if (!widget_) return 0;
            switch (wParam & 0xFFF0) {
                case SC_MINIMIZE:
                    widget_->showMinimized();
                    break;
                case SC_MAXIMIZE:
                    Maximize();
                    break;
                case SC_RESTORE:
                    Restore();
                    break;
                case SC_CLOSE:
                    HandleMessage(WM_CLOSE, 0, 0);
                    break;
                default:
                    break;
            }
            return 0;
        default:
            return 0;
    }
}
