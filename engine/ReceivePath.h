#pragma once
// The receive path: everything the unit sends, gathered in the frame's receive buffer, judged
// for the awaited answer and for the unit's configuration mode.
//
// Threads: UI thread only.
#include <chrono>

#include "params/Listing.h"
#include "ui/Types.h"

class EngineWindow;

// Handler of message 1034: one received block (at most 4095 bytes; the buffer has room for a
// terminating zero). Logs it, appends it, runs the completion and the mode tests. Returns 0.
LRESULT OnReceive(EngineWindow& frame, char* block, int count);
// Appends count bytes to the receive buffer, dropping the oldest when it would overflow. Zero
// bytes are line noise (the unit's text never holds one) and are left out, so the content
// stays one searchable text and a label or result line a zero fell into reads as sent.
void AppendReceived(EngineWindow& frame, int count, const char* block);
// Empties the receive buffer.
void ClearReceived(EngineWindow& frame);
// True when a block arrived within the span before now (steady clock) and it did not end the
// answer awaited: the unit may still be sending.
bool StillArriving(const EngineWindow& frame, std::chrono::milliseconds span);
