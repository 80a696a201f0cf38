#include "engine/Log.h"

#include <cstring>
#include <ctime>
#include <string>
#include <utility>

#include "app/FrameWnd.h"
#include "ui/Controls.h"

namespace {

void ReleaseLogBlock(WPARAM wParam, LPARAM) {
    delete[] reinterpret_cast<char*>(wParam);
}

LogTap& CurrentTap() {
    static LogTap tap;
    return tap;
}

}  // namespace

void LogAppend(CM5Z30FrameWnd& frame, std::string_view text, int length) {
    std::size_t n = length > 0 ? static_cast<std::size_t>(length) : text.size();
    if (n > text.size()) n = text.size();
    auto* block = new char[n + 1]();
    std::memcpy(block, text.data(), n);
    frame.PostMessage(kMsgLogBlock, reinterpret_cast<WPARAM>(block), static_cast<LPARAM>(n),
                      &ReleaseLogBlock);
}

LogTap SetLogTap(LogTap tap) {
    std::swap(CurrentTap(), tap);
    return tap;
}

void LogViewAppend(CRichEditUI* view, const CStdString& text) {
    if (!view || text.IsEmpty()) return;
    if (const LogTap& tap = CurrentTap()) tap(text.str());
    // The view is cleared, not trimmed, when the next text would reach its limit. Nothing
    // waits here: a pause on the UI thread would freeze the window while a listing arrives.
    if (view->GetTextLength() + text.GetLength() >= view->GetLimitText() - 1) {
        view->SetText("");
    }
    view->AppendText(text);
}

CStdString LocalTimeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return CStdString::Formatted("%04d/%02d/%02d,%02d:%02d:%02d", local.tm_year + 1900,
                                 local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                                 local.tm_sec);
}
