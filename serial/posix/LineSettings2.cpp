// termios2 needs the kernel's own termios definitions; <termios.h> must stay out of this file.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

#include "serial/posix/LineSettings.h"
#include "serial/posix/SpeedTable.h"

namespace serial::posix {

namespace {

tcflag_t SizeFlag(unsigned dataBits) {
    switch (dataBits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

struct ParityRow {
    char letter;
    tcflag_t flags;
};

// Mark and space are a parity bit that stays 1 or 0: "sticky" odd or even parity.
constexpr ParityRow kParityFlags[] = {
    {'N', 0},
    {'E', PARENB},
    {'O', PARENB | PARODD},
    {'M', PARENB | CMSPAR | PARODD},
    {'S', PARENB | CMSPAR},
};

tcflag_t ParityFlags(char parity) {
    for (const ParityRow& row : kParityFlags) {
        if (row.letter == parity) return row.flags;
    }
    return 0;
}

}  // namespace

unsigned long FrameFlagsFor(const CommSettings& s) {
    tcflag_t flags = SizeFlag(s.dataBits) | ParityFlags(s.parity);
    // With 5 data bits the UART sends 1.5 stop bits for CSTOPB; the combinations were checked.
    if (s.stopBits != StopBits::One) flags |= CSTOPB;
    return flags;
}

ApplyResult ApplyWithTermios2(int fd, const CommSettings& s, int* error) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) {
        *error = errno;
        return (errno == ENOTTY || errno == EINVAL) ? ApplyResult::NoTermios2 : ApplyResult::Failed;
    }
    // What cfmakeraw does: bytes pass untouched in both directions.
    t.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | CIBAUD);
    t.c_cflag |= FrameFlagsFor(s) | CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    unsigned code = StandardSpeedCode(s.baud);
    t.c_cflag |= code ? code : BOTHER;
    t.c_ispeed = s.baud;
    t.c_ospeed = s.baud;
    if (ioctl(fd, TCSETS2, &t) != 0) {
        *error = errno;
        return ApplyResult::Failed;
    }
    return ApplyResult::Done;
}

}  // namespace serial::posix
