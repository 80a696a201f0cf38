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
// Writes text to the port now, bypassing the queue, and logs "[ComSend] send:text\r\n".
// Returns the number of bytes written.
unsigned SendRaw(EngineWindow& frame, std::string_view text);
