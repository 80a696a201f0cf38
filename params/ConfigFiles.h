#pragma once
// Backing a unit up to a .cfg file and restoring it from one.
//
// Threads: UI thread only.
class CM5Z30FrameWnd;

// Handler of 2128: asks for a file, then reads the unit into it.
void SaveToFile(CM5Z30FrameWnd& frame);
// Handler of 2129: asks for a file, fills the form from it, then applies it to the unit.
void LoadFromFile(CM5Z30FrameWnd& frame);
