#pragma once
// What went wrong with a port. The one place that turns the system's error codes (errno on
// Linux, GetLastError on Windows) into kinds the program words from its label file; each
// system implements it for its codes (serial/posix/ErrorText.cpp, serial/win32/ErrorText.cpp).
#include <string>

namespace serial {

// The last three are a network port's: the server refused the connection, could not be reached
// (no route, or its name is unknown), or did not answer in time.
enum class PortError {
    None,
    NotFound,
    Permission,
    Busy,
    Lost,
    NotSerial,
    Unsupported,
    Other,
    Refused,
    Unreachable,
    NoAnswer,
};

// The kind of a system error code. Any thread.
PortError ClassifyError(int error);

// A process that has a port.
struct PortHolder {
    int pid = 0;          // 0 when unknown
    std::string program;  // its command name, "" when unreadable
};

// Why a port could not be opened, for the caller to put in the user's words.
struct OpenFailure {
    PortError kind = PortError::None;
    int error = 0;      // the system's code
    std::string step;   // the line setting the driver refused ("SetCommState()"), or ""
    PortHolder holder;  // who has the port, when it is in use and that is known
    // What a network server said as it turned the connection down ("Port already in use").
    std::string serverSays;
};

// A short English text for a failure of the device, e.g. "/dev/ttyUSB0: not found (No such
// file or directory)", for diagnostics; what the user reads comes from the label file. Any
// thread.
std::string DescribePortError(const std::string& device, int error);
std::string DescribePortError(const std::string& device, const OpenFailure& failure);

// The system's own text for an error code, as strerror gives it. Any thread.
std::string SystemErrorText(int error);
// The code's symbolic name ("ENOENT"), the same in every language; "" when it has none.
std::string SystemErrorName(int error);

// The calling thread's last system error code (errno, GetLastError). Any thread.
int LastSystemError();
// A system code of that kind (EINVAL for Unsupported; ERROR_INVALID_PARAMETER on Windows), for
// failures the program finds itself. Any thread.
int SystemErrorOf(PortError kind);
// The system's code for a write that outran its time (ETIMEDOUT, ERROR_TIMEOUT). Any thread.
int TimedOutError();

}  // namespace serial
