#pragma once
// The program's whole window, for the form's tests that need more than the form: its worker on
// a unit, the caption's buttons, the find field. Records what the form's tests look at.
#include <string>
#include <vector>

#include "app/FrameWnd.h"
#include "ui/Log.h"

namespace formtest {

class WholeFrame : public CM5Z30FrameWnd {
  public:
    // The worker goes while the whole frame, this override included, still exists.
    ~WholeFrame() override { StopWorker(); }
    int parsedListings = 0;
    int idleNotices = 0;  // the worker found the queue empty after jobs (2131 with 1, 2)
    std::vector<std::string> programLines;  // the log's texts of the program's own, not the unit's
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kMsgLogBlock && (lParam & kLogReceivedFlag) == 0) {
            programLines.emplace_back(reinterpret_cast<const char*>(wParam),
                                      static_cast<std::size_t>(lParam));
        }
        if (msg == kMsgCommandState && wParam == 1 && lParam == 2) ++idleNotices;
        const LRESULT result = CM5Z30FrameWnd::HandleMessage(msg, wParam, lParam);
        if (msg == kMsgParseAnswer) ++parsedListings;
        return result;
    }
};

}  // namespace formtest
