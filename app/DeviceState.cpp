#include "app/DeviceState.h"

#include "app/AppWindow.h"
#include "settings/Labels.h"
#include "ui/Control.h"

void SetDeviceState(AppWindow& frame, bool loggedIn) {
    // The help makes room for the form once the first unit answers; shown again (the caption's
    // help button), it stays for later logins.
    const bool firstLogin = loggedIn && !frame.loggedIn && frame.logins == 0;
    if (loggedIn && !frame.loggedIn) ++frame.logins;
    frame.loggedIn = loggedIn;
    CControlUI* state = frame.paintManager.FindControl("DeviceState");
    if (!state) return;
    state->SetText(LabelText("SetDeviceState", loggedIn ? "szLoginOn" : "szLoginOff"));
    if (!firstLogin) return;
    if (CControlUI* help = frame.paintManager.FindControl("helpGroupBox")) help->SetVisible(false);
}

void ShowDeviceStateNote(AppWindow& frame, const char* key) {
    if (CControlUI* state = frame.paintManager.FindControl("DeviceState")) {
        state->SetText(LabelText("DeviceNote", key));
    }
}
