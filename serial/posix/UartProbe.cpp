#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "serial/posix/PortList.h"

bool UartExists(const std::string& devicePath) {
    // Non-blocking, so a port whose modem lines say "no carrier" does not hold the open.
    int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // A port this user may not open, or another program holds, is listed with its reason.
    if (fd < 0) return errno == EACCES || errno == EPERM || errno == EBUSY;
    serial_struct info{};
    bool exists = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return exists;
}
