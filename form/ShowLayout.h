#pragma once
// ShowLayout: the one way the form's rows and group boxes are shown and hidden. The
// parameters inside a layout take part in writing exactly while the layout is shown.
//
// Threads: UI thread only.
#include <string_view>

#include "form/FormContext.h"

// Shows or hides the skin's layout of that name and marks the parameters the layout table
// gives it; a shown cascade box posts its rule. A name the skin lacks changes nothing. UI thread.
void ShowLayout(FormContext& form, std::string_view layout, bool visible);
