#pragma once
// The device box's state line: logged in or out, or a note of how the last run ended.
//
// Threads: UI thread only.
class AppWindow;

// Sets the logged-in flag, then "DeviceState" to szLoginOn or szLoginOff; the first login of the
// frame also hides "helpGroupBox".
void SetDeviceState(AppWindow& frame, bool loggedIn);
// Says, in "DeviceState", how the last run or login ended when it was no plain success
// ([DeviceNote] `key`); the logged-in flag stays as it is.
void ShowDeviceStateNote(AppWindow& frame, const char* key);
