#include "engine/RouteSwitch.h"

#include "ui/Control.h"

void ToggleRouteSwitch(CControlUI& control) {
    CStdString image = control.GetBkImage();
    if (image.Find("disable") >= 0) {
        image.Replace("disable", "enable");
    } else {
        image.Replace("enable", "disable");
    }
    control.SetBkImage(image);
}
