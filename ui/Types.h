#pragma once
// The window-message vocabulary the program is written in: message numbers, their two
// arguments and the system command and hit-test codes, with their Windows values.
#include <cstdint>

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
// The window state changed (whoever changed it); wParam SIZE_RESTORED, SIZE_MINIMIZED or
// SIZE_MAXIMIZED.
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_USER = 0x0400;

inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_RESTORE = 0xF120;

inline constexpr LRESULT HTCLIENT = 1;
inline constexpr LRESULT HTCAPTION = 2;

// Message-box flags and results, as MessageBoxA takes and gives them.
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_DEFBUTTON2 = 0x00000100;  // the second button (Cancel, No) is the default
inline constexpr UINT MB_ICONERROR = 0x00000010;
inline constexpr UINT MB_ICONWARNING = 0x00000030;
inline constexpr UINT MB_ICONINFORMATION = 0x00000040;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

struct POINT {
    int x = 0;
    int y = 0;
};

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct SIZE {
    int cx = 0;
    int cy = 0;
};

// The low and high signed 16-bit halves of a point packed into an LPARAM.
inline int GET_X_LPARAM(LPARAM l) {
    return static_cast<std::int16_t>(l & 0xFFFF);
}
inline int GET_Y_LPARAM(LPARAM l) {
    return static_cast<std::int16_t>((l >> 16) & 0xFFFF);
}
inline LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(hi & 0xFFFF) << 16) |
                               static_cast<std::uint32_t>(lo & 0xFFFF));
}

// Window styles; the frame only removes the caption and the sizing border (borderless window).
inline constexpr unsigned WS_OVERLAPPEDWINDOW = 0x00CF0000;
inline constexpr unsigned WS_VISIBLE = 0x10000000;
inline constexpr unsigned WS_CAPTION = 0x00C00000;
inline constexpr unsigned WS_THICKFRAME = 0x00040000;
inline constexpr unsigned WS_CLIPSIBLINGS = 0x04000000;
inline constexpr unsigned WS_CLIPCHILDREN = 0x02000000;
