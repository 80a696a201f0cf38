#pragma once
// The screenshots that show the window speaking its language throughout: Qt's own file dialog,
// and the review listing choices as the form shows them.
//
// Threads: UI thread only.
#include <QImage>

#include "shots/ShotSession.h"

namespace shots {

// After a Load, "Save to file": Qt's save dialog, grabbed over the window and cancelled.
bool FileDialog(ShotSession& session, QImage* shot);
// After a Load, a list switched and a field edited: the review Save opens, cancelled once
// grabbed.
bool ReviewChoices(ShotSession& session, QImage* shot);

}  // namespace shots
