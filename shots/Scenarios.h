#pragma once
// The screenshots the documentation shows, one row each: what the engineer does to get there
// and what is grabbed.
//
// Threads: UI thread only.
#include <QImage>
#include <span>

#include "shots/ShotSession.h"

namespace shots {

struct Scenario {
    const char* name;  // the file is <language>-<name>.png
    int baud;          // the unit's and the port's
    // Brings the session to the state shown and grabs it; false with the reason in
    // session.error.
    bool (*run)(ShotSession& session, QImage* shot);
};

std::span<const Scenario> Scenarios();

}  // namespace shots
