#pragma once
// A lost port's return: when the ports changed, the list is filled anew, and the port lost while
// open is reopened with its settings and logged into again once the same adapter is back. It
// drives the connection (Connect.h) from what the following remembers (PortFollow.h); the
// connection only tells the following what it opened, closed or lost.
//
// Threads: UI thread only.
class AppWindow;

// kMsgPortsChanged: refills the list and reopens the lost port when it is back.
void OnPortsChanged(AppWindow& frame);
