#pragma once
// Every user action on the form: the frame's Notify hands each control notification here,
// which turns it into a queued job, an immediate action, a message to the frame or a change
// of appearance. It keeps nothing between notifications.
//
// Threads: UI thread only.
struct TNotifyUI;
class AppWindow;

// Dispatches one notification by its type ("click", "selectchanged", "itemselect",
// "setfocus", "killfocus", "return"; others are ignored) and its sender's name.
void DispatchNotify(AppWindow& frame, TNotifyUI& msg);
