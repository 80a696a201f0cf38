#pragma once
// CWindowWnd: a top-level window with a window procedure. Posted messages become Qt events,
// sends from the UI thread are direct calls, sends from other threads wait for the UI thread
// (ui/UiThread.h) and give 0 when the window goes away first.
//
// Threads: PostMessage and SendMessage from any thread; everything else on the UI thread.
#include <functional>
#include <map>
#include <memory>

#include <QRect>

#include "ui/Types.h"
#include "ui/UiThread.h"

class QWidget;
class QTimer;

class CWindowWnd {
  public:
    using TimerProc = std::function<void(UINT id)>;
    // Frees the payload of a posted message that could not be delivered.
    using ReleaseFn = void (*)(WPARAM wParam, LPARAM lParam);

    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    // Creates the window and runs WM_CREATE through HandleMessage. Returns false when a
    // window exists already. UI thread.
    bool Create(CWindowWnd* parent, const char* name, unsigned style, unsigned exStyle, int x,
                int y, int cx, int cy);
    // The window's widget, or null before Create, after the window is destroyed and always
    // when headless.
    QWidget* GetHWND() const;
    // A headless window (the command line) has messages and timers but no widget; set it
    // before Create.
    void SetHeadless(bool headless) { headless_ = headless; }
    bool IsHeadless() const { return headless_; }
    // The window style: WS_CAPTION or WS_THICKFRAME present means a system frame.
    unsigned GetWindowStyle() const { return style_; }
    void SetWindowStyle(unsigned style);
    void ShowWindow(bool show = true);
    void CenterWindow();
    void SetIcon(UINT resourceId);
    bool IsZoomed() const;
    bool IsIconic() const;
    // Destroys the window now: timers stop, sends waiting for it return 0, OnFinalMessage runs.
    void DestroyWindow();

    // Queues a message for HandleMessage; false when the window is gone (the payload is then
    // released by release, if given). Any thread.
    bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, ReleaseFn release = nullptr);
    // Runs HandleMessage with the message and returns its result: at once on the UI thread,
    // otherwise after the UI thread ran it; 0 when the window or the extra gate closes first.
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0,
                        ui::SendGate* extraGate = nullptr);

    // Starts or restarts timer id with the period; proc runs at each tick (WM_TIMER through
    // HandleMessage when proc is empty). UI thread.
    void SetTimer(UINT id, UINT elapseMs, TimerProc proc = {});
    void KillTimer(UINT id);
    // The period of a running timer, or -1 when it is not running. UI thread.
    int TimerInterval(UINT id) const;

    // Ends the message loop with the code once the current handler returns. Any thread.
    static void PostQuitMessage(int exitCode);

    // The window procedure. This default does what the system would: WM_CLOSE destroys the
    // window, WM_SYSCOMMAND minimises, maximises, restores or closes, WM_NCHITTEST is client.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  protected:
    // Releases every send waiting for this window and refuses new ones, so a thread that is
    // being joined can leave a send it is blocked in. The window itself stays.
    void CloseSendGate();
    // Lets sends through again after CloseSendGate (a worker started anew).
    void ReopenSendGate();
    virtual const char* GetWindowClassName() const { return ""; }
    virtual UINT GetClassStyle() const { return 0; }
    // Called after the window was destroyed.
    virtual void OnFinalMessage(QWidget* hwnd) {}

  private:
    friend class WindowHost;
    bool Framed() const;
    void Maximize();
    void Restore();

    struct Shared;
    std::shared_ptr<Shared> shared_;
    QWidget* widget_ = nullptr;
    bool created_ = false;  // between Create and DestroyWindow
    bool headless_ = false;
    unsigned style_ = 0;
    std::map<UINT, QTimer*> timers_;
    bool zoomed_ = false;
    QRect normalGeometry_;
};
