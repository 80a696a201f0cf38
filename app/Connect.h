#pragma once
#include <string>

// The frame's side of the port list and of connecting: builds the port combo and toggles the
// connection with the frame's state.
//
// Threads: UI thread only.
class AppWindow;

// Fills "SerialPort" with the frame's extra ports (such as a running virtual unit) and the
// system's ports, each item the device path, and the entries below them (PortListEntries.h);
// 1 when the list was built, 0 when there is nothing to list (the skin's items stay) or no
// such combo.
int FillFramePortList(AppWindow& frame);
// Selects the "SerialPort" item whose text is device; false when the list has none.
bool SelectFramePort(AppWindow& frame, const std::string& device);
// The "Open" button: opens the port with the form's settings (refusing settings that cannot
// describe a line, with the OpenError line and the reason), or closes it when it is open.
void ToggleFrameConnection(AppWindow& frame);
// The monitor reported that the device went away: closes as a click on "Open" would, logging
// LostNotice instead of CloseNotice. Nothing when the port was closed already.
void OnPortLost(AppWindow& frame);
