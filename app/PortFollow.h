#pragma once
// The port list follows adapters plugged in and out, and a port lost while open is reopened
// with its settings, and logged into again, when the same adapter comes back.
//
// Threads: UI thread only (the watcher's own thread only posts kMsgPortsChanged).
#include <optional>
#include <string>

#include "app/PortFollowState.h"

class AppWindow;

// Starts following the ports where the frame's port roots say.
void StartPortFollow(AppWindow& frame);
// Remembers the port just opened with the form's settings.
void NotePortOpened(AppWindow& frame, const std::string& device);
// Remembers the open port as lost, to be awaited back when reopening is on.
void NotePortLost(AppWindow& frame);
// Forgets the open port (closed by the user).
void NotePortClosed(AppWindow& frame);
// Logs [Reopen] key with the port's settings and the device it is (or was) on.
void LogFollowedPort(AppWindow& frame, const char* key, const FollowedPort& port,
                     const std::string& device);
