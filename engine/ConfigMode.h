#pragma once
// Bringing the unit into its configuration mode with "+++", and commands written at once
// beside the job queue.
//
// Threads: UI thread only.
#include <string_view>

class CM5Z30FrameWnd;

// The Login button: empties the receive buffer, stops the prompt answers, writes "+++" at once
// and awaits the unit's greeting (pending kind EnterConfig).
void Login(CM5Z30FrameWnd& frame);
// Writes text to the port now, bypassing the queue, and logs "[ComSend] send:text\r\n".
// Returns the number of bytes written.
unsigned SendRaw(CM5Z30FrameWnd& frame, std::string_view text);
