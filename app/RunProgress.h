#pragma once
// The run of jobs under way as the progress bar counts it (Progress.h).
//
// Threads: UI thread only.
#include <string>
#include <vector>

#include "engine/CommandJob.h"

// A listing is about this long before the first one was read.
inline constexpr int kTypicalListingBytes = 3900;

struct RunProgress {
    int writesStarted = 0;               // writes started since the queue last ran dry
    JobType listingJob = JobType::None;  // the listing job on the line, or None
    int expectedListing = kTypicalListingBytes;
    bool running = false;
    bool cancelled = false;
    bool portLost = false;  // the port went away (not closed by the engineer)
    // The run's jobs by how they ended, writes by form label, other commands by command word.
    std::vector<std::string> written;        // writes the unit confirmed
    std::vector<std::string> refused;        // commands the unit answered with ERROR
    std::vector<std::string> unknown;        // sent, and no answer came (time-out, port gone)
    std::vector<std::string> refusedWrites;  // the writes among them
    std::vector<std::string> unknownWrites;
    std::vector<std::string> notSent;  // writes never written (Cancel, the port's going)
};
