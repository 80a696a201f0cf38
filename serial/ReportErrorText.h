#pragma once
// The words of the port's error box, from Language.ini ([ReportError]) in the program's
// language: the step that failed, what went wrong with the device, the error's symbolic name
// and the port.
//
// Threads: any (labels are read on each call).
#include <string>

namespace serial {

// "WARNING: <operation> failed: <what went wrong> [EIO]" and the port number on a second line.
std::string ReportErrorText(const char* operation, int error, unsigned portNumber);
// The box's caption.
std::string ReportErrorCaption();

}  // namespace serial
