#pragma once
// Waiting in tests: the UI thread's event loop keeps running while a test waits, so messages
// posted or sent to the window are handled meanwhile.
#include <functional>
#include <string>

namespace testsupport {

// Runs the event loop until done() holds or timeoutMs passed; returns done(). done() is looked
// at every few milliseconds as well, so conditions other threads change are seen too.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);
// Runs the event loop for the whole period.
void RunEventsFor(int ms);
// How often needle occurs in text (without overlaps).
int Occurrences(const std::string& text, const std::string& needle);
// The process's CPU time so far, in milliseconds.
double ProcessCpuMs();

}  // namespace testsupport
