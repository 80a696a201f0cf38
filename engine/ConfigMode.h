#pragma once
// Bringing the unit into its configuration mode with "+++", and commands written at once
// beside the job queue.
//
// Threads: UI thread only.
#include <string_view>

class EngineWindow;

// The Login button: empties the receive buffer, stops the prompt answers, writes "+++" at once
// and awaits the unit's greeting (pending kind EnterConfig).
void Login(EngineWindow& frame);
// Finds out whether the unit is in its setting mode already (left there by an earlier run):
// empties the receive buffer, stops the prompt answers (an "s" would spoil the command), writes
// "\r\nAT\r\n" at once and awaits its OK (pending kind ModeProbe), which shows the logged-in
// state as the greeting does. A unit in its working mode answers nothing.
void ProbeSettingMode(EngineWindow& frame);
// Writes text to the port now, bypassing the queue, and logs "[ComSend] send:text\r\n".
// Returns the number of bytes written.
unsigned SendRaw(EngineWindow& frame, std::string_view text);
