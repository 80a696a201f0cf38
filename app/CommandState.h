#pragma once
// The command buttons' enabled states, the device-state label and the network-mode answer.
//
// Threads: UI thread only (the worker reaches them through synchronous sends).
#include "app/DeviceState.h"
#include "ui/Types.h"

class AppWindow;

// The groups of message 2131, by its lParam.
inline constexpr LPARAM kLoginGroupIndex = 0;
inline constexpr LPARAM kPortGroupIndex = 1;
inline constexpr LPARAM kBusyGroupIndex = 2;

// Handler of message 2131: wParam 1 enables, anything else disables the group lParam (0 login
// state, 1 port state, 2 busy or idle, 3 port opened; others do nothing). The idle notice
// (1, 2) enables only while logged in with the port open. Returns 0.
LRESULT ShowCommandState(AppWindow& frame, WPARAM wParam, LPARAM lParam);
// The caption's help button: shows "helpGroupBox" when hidden, hides it when shown.
void ToggleHelp(AppWindow& frame);
// After a FindNetMode job: the text after "+FINDNETMODE:" up to its line end into
// "FINDNETMODE" (cut to 39 characters); an answer over 100 characters changes nothing.
void ShowNetMode(AppWindow& frame);
// After a Login ("+++"): when the unit has not greeted within the Login's time-out, the log says
// so and the device state shows it; nothing when it greeted or the port closed first.
void WatchLogin(AppWindow& frame);
