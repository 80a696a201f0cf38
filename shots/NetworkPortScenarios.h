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

}  // namespace shots
