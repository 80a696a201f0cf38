#pragma once
// The review shown before writes go out: one row per write with its check box, side writes
// under the row that causes them, rows that will not be written greyed with the reason, and
// the counts. Enter writes, Esc cancels.
//
// Threads: UI thread only.
#include "ui/Dialogs.h"

namespace ui {

// Shows the review modally over the active window; true on Write (the rows' `checked` set from
// their boxes), false on Cancel or Esc.
bool RunReviewDialog(ReviewSpec& spec);

// The counts line: spec.counts with {checked} and {total} filled in.
std::string ReviewCounts(const ReviewSpec& spec);

}  // namespace ui
