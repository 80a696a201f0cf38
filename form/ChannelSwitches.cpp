#include "form/ChannelSwitches.h"

#include "ui/Control.h"
#include "ui/PaintManager.h"

namespace {
constexpr std::string_view kOn = "enable";
constexpr std::string_view kOff = "disable";
}  // namespace

bool IsSwitchOn(CPaintManagerUI& paintManager, std::string_view name) {
    CControlUI* control = paintManager.FindControl(name);
    return control && control->GetBkImage().Find(kOn) >= 0;
}

void SetSwitch(CPaintManagerUI& paintManager, std::string_view name, bool on) {
    CControlUI* control = paintManager.FindControl(name);
    if (!control) return;
    CStdString image = control->GetBkImage();
    if (on)
        image.Replace(kOff, kOn);
    else
        image.Replace(kOn, kOff);
    control->SetBkImage(image);
}
