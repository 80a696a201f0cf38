#include "tests/support/RecordingEngineWindow.h"

#include "engine/ReceivePath.h"
#include "ui/Log.h"

namespace enginetest {

bool RecordingEngineWindow::Open() {
    SetHeadless(true);
    return Create(nullptr, "engine", 0, 0, 0, 0, 0, 0);
}

LRESULT RecordingEngineWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsgLogBlock) {
        // A delivered log block is its handler's to free, as the frame's log view does.
        auto* block = reinterpret_cast<char*>(wParam);
        if (block) log += block;
        delete[] block;
        return 0;
    }
    messages.push_back({msg, wParam, lParam});
    return EngineWindow::HandleMessage(msg, wParam, lParam);
}

std::vector<Message> RecordingEngineWindow::Of(UINT msg) const {
    std::vector<Message> result;
    for (const Message& m : messages) {
        if (m.msg == msg) result.push_back(m);
    }
    return result;
}

void Feed(EngineWindow& window, const std::string& bytes) {
    std::vector<char> block(bytes.begin(), bytes.end());
    block.push_back('#');
    OnReceive(window, block.data(), static_cast<int>(bytes.size()));
}

}  // namespace enginetest
