#pragma once
// The data-route switches: their state is the word "enable" or "disable" in their background
// image name.
//
// Threads: UI thread only.
class CControlUI;

// Turns every "disable" in the image name into "enable" when it holds one, otherwise every
// "enable" into "disable"; a name with neither stays.
void ToggleRouteSwitch(CControlUI& control);
