#pragma once
// CM5Z30FrameWnd: the program's one window. It owns the state's parts (AppWindow.h and the
// parts below it) and wires them: its window procedure routes the system's messages and the
// program's own (1034, 2124 to 2132) to the controllers, and it fills in the engine's hooks.
//
// Threads: the frame lives on the UI thread. The worker reaches it only through synchronous
// sends (SendMessage) and posted log blocks; the serial port's monitor through 1034 sends.
// Members the worker reads are atomic; everything else, the parameter table and the receive
// state included, is touched on the UI thread only.
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/AppWindow.h"
#include "app/PortFollow.h"
#include "app/Progress.h"
#include "engine/CommandJob.h"
#include "engine/EngineHooks.h"
#include "engine/EngineWindow.h"
#include "engine/FrameMessages.h"
#include "form/FormWindow.h"
#include "params/Listing.h"
#include "params/ParameterTable.h"
#include "serial/PortRoots.h"
#include "serial/SerialPort.h"
#include "ui/Log.h"
#include "ui/Notify.h"
#include "ui/PaintManager.h"
#include "ui/StdString.h"
#include "ui/Window.h"

// The main window: the routing of messages and notifications to the controllers. Its state is
// in parts: the engine's (EngineWindow.h), the form's (FormWindow.h) and the application's
// (AppWindow.h).
class CM5Z30FrameWnd : public AppWindow, public INotifyUI {
  public:
    CM5Z30FrameWnd();
    ~CM5Z30FrameWnd() override;

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Notify(TNotifyUI& msg) override;

    // Window initialisation, after the skin is loaded. UI thread.
    void SetUpWindow();

    // The frame the timer procedure and the tests find.
    static CM5Z30FrameWnd* Instance();

  protected:
    const char* GetWindowClassName() const override { return "M5Z30"; }
    UINT GetClassStyle() const override { return 8; }  // CS_DBLCLKS
    void OnFinalMessage(QWidget* hwnd) override;

  private:
    LRESULT OnCreate();
    LRESULT OnNcHitTest(LPARAM lParam);
    LRESULT OnSystemCommand(WPARAM wParam, LPARAM lParam, bool& handled);
    // The maximise and restore buttons as the window's state is now.
    void ShowZoomButtons();
    LRESULT OnCloseRequest();
    void ShowPendingEditsIfDue();
    LRESULT OnLogBlock(WPARAM wParam, LPARAM lParam);
};
