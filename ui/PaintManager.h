#pragma once
// CPaintManagerUI: the control tree of one window. It places the skin's root control in the
// window, finds controls by name and by point, and hands every control notification to the
// registered notifiers.
//
// Threads: UI thread only; the instance and resource paths are set once at start-up.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Notify.h"
#include "ui/StdString.h"
#include "ui/Types.h"

class CControlUI;
class COptionUI;
class CWindowWnd;

class CPaintManagerUI {
  public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // The executable's folder, ending in a slash: set once at start-up (tests set their own).
    static void SetInstancePath(const CStdString& path);
    static CStdString GetInstancePath();
    // The folder skin file names are resolved in; a trailing slash is added when missing.
    static void SetResourcePath(const CStdString& path);
    static CStdString GetResourcePath();

    // Takes the window's headless flag with it.
    void Init(CWindowWnd* window);
    // A headless manager (the command line) realizes no control: no widget is ever made.
    void SetHeadless(bool headless) { headless_ = headless; }
    bool IsHeadless() const { return headless_; }
    CWindowWnd* GetWindow() const { return window_; }
    // Makes root the window's content, takes ownership of it and names its controls; realizes
    // it (the pages shown) unless headless.
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return root_; }
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);

    // The first control of that name, or null.
    CControlUI* FindControl(std::string_view name) const;
    // The innermost control under a point in client coordinates, or null.
    CControlUI* FindControl(POINT point) const;

    // The caption band: left and right are margins, top and bottom the band's extent.
    RECT GetCaptionRect() const { return caption_; }
    void SetCaptionRect(const RECT& rect) { caption_ = rect; }
    SIZE GetRoundCorner() const { return roundCorner_; }
    void SetRoundCorner(const SIZE& size) { roundCorner_ = size; }
    SIZE GetInitSize() const { return initSize_; }
    void SetInitSize(const SIZE& size) { initSize_ = size; }

    // Sees a window message first; true when it consumed it (it consumes none today).
    bool MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Runs the application's event loop until the quit message; returns its exit code.
    static int MessageLoop();

    // Delivers a notification to every notifier, in registration order.
    void SendNotify(CControlUI* sender, const char* type, WPARAM wParam = 0, LPARAM lParam = 0);

    // Every named control, in the order they were named.
    std::vector<CControlUI*> NamedControls() const;

    // Bookkeeping of the controls: names, option groups.
    void NameControl(CControlUI* control);
    void ForgetControl(CControlUI* control);
    void DeselectGroup(const CStdString& group, COptionUI* keep);

  private:
    CWindowWnd* window_ = nullptr;
    CControlUI* root_ = nullptr;
    bool headless_ = false;
    std::vector<INotifyUI*> notifiers_;
    std::multimap<std::string, CControlUI*, std::less<>> names_;
    std::vector<CControlUI*> controls_;
    // Lets a queued call find out whether the manager still exists.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    RECT caption_;
    SIZE roundCorner_;
    SIZE initSize_;
};
