// GetLastError codes to kinds and texts, in one place.
#include <windows.h>

#include "serial/PortError.h"

namespace serial {

namespace {

struct CodeRow {
    DWORD code;
    PortError kind;
    const char* name;
};

// A removed USB adapter answers with any of the Lost codes, depending on its driver.
constexpr CodeRow kCodes[] = {
    {ERROR_SUCCESS, PortError::None, "ERROR_SUCCESS"},
    {ERROR_FILE_NOT_FOUND, PortError::NotFound, "ERROR_FILE_NOT_FOUND"},
    {ERROR_PATH_NOT_FOUND, PortError::NotFound, "ERROR_PATH_NOT_FOUND"},
    {ERROR_INVALID_NAME, PortError::NotFound, "ERROR_INVALID_NAME"},
    {ERROR_DEV_NOT_EXIST, PortError::NotFound, "ERROR_DEV_NOT_EXIST"},
    {ERROR_SHARING_VIOLATION, PortError::Busy, "ERROR_SHARING_VIOLATION"},
    {ERROR_BUSY, PortError::Busy, "ERROR_BUSY"},
    // Opening: a COM port another program holds; Windows does not name it.
    {ERROR_ACCESS_DENIED, PortError::Busy, "ERROR_ACCESS_DENIED"},
    {ERROR_BAD_COMMAND, PortError::Lost, "ERROR_BAD_COMMAND"},
    {ERROR_OPERATION_ABORTED, PortError::Lost, "ERROR_OPERATION_ABORTED"},
    {ERROR_DEVICE_REMOVED, PortError::Lost, "ERROR_DEVICE_REMOVED"},
    {ERROR_GEN_FAILURE, PortError::Lost, "ERROR_GEN_FAILURE"},
    {ERROR_DEVICE_NOT_CONNECTED, PortError::Lost, "ERROR_DEVICE_NOT_CONNECTED"},
    {ERROR_NOT_READY, PortError::Lost, "ERROR_NOT_READY"},
    {ERROR_INVALID_HANDLE, PortError::Lost, "ERROR_INVALID_HANDLE"},
    {ERROR_BROKEN_PIPE, PortError::Lost, "ERROR_BROKEN_PIPE"},
    {ERROR_INVALID_FUNCTION, PortError::NotSerial, "ERROR_INVALID_FUNCTION"},
    {ERROR_INVALID_PARAMETER, PortError::Unsupported, "ERROR_INVALID_PARAMETER"},
    {ERROR_NOT_SUPPORTED, PortError::Unsupported, "ERROR_NOT_SUPPORTED"},
    {ERROR_NO_DATA, PortError::Other, "ERROR_NO_DATA"},
    {ERROR_IO_INCOMPLETE, PortError::Other, "ERROR_IO_INCOMPLETE"},
    {ERROR_TIMEOUT, PortError::Other, "ERROR_TIMEOUT"},
    // A network port's connection (winsock's codes, which GetLastError also gives).
    {WSAECONNREFUSED, PortError::Refused, "WSAECONNREFUSED"},
    {WSAENETUNREACH, PortError::Unreachable, "WSAENETUNREACH"},
    {WSAEHOSTUNREACH, PortError::Unreachable, "WSAEHOSTUNREACH"},
    {WSAHOST_NOT_FOUND, PortError::Unreachable, "WSAHOST_NOT_FOUND"},
    {WSAETIMEDOUT, PortError::NoAnswer, "WSAETIMEDOUT"},
    {WSAECONNRESET, PortError::Lost, "WSAECONNRESET"},
};

struct KindText {
    PortError kind;
    const char* text;
};

constexpr KindText kKindTexts[] = {
    {PortError::None, "no error"},
    {PortError::NotFound, "not found; is the adapter plugged in?"},
    {PortError::Permission, "access denied"},
    {PortError::Busy, "in use by another program (Windows does not say which)"},
    {PortError::Lost, "the device was lost (unplugged)"},
    {PortError::NotSerial, "not a serial port"},
    {PortError::Unsupported, "setting not supported by the driver"},
    {PortError::Other, "could not be used"},
    {PortError::Refused, "the server refused the connection"},
    {PortError::Unreachable, "the server cannot be reached"},
    {PortError::NoAnswer, "the server did not answer in time"},
};

const CodeRow* RowOf(int error) {
    for (const CodeRow& row : kCodes) {
        if (row.code == static_cast<DWORD>(error)) return &row;
    }
    return nullptr;
}

}  // namespace

PortError ClassifyError(int error) {
    const CodeRow* row = RowOf(error);
    return row ? row->kind : PortError::Other;
}

std::string DescribePortError(const std::string& device, int error) {
    const PortError kind = ClassifyError(error);
    for (const KindText& row : kKindTexts) {
        if (row.kind == kind) return device + ": " + row.text + " (" + SystemErrorText(error) + ")";
    }
    return device + ": " + SystemErrorText(error);
}

std::string DescribePortError(const std::string& device, const OpenFailure& failure) {
    std::string text = DescribePortError(device, failure.error);
    if (!failure.step.empty()) text += ", refused by " + failure.step;
    if (!failure.serverSays.empty()) text += ", the server says \"" + failure.serverSays + "\"";
    return text;
}

std::string SystemErrorName(int error) {
    const CodeRow* row = RowOf(error);
    return row ? row->name : "";
}

std::string SystemErrorText(int error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length && text ? std::string(text, length) : std::string();
    if (text) LocalFree(text);
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result.empty() ? "error " + std::to_string(error) : result;
}

int LastSystemError() {
    return static_cast<int>(GetLastError());
}

int SystemErrorOf(PortError kind) {
    for (const CodeRow& row : kCodes) {
        if (row.kind == kind) return static_cast<int>(row.code);
    }
    return ERROR_GEN_FAILURE;
}

int TimedOutError() {
    return ERROR_TIMEOUT;
}

}  // namespace serial
