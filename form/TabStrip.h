#pragma once
// The tab strip above the form's pages.
//
// Threads: UI thread only.
class CM5Z30FrameWnd;

inline constexpr int kStripRebuild = 0;
inline constexpr int kStripBack = 1;
inline constexpr int kStripForward = 2;

// Rebuilds the strip from the tab table and selects the first enabled tab (mode 0), or
// scrolls it back (1) or forward (2).
void ScrollTabStrip(CM5Z30FrameWnd& frame, int mode);
