// WM_DEVICECHANGE on a hidden window of the watcher's own thread: Windows tells every top-level
// window when a port comes or goes (DBT_DEVTYP_PORT) and when devices change at all
// (DBT_DEVNODES_CHANGED); the window registers for the COM port interface too.
#include <windows.h>
// clang-format off: dbt.h needs <windows.h> first.
#include <dbt.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "serial/NetworkPort.h"
#include "serial/PortList.h"
#include "serial/PortWatcher.h"

namespace serial {

namespace {

// GUID_DEVINTERFACE_COMPORT
constexpr GUID kComPortInterface = {
    0x86e0d1e0, 0x8089, 0x11d0, {0x9c, 0xe4, 0x08, 0x00, 0x3e, 0x30, 0x1f, 0x73}};
constexpr const char* kWindowClass = "dtuconfigPortWatcher";

LRESULT CALLBACK WatcherProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace

struct PortWatcher::State {
    std::function<void()> changed;
    std::thread thread;
    std::atomic<HWND> window{nullptr};
    HANDLE ready = nullptr;

    void Run() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = WatcherProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);  // fails harmlessly when registered already
        HWND hwnd = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        HDEVNOTIFY notify = nullptr;
        if (hwnd) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&changed));
            DEV_BROADCAST_DEVICEINTERFACE_A filter{};
            filter.dbcc_size = sizeof filter;
            filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
            filter.dbcc_classguid = kComPortInterface;
            notify = RegisterDeviceNotificationA(hwnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
        }
        window = hwnd;
        SetEvent(ready);
        if (!hwnd) return;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        if (notify) UnregisterDeviceNotification(notify);
    }
};

namespace {

LRESULT CALLBACK WatcherProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The watcher's callback, set once the window exists.
    auto* changed =
        reinterpret_cast<std::function<void()>*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (msg) {
        case WM_DEVICECHANGE:
            if ((wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE ||
                 wParam == DBT_DEVNODES_CHANGED) &&
                changed && *changed)
                (*changed)();
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

PortWatcher::PortWatcher() : state_(std::make_unique<State>()) {}

PortWatcher::~PortWatcher() {
    Stop();
}

bool PortWatcher::Start(std::function<void()> changed, const PortRoots&) {
    State& s = *state_;
    if (s.thread.joinable()) return true;
    s.changed = std::move(changed);
    s.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!s.ready) return false;
    try {
        s.thread = std::thread([&s] { s.Run(); });
    } catch (const std::system_error&) {
        CloseHandle(s.ready);
        s.ready = nullptr;
        return false;
    }
    WaitForSingleObject(s.ready, INFINITE);
    CloseHandle(s.ready);
    s.ready = nullptr;
    if (!s.window) {
        s.thread.join();
        return false;
    }
    return true;
}

// Every port's coming and going is told to the window already.
void PortWatcher::Follow(const std::string&) {}

bool PortWatcher::IsRunning() const {
    return state_->thread.joinable();
}

void PortWatcher::Stop() {
    State& s = *state_;
    if (!s.thread.joinable()) return;
    if (HWND hwnd = s.window.load()) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    s.thread.join();
    s.window = nullptr;
}

bool WaitForPort(const std::string& device, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    HANDLE changed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    PortWatcher watcher;
    if (changed) watcher.Start([changed] { SetEvent(changed); });
    bool found = false;
    for (;;) {
        // Checked after the watcher runs, so a port that comes in between is not missed.
        if ((found = PortExists(device))) break;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || !changed) break;
        // No system notice tells of a network server that accepts again: it is asked each second.
        const bool network = IsNetworkPortName(device);
        WaitForSingleObject(changed,
                            static_cast<DWORD>(network ? std::min<long long>(left, 1000) : left));
    }
    watcher.Stop();
    if (changed) CloseHandle(changed);
    return found;
}

}  // namespace serial
