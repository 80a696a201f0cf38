#include "ui/Log.h"

#include <cstring>
#include <ctime>
#include <string>
#include <utility>

#include "ui/Controls.h"
#include "ui/Window.h"

namespace {

void ReleaseLogBlock(WPARAM wParam, LPARAM) {
    delete[] reinterpret_cast<char*>(wParam);
}

LogTap& CurrentTap() {
    static LogTap tap;
    return tap;
}

void PostLogBlock(CWindowWnd& window, std::string_view text, LPARAM flags) {
    auto* block = new char[text.size() + 1]();
    std::memcpy(block, text.data(), text.size());
    window.PostMessage(kMsgLogBlock, reinterpret_cast<WPARAM>(block),
                       static_cast<LPARAM>(text.size()) | flags, &ReleaseLogBlock);
}

}  // namespace

void LogAppend(CWindowWnd& window, std::string_view text, int length) {
    std::size_t n = length > 0 ? static_cast<std::size_t>(length) : text.size();
    if (n > text.size()) n = text.size();
    PostLogBlock(window, text.substr(0, n), 0);
}

void LogReceived(CWindowWnd& window, std::string_view text) {
    PostLogBlock(window, text, kLogReceivedFlag);
}

LogTap SetLogTap(LogTap tap) {
    std::swap(CurrentTap(), tap);
    return tap;
}

void LogViewAppend(CRichEditUI* view, const CStdString& text, LogText kind) {
    // The view whose last line the unit left open (a prompt, an echo without its line end). Only
    // compared, never used; UI thread only.
    static const CRichEditUI* unitLineOpen = nullptr;
    if (!view || text.IsEmpty()) return;
    // Our next line is not glued to the unit's; a line of our own may be finished in two parts.
    const bool breakLine =
        kind == LogText::ProgramLine && view == unitLineOpen && !view->AtLineStart();
    const CStdString shown = breakLine ? "\r\n" + text : text;
    if (const LogTap& tap = CurrentTap()) tap(shown.str());
    // The view is cleared, not trimmed, when the next text would reach its limit. Nothing
    // waits here: a pause on the UI thread would freeze the window while a listing arrives.
    if (view->GetTextLength() + shown.GetLength() >= view->GetLimitText() - 1) {
        view->SetText("");
    }
    view->AppendText(shown);
    unitLineOpen = kind == LogText::Received && !view->AtLineStart() ? view : nullptr;
}

CStdString LocalTimeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return CStdString::Formatted("%04d/%02d/%02d,%02d:%02d:%02d", local.tm_year + 1900,
                                 local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                                 local.tm_sec);
}
