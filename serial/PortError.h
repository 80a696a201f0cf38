#pragma once
// What went wrong with a port, in words a user can act on. The one place that turns the system's
// error codes (errno here) into the program's texts; each backend implements it for its own codes.
#include <string>

namespace serial {

enum class PortError { None, NotFound, Permission, Busy, Lost, NotSerial, Unsupported, Other };

// The kind of a system error code. Any thread.
PortError ClassifyError(int error);

// A short user-facing text for a failure of the device, e.g. "/dev/ttyUSB0: not found (No such
// file or directory)"; with a hint where the user can fix it (the dialout group). Any thread.
std::string DescribePortError(const std::string& device, int error);

// The system's own text for an error code, as strerror gives it. Any thread.
std::string SystemErrorText(int error);

// The calling thread's last system error code (errno). Any thread.
int LastSystemError();

}  // namespace serial
