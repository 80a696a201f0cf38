#include <termios.h>

#include <cerrno>

#include "serial/posix/LineSettings.h"
#include "serial/posix/SpeedTable.h"

namespace serial::posix {

bool ApplyWithTermios(int fd, const CommSettings& s, int* error) {
    struct termios t {};
    if (tcgetattr(fd, &t) != 0) {
        *error = errno;
        return false;
    }
    unsigned code = StandardSpeedCode(s.baud);
    if (!code) {
        *error = EINVAL;
        return false;
    }
    cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= static_cast<tcflag_t>(FrameFlagsFor(s)) | CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (cfsetspeed(&t, code) != 0 || tcsetattr(fd, TCSANOW, &t) != 0) {
        *error = errno;
        return false;
    }
    return true;
}

bool ReadTermios(int fd, int* error) {
    struct termios t {};
    if (tcgetattr(fd, &t) == 0) return true;
    *error = errno;
    return false;
}

bool FlushQueues(int fd, bool receive, bool transmit) {
    int queue = receive && transmit ? TCIOFLUSH : receive ? TCIFLUSH : TCOFLUSH;
    return tcflush(fd, queue) == 0;
}

}  // namespace serial::posix
