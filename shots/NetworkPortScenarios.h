#pragma once
// The screenshots of ports on a network serial server in the window's port list.
//
// Threads: UI thread only.
#include <QImage>

#include "shots/ShotSession.h"

namespace shots {

// The port closed, "Add network port…" picked and an address typed in its dialog: the list
// opened, showing the port added below the machine's own, chosen.
bool NetworkPortAdded(ShotSession& session, QImage* shot);
// The session's unit served by ser2net on a loopback port with the COM port option, that port
// added through the entry, opened, logged into and loaded: the form and the log of a unit read
// through a network serial server. Needs ser2net.
bool NetworkPortLoaded(ShotSession& session, QImage* shot);

}  // namespace shots
