#pragma once
// The log channel: every line that reaches the log view, from any thread.
#include <string_view>

#include "ui/StdString.h"

class CM5Z30FrameWnd;
class CRichEditUI;

// Queues text for the log view (message 2125 with a heap copy); length 0 means the text's
// own length, and the copy never reads past the text. Any thread.
void LogAppend(CM5Z30FrameWnd& frame, std::string_view text, int length = 0);

// Appends to the log view now, clearing it first when the text would reach its limit, and
// scrolls to the end. A frame without a log view ignores it. UI thread.
void LogViewAppend(CRichEditUI* view, const CStdString& text);

// The local date and time as "yyyy/mm/dd,hh:mm:ss".
CStdString LocalTimeStamp();
