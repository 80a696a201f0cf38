/* For the tests under wine only: a pseudo-terminal has no modem lines, so TIOCMGET fails on it
 * and wine refuses WaitCommEvent with EV_CTS in the mask (ERROR_NOT_SUPPORTED), the mask the
 * program opens its port with. Loaded with LD_PRELOAD into wine, this answers TIOCMGET on a
 * pseudo-terminal as a cabled port would (CTS, DSR and CD up) and lets TIOCMIWAIT wait, as for
 * lines that never change. Every other call goes through unchanged. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

static int is_pty(int fd) {
    struct stat st;
    /* Unix98 pseudo-terminal slaves have majors 136 to 143. */
    return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 &&
           major(st.st_rdev) <= 143;
}

int ioctl(int fd, unsigned long request, ...) {
    static int (*real_ioctl)(int, unsigned long, ...);
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    if (!real_ioctl) real_ioctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    if (request == TIOCMGET && is_pty(fd)) {
        *(int*)argument = TIOCM_CTS | TIOCM_DSR | TIOCM_CD | TIOCM_RTS | TIOCM_DTR;
        return 0;
    }
    if (request == TIOCMIWAIT && is_pty(fd)) {
        /* The lines never change: wait until the thread is ended with its process. */
        for (;;) pause();
    }
    return real_ioctl(fd, request, argument);
}
