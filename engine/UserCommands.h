#pragma once
// Every user action on the form: the frame's Notify hands each control notification here.
//
// Threads: UI thread only.
struct TNotifyUI;
class CM5Z30FrameWnd;

void DispatchNotify(CM5Z30FrameWnd& frame, TNotifyUI& msg);
