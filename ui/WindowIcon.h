#pragma once
// The program's icon for its top-level windows, from the skin folder's PNGs.
//
// Threads: UI thread only.
#include <QIcon>

namespace ui {

// Every "dtuconfig_N.png" of the resource path, so the window system picks the size it shows;
// a null icon when the skin has none.
QIcon SkinWindowIcon();

}  // namespace ui
