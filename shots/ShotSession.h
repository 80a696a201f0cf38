#pragma once
// What every screenshot starts from: the real frame on one of the program's skins, connected
// over a pseudo-terminal to the virtual unit and logged in, driven through its own controls as
// an engineer drives it, with Qt's own dialogs; and the grabs that turn what it shows into
// images.
//
// Threads: UI thread only. The frame's worker reaches the frame through its synchronous sends,
// which run inside the waits here.
#include <QImage>
#include <QTimer>
#include <functional>
#include <string>

#include "app/FrameWnd.h"
#include "sim/VirtualUnitHost.h"

class QWidget;

namespace shots {

// The window's two languages and the skin folder each is drawn from.
struct Language {
    const char* tag;  // the file names' prefix
    const char* skinFolder;
    int language;  // the frame's language setting
};
inline constexpr Language kLanguages[] = {
    {"en", "ConifgENRes", 0},
    {"zh", "ConifgRes", 1},
};

// The frame, counting what a session waits for.
class ShotFrame : public CM5Z30FrameWnd {
  public:
    // The worker goes while this override still exists.
    ~ShotFrame() override { StopWorker(); }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    int parsedListings = 0;  // 2126 handled
    int idleNotices = 0;     // the worker found the queue empty after work (2131 with 1, 2)
};

// Runs once with the dialog that opened; it grabs what it needs and closes the dialog.
using DialogHandler = std::function<void(QWidget* dialog)>;

class ShotSession {
  public:
    // `skinRoot` holds the skin folders; the unit paces its output at `baud`, the port opens
    // at the same baud.
    ShotSession(const std::string& skinRoot, const Language& language, int baud);
    ~ShotSession();

    // Raises "click" on the named control, as a press of the button does; a button the
    // engineer could not press now is not pressed: false with the reason in `error`.
    bool Click(const char* control);
    // Types the text into the named field and leaves it, as the engineer does.
    bool Type(const char* field, const std::string& text);
    // Shows the page whose tab button has this name.
    bool ShowPage(const char* tabButton);
    // Does `action` and, when it says it queued work, waits until the worker has run every job
    // it caused; false when it did not or on a time-out.
    bool Settle(const std::function<bool()>& action, int ms = 30000);
    // "Load": the unit's listing into the form.
    bool Load();
    // The login after "Open": the unit brought into its setting mode.
    bool LogIn();
    // Closes the port, opens it again and logs in: a new connection to the same unit.
    bool Reconnect();
    // Does `action`, handing the first modal dialog it opens to `handler`; false (with the
    // reason in `error`) when the action failed or no dialog opened.
    bool WithDialog(const std::function<bool()>& action, const DialogHandler& handler);

    // The frame as it is on the screen now.
    QImage GrabWindow();

    bool ready = false;
    std::string error;
    // Dialogs that opened without being asked for; each was closed and named on stderr.
    int unexpectedDialogs = 0;
    sim::VirtualUnitHost host;
    ShotFrame frame;

  private:
    void LookForDialog();

    QTimer dialogWatch_;
    DialogHandler expected_;
    bool handling_ = false;
};

// What the screen shows of the program: the frame, the dialog over it (when not null) and the
// popup open over either (a combo's or a search field's list), as one picture. Without a window
// manager a dialog has no frame of its own; a thin line stands for it.
QImage GrabScreen(QWidget* window, QWidget* dialog = nullptr);

}  // namespace shots
