#include "engine/FrameTimers.h"

#include "engine/EngineWindow.h"
#include "engine/FrameMessages.h"

void OnFrameTimer(EngineWindow& frame, UINT id) {
    switch (id) {
        case kPromptTimer:
            frame.serialPort.WriteBytes("s", 1);
            break;
        case kStartupTimer:
            // Killed first: the about text may open a box whose loop would let it fire again.
            frame.KillTimer(kStartupTimer);
            frame.SendMessage(kMsgAboutHelp, 0, 0);
            break;
        default:
            break;
    }
}

void StartPromptTimer(EngineWindow& frame, UINT periodMs) {
    frame.SetTimer(kPromptTimer, periodMs, [&frame](UINT id) { OnFrameTimer(frame, id); });
}
