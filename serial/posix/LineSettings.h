#pragma once
// Line settings onto a terminal file descriptor. Two implementations in two files, because the
// kernel's termios2 (any baud rate) and the C library's termios cannot share a translation unit.
#include "serial/CommConfig.h"

namespace serial::posix {

enum class ApplyResult { Done, Failed, NoTermios2 };

// The c_cflag bits for the character format (CSIZE, PARENB, PARODD, CMSPAR, CSTOPB); the
// kernel's values, which termios and termios2 share. The settings must be valid.
unsigned long FrameFlagsFor(const CommSettings& settings);

// Raw mode, CLOCAL, CREAD and the settings through termios2: the standard speed codes where the
// rate is one, BOTHER with the exact rate otherwise. NoTermios2 when the driver lacks it.
ApplyResult ApplyWithTermios2(int fd, const CommSettings& settings, int* error);

// The same through termios and cfsetspeed; only standard rates (EINVAL otherwise).
bool ApplyWithTermios(int fd, const CommSettings& settings, int* error);

// Reads the settings back (tcgetattr); false with *error on a device that is not a terminal.
bool ReadTermios(int fd, int* error);

// tcflush with TCIFLUSH, TCOFLUSH or TCIOFLUSH.
bool FlushQueues(int fd, bool receive, bool transmit);

}  // namespace serial::posix
