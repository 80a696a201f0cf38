#pragma once
// The engine on its own: a window with the receive state, the queue and the port, made headless
// on a core application, that records what the receive path posts to it. Blocks are handed in
// as the serial monitor hands them.
#include <string>
#include <vector>

#include "engine/EngineWindow.h"
#include "ui/Types.h"

namespace enginetest {

struct Message {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Message&) const = default;
};

class RecordingEngineWindow : public EngineWindow {
  public:
    // Creates the window headless; false when that failed.
    bool Open();
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The recorded messages of one number, in order.
    std::vector<Message> Of(UINT msg) const;

    std::vector<Message> messages;  // every message but the log's
    std::string log;                // every log block, in arrival order
};

// Hands one block to the receive path as the monitor would, with the spare byte after it.
void Feed(EngineWindow& window, const std::string& bytes);

}  // namespace enginetest
