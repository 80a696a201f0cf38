#include "engine/ConfigMode.h"

#include "engine/EngineWindow.h"
#include "engine/FrameTimers.h"
#include "engine/JobTypes.h"
#include "engine/ReceivePath.h"
#include "settings/Labels.h"
#include "ui/Log.h"

void Login(EngineWindow& frame) {
    ClearReceived(frame);
    frame.KillTimer(kPromptTimer);
    SendRaw(frame, "+++");
    frame.pendingJobType = JobType::EnterConfig;
}

void ProbeSettingMode(EngineWindow& frame) {
    ClearReceived(frame);
    frame.KillTimer(kPromptTimer);
    frame.pendingJobType = JobType::ModeProbe;
    SendRaw(frame, JobCommand(JobType::ModeProbe));
}

unsigned SendRaw(EngineWindow& frame, std::string_view text) {
    // Logged before the write: the answer can only be logged after it anyway, this keeps the
    // log in the order things happened on the line.
    CStdString line = LabelText("ComSend", "send") + ":" + text + "\r\n";
    LogAppend(frame, line.str());
    return frame.serialPort.WriteBytes(text.data(), static_cast<unsigned>(text.size()));
}
