#include "ui/Log.h"

#include <chrono>
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

// The text with stamp before each line it starts: its first when it starts one, and every
// line after a line end within it.
std::string StampLines(std::string_view text, std::string_view stamp, bool startsLine) {
    std::string stamped;
    stamped.reserve(text.size() + stamp.size());
    // A line feed first ends the line its carriage return began: the stamp goes after it.
    if (startsLine && !text.starts_with('\n')) stamped += stamp;
    for (std::size_t i = 0; i < text.size(); ++i) {
        stamped += text[i];
        if (text[i] == '\n' && i + 1 < text.size()) stamped += stamp;
    }
    return stamped;
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

CStdString LogViewAppend(CRichEditUI* view, const CStdString& text, LogText kind,
                         std::string_view stamp) {
    // The view whose last line the unit left open (a prompt, an echo without its line end). Only
    // compared, never used; UI thread only.
    static const CRichEditUI* unitLineOpen = nullptr;
    if (!view || text.IsEmpty()) return {};
    // Our next line is not glued to the unit's; a line of our own may be finished in two parts.
    const bool breakLine =
        kind == LogText::ProgramLine && view == unitLineOpen && !view->AtLineStart();
    CStdString shown = breakLine ? "\r\n" + text : text;
    if (!stamp.empty()) {
        // After a break the stamp follows its line end, as after any line end within the text.
        shown = CStdString(StampLines(shown.str(), stamp, view->AtLineStart()));
    }
    if (const LogTap& tap = CurrentTap()) tap(shown.str());
    // The view is cleared, not trimmed, when the next text would reach its limit. Nothing
    // waits here: a pause on the UI thread would freeze the window while a listing arrives.
    if (view->GetTextLength() + shown.GetLength() >= view->GetLimitText() - 1) {
        view->SetText("");
    }
    view->AppendText(shown);
    unitLineOpen = kind == LogText::Received && !view->AtLineStart() ? view : nullptr;
    return shown;
}

CStdString LogLineStamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    return CStdString::Formatted("%02d:%02d:%02d.%03d ", local.tm_hour, local.tm_min, local.tm_sec,
                                 static_cast<int>(ms));
}

CStdString LocalTimeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return CStdString::Formatted("%04d/%02d/%02d,%02d:%02d:%02d", local.tm_year + 1900,
                                 local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                                 local.tm_sec);
}
