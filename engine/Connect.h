#pragma once
// The frame's side of the port list and of connecting: builds the port combo and toggles the
// connection with the frame's state.
//
// Threads: UI thread only.
class CM5Z30FrameWnd;

// Fills "SerialPort" with the system's ports (and the frame's extra ports, such as a running
// virtual unit); 1 when the list was built, 0 when there are none or no such combo.
int FillFramePortList(CM5Z30FrameWnd& frame);
// Opens the port with the form's settings, or closes it when it is open.
void ToggleFrameConnection(CM5Z30FrameWnd& frame);
// The monitor reported that the device went away: close as a click on "Open" would, and log
// it. UI thread.
void OnPortLost(CM5Z30FrameWnd& frame);
