#include "form/ReadBack.h"

#include "form/FormWindow.h"
#include "params/Listing.h"

void QueueReadBack(FormWindow& frame) {
    CommandJob job;
    job.type = JobType::ReadBack;
    job.command = kListingCommand;
    frame.jobQueue.PushJob(job);
}
