// Placeholders until the form's rules land; each is replaced by its own file.
#include "form/LayoutRules.h"
#include "form/TabStrip.h"

void ApplyLayoutRule(CM5Z30FrameWnd&, int, LPARAM) {}
void ScrollTabStrip(CM5Z30FrameWnd&, int) {}
