#pragma once
// What the engine tests share: a small skin with exactly the controls the engine uses, a frame
// that records the messages it handles and every log block, recorded message boxes, and waits
// that run the event loop.
#include <functional>
#include <string>
#include <vector>

#include "app/FrameWnd.h"
#include "sim/VirtualUnitHost.h"
#include "tests/support/Dialogs.h"
#include "tests/support/EventLoop.h"
#include "tests/support/RecordingEngineWindow.h"
#include "ui/Control.h"
#include "ui/Dialogs.h"

namespace enginetest {

// The labels of the test skin's Language.ini.
inline constexpr const char* kSendLabel = "TX";
inline constexpr const char* kOutTimeLabel = "No answer";
inline constexpr const char* kNotSentLabel = "Not sent";
inline constexpr const char* kLateLabel = "Late:";
inline constexpr const char* kCommandErrorLabel = "Command refused";
inline constexpr const char* kSaveSuccessLabel = "Parameter saved";
inline constexpr const char* kSaveErrorLabel = "Parameter refused";
inline constexpr const char* kFactorySuccessLabel = "Factory settings restored";
inline constexpr const char* kFactoryErrorLabel = "Factory restore refused";
inline constexpr const char* kOpenLabel = "Connect";
inline constexpr const char* kCloseLabel = "Disconnect";
inline constexpr const char* kOpenNoticeLabel = "Port opened";
inline constexpr const char* kCloseNoticeLabel = "Port closed";
inline constexpr const char* kOpenErrorLabel = "Port cannot be opened";
inline constexpr const char* kLostNoticeLabel = "Port lost";
inline constexpr const char* kLoginOnLabel = "Setting mode";
inline constexpr const char* kLoginOffLabel = "Working mode";
inline constexpr const char* kIpNoticeLabel = "An address holds a space";

// Writes the test skin (once per process), makes it the resource path and its Language.ini
// the label file; returns its folder.
const std::string& UseTestSkin();
// Makes a skin folder the resource path and its Language.ini the label file.
void UseSkin(const std::string& folder);

// A frame on the test skin that records what it handles. Messages that would leave the test
// (language switch, file dialogs, system commands) and the form's own handlers (layout rules,
// parsing) are recorded and not run.
class RecordingFrame : public CM5Z30FrameWnd {
  public:
    // On the test skin, or on the skin folder given (with its Language.ini).
    explicit RecordingFrame(const std::string& skinFolder = {});
    // Stops the worker while the whole frame still exists.
    ~RecordingFrame() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Creates the window on the test skin; false when the skin did not load.
    bool Open();

    // The recorded messages of one number, in order.
    std::vector<Message> Of(UINT msg) const;
    int Count(const Message& message) const;
    // Finds a control by name.
    CControlUI* Control(const char* name);
    // Selects the item with this text in a combo; false when there is none.
    bool Select(const char* combo, const std::string& text);
    // Raises a notification from the named control, as the UI library would.
    void Notify(const char* control, const char* type);
    // Clicks the named control.
    void Click(const char* control) { Notify(control, "click"); }

    // Whether 2126 also runs the parameter model's parsing and form filling.
    bool runParse = false;
    std::vector<Message> messages;
    std::string log;                           // every log block, in arrival order
    std::vector<std::string> parsed;           // the receive buffer at each 2126
    std::vector<bool> loadEnabledOnReceive;    // "Load" enabled when each block arrived
    std::vector<int> promptTimerAfterReceive;  // timer 101's period after each block
};

// Creates the frame's window and opens its port at 115200 baud on a virtual unit in setting
// mode that answers nothing: commands are written, their answers are the test's to hand in.
// False when that failed.
bool OpenOnSilentUnit(RecordingFrame& frame, sim::VirtualUnitHost& host);
// Options of a unit that starts in setting mode.
sim::UnitOptions SettingModeUnit();

using testsupport::RecordingDialogs;

using testsupport::Occurrences;
using testsupport::ProcessCpuMs;
using testsupport::RunEventsFor;
using testsupport::WaitUntil;

}  // namespace enginetest
