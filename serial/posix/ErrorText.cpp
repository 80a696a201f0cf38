// errno to kinds and diagnostic texts, in one place.
#include <cerrno>
#include <cstring>

#include "serial/PortError.h"

namespace serial {

namespace {

struct ErrorRow {
    PortError kind;
    const char* text;
};

constexpr ErrorRow kErrorTexts[] = {
    {PortError::None, "no error"},
    {PortError::NotFound, "not found; is the adapter plugged in?"},
    {PortError::Permission,
     "permission denied; the user must be in the dialout group (log in again after adding)"},
    {PortError::Busy, "in use by another program"},
    {PortError::Lost, "the device was lost (unplugged or hung up)"},
    {PortError::NotSerial, "not a serial port"},
    {PortError::Unsupported, "setting not supported by the driver"},
    {PortError::Other, "could not be used"},
    {PortError::Refused, "the server refused the connection"},
    {PortError::Unreachable, "the server cannot be reached"},
    {PortError::NoAnswer, "the server did not answer in time"},
};

}  // namespace

PortError ClassifyError(int error) {
    switch (error) {
        case 0:
            return PortError::None;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return PortError::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return PortError::Permission;
        case EBUSY:
        case EWOULDBLOCK:
            return PortError::Busy;
        case EIO:
        case EPIPE:
            return PortError::Lost;
        case ENOTTY:
            return PortError::NotSerial;
        case EINVAL:
        case EOPNOTSUPP:
        case EPROTONOSUPPORT:
            return PortError::Unsupported;
        case ECONNREFUSED:
            return PortError::Refused;
        case ENETUNREACH:
        case EHOSTUNREACH:
        case EHOSTDOWN:
        case EADDRNOTAVAIL:
            return PortError::Unreachable;
        case ETIMEDOUT:
            return PortError::NoAnswer;
        default:
            return PortError::Other;
    }
}

std::string DescribePortError(const std::string& device, int error) {
    PortError kind = ClassifyError(error);
    for (const ErrorRow& row : kErrorTexts) {
        if (row.kind == kind) return device + ": " + row.text + " (" + SystemErrorText(error) + ")";
    }
    return device + ": " + SystemErrorText(error);
}

std::string DescribePortError(const std::string& device, const OpenFailure& failure) {
    std::string text = DescribePortError(device, failure.error);
    if (failure.holder.pid != 0) {
        text += ", held by PID " + std::to_string(failure.holder.pid) + " (" +
                failure.holder.program + ")";
    }
    if (!failure.step.empty()) text += ", refused by " + failure.step;
    if (!failure.serverSays.empty()) text += ", the server says \"" + failure.serverSays + "\"";
    return text;
}

std::string SystemErrorName(int error) {
    const char* name = strerrorname_np(error);
    return name ? name : "";
}

std::string SystemErrorText(int error) {
    char buffer[256];
    // The GNU strerror_r may return a static text instead of filling the buffer.
    return strerror_r(error, buffer, sizeof buffer);
}

int LastSystemError() {
    return errno;
}

int SystemErrorOf(PortError kind) {
    switch (kind) {
        case PortError::None:
            return 0;
        case PortError::NotFound:
            return ENOENT;
        case PortError::Permission:
            return EACCES;
        case PortError::Busy:
            return EBUSY;
        case PortError::Lost:
            return EIO;
        case PortError::NotSerial:
            return ENOTTY;
        case PortError::Unsupported:
            return EINVAL;
        case PortError::Refused:
            return ECONNREFUSED;
        case PortError::Unreachable:
            return EHOSTUNREACH;
        case PortError::NoAnswer:
            return ETIMEDOUT;
        case PortError::Other:
            break;
    }
    return EPROTO;
}

int TimedOutError() {
    return ETIMEDOUT;
}

}  // namespace serial
