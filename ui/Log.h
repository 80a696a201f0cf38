#pragma once
// The log channel: every line that reaches the log view, from any thread.
#include <functional>
#include <string_view>

#include "ui/StdString.h"
#include "ui/Types.h"

class CWindowWnd;
class CRichEditUI;

// What a piece of log text is: a line of the program's own (a command sent, a result, a
// notice), which always starts on a line of its own, or the unit's text as it arrived, which
// goes on wherever the unit left off.
enum class LogText { ProgramLine, Received };

// The message that carries a heap copy of a log text to the window that owns the log view
// (wParam the block, freed by the handler). Its lParam carries the length; this bit marks the
// unit's text.
inline constexpr UINT kMsgLogBlock = 2125;
inline constexpr long kLogReceivedFlag = 1L << 30;

// Queues a program line for the log view of `window` (kMsgLogBlock with a heap copy); length 0
// means the text's own length, and the copy never reads past the text. Any thread.
void LogAppend(CWindowWnd& window, std::string_view text, int length = 0);
// Queues the unit's text, as received, for the log view. Any thread.
void LogReceived(CWindowWnd& window, std::string_view text);

// Appends to the log view now, clearing it first when the text would reach its limit, and
// scrolls to the end. A program line that would follow unit text that stopped mid-line gets
// a line end first. With a stamp, every line the text starts begins with it. Returns the text
// as shown (empty when nothing was). A window without a log view ignores it. UI thread.
CStdString LogViewAppend(CRichEditUI* view, const CStdString& text,
                         LogText kind = LogText::ProgramLine, std::string_view stamp = {});

// Sees every text given to the log view, in order, as it is appended (UI thread).
using LogTap = std::function<void(std::string_view text)>;
// Sets the process's log tap (empty: none) and returns the previous one. UI thread.
LogTap SetLogTap(LogTap tap);

// The local time of day as "hh:mm:ss.mmm ", the stamp of a log line.
CStdString LogLineStamp();

// The local date and time as "yyyy/mm/dd,hh:mm:ss".
CStdString LocalTimeStamp();
