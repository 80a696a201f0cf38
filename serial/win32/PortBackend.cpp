// The Windows port: a COM port opened for overlapped I/O, with one OVERLAPPED record and event
// for each operation that may run at the same time (the monitor's WaitCommEvent, its reads, a
// write), and two manual-reset events of its own: stop (set until the next Open) and wake.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

#include "serial/PortBackend.h"
#include "serial/win32/PortNames.h"

namespace serial {

namespace {

// All five time-outs at 1000 ms: a read or write the driver cannot finish ends in bounded time.
constexpr DWORD kTimeoutMs = 1000;
// How often a monitor that waits for line events makes sure the port is still there.
constexpr DWORD kHealthCheckMs = 1000;

// Codes a removed adapter's driver answers with: the device is gone, not merely busy.
bool IsRemoval(DWORD code) {
    return ClassifyError(static_cast<int>(code)) == PortError::Lost;
}

HANDLE NewEvent() {
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

void CloseEvent(HANDLE& event) {
    if (event) CloseHandle(event);
    event = nullptr;
}

class Win32PortBackend final : public PortBackend {
  public:
    ~Win32PortBackend() override { Close(); }

    bool Open(const std::string& device, const OwnershipRoots&, int* error, PortHolder*) override {
        Close();
        wait_ = std::make_unique<PendingWait>();
        port_ = CreateFileA(win32::DevicePath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (port_ == INVALID_HANDLE_VALUE) {
            *error = static_cast<int>(GetLastError());
            return false;
        }
        for (HANDLE* event : {&stop_, &wake_, &commEvent_, &readEvent_, &writeEvent_}) {
            *event = NewEvent();
            if (!*event) {
                *error = static_cast<int>(GetLastError());
                Close();
                return false;
            }
        }
        device_ = device;
        win32::NoteHeld(device_, true);
        std::lock_guard guard(errorsLock_);
        pendingErrors_ = 0;
        return true;
    }

    void Close() override {
        if (port_ != INVALID_HANDLE_VALUE) {
            if (waitPending_) {
                // The pending WaitCommEvent writes into wait_: it must end before that goes.
                // Some drivers (wine's among them) do not end it when cancelled: then its
                // record and event are left to it rather than freed under it.
                SetCommMask(port_, 0);
                CancelIoEx(port_, &wait_->overlapped);
                if (WaitForSingleObject(commEvent_, kTimeoutMs) != WAIT_OBJECT_0) {
                    wait_.release();
                    commEvent_ = nullptr;
                }
                waitPending_ = false;
            }
            CloseHandle(port_);
            port_ = INVALID_HANDLE_VALUE;
            win32::NoteHeld(device_, false);
        }
        for (HANDLE* event : {&stop_, &wake_, &commEvent_, &readEvent_, &writeEvent_})
            CloseEvent(*event);
    }

    void ReleaseLock() override {}
    bool IsOpen() const override { return port_ != INVALID_HANDLE_VALUE; }

    bool PrepareEvents(unsigned eventMask, int* error, const char** failedStep) override {
        COMMTIMEOUTS timeouts{kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs};
        if (!SetCommTimeouts(port_, &timeouts)) {
            *failedStep = "SetCommTimeouts()";
            *error = static_cast<int>(GetLastError());
            return false;
        }
        if (!SetCommMask(port_, eventMask)) {
            *failedStep = "SetCommMask()";
            *error = static_cast<int>(GetLastError());
            return false;
        }
        return true;
    }

    bool ReadSettings(int* error) override {
        dcb_ = DCB{};
        dcb_.DCBlength = sizeof dcb_;
        if (GetCommState(port_, &dcb_)) return true;
        *error = static_cast<int>(GetLastError());
        return false;
    }

    bool ApplySettings(const CommSettings& s, int* error) override {
        if (!IsSupportedFrame(s)) {
            *error = ERROR_INVALID_PARAMETER;
            return false;
        }
        const char* stop = s.stopBits == StopBits::One            ? "1"
                           : s.stopBits == StopBits::OnePointFive ? "1.5"
                                                                  : "2";
        char text[64];
        std::snprintf(text, sizeof text, "baud=%u parity=%c data=%u stop=%s", s.baud, s.parity,
                      s.dataBits, stop);
        dcb_.fRtsControl = RTS_CONTROL_ENABLE;
        if (!BuildCommDCBA(text, &dcb_) || !SetCommState(port_, &dcb_)) {
            *error = static_cast<int>(GetLastError());
            return false;
        }
        return true;
    }

    bool Purge(PurgeSide side) override {
        DWORD flags = 0;
        if (side != PurgeSide::Transmit) flags |= PURGE_RXABORT | PURGE_RXCLEAR;
        if (side != PurgeSide::Receive) flags |= PURGE_TXABORT | PURGE_TXCLEAR;
        return PurgeComm(port_, flags) != 0;
    }

    bool TakeLineErrors() override {
        std::lock_guard guard(errorsLock_);
        COMSTAT status{};
        ClearCommErrorLocked(&status);
        const bool any = pendingErrors_ != 0;
        pendingErrors_ = 0;
        return any;
    }

    int QueuedBytes(int* error) override {
        std::lock_guard guard(errorsLock_);
        COMSTAT status{};
        if (!ClearCommErrorLocked(&status)) {
            *error = static_cast<int>(GetLastError());
            return -1;
        }
        return static_cast<int>(status.cbInQue);
    }

    long Read(void* buffer, size_t size, int* error) override {
        int queued = QueuedBytes(error);
        if (queued < 0) return -1;
        // Only what is queued: a read never waits for bytes that are not there.
        const DWORD want = static_cast<DWORD>(std::min<size_t>(static_cast<size_t>(queued), size));
        if (want == 0) {
            *error = ERROR_NO_DATA;
            return -1;
        }
        OVERLAPPED overlapped{};
        overlapped.hEvent = readEvent_;
        ResetEvent(readEvent_);
        DWORD got = 0;
        if (!ReadFile(port_, buffer, want, &got, &overlapped)) {
            DWORD code = GetLastError();
            // The buffer is the caller's: the read is waited for (bounded by the time-outs),
            // never left running when this returns.
            if (code != ERROR_IO_PENDING || !GetOverlappedResult(port_, &overlapped, &got, TRUE)) {
                code = code == ERROR_IO_PENDING ? GetLastError() : code;
                // A purge from another thread aborts the read; the port itself is fine.
                if (code == ERROR_OPERATION_ABORTED && StillThere()) code = ERROR_NO_DATA;
                *error = static_cast<int>(code);
                return -1;
            }
        }
        return static_cast<long>(got);
    }

    size_t Write(const void* data, size_t length, int timeLimitMs, WriteEnd* end,
                 int* error) override {
        OVERLAPPED overlapped{};
        overlapped.hEvent = writeEvent_;
        ResetEvent(writeEvent_);
        DWORD written = 0;
        const DWORD count = static_cast<DWORD>(std::min<size_t>(length, MAXDWORD));
        if (WriteFile(port_, data, count, &written, &overlapped)) {
            *end = WriteEnd::Done;
            return written;
        }
        DWORD code = GetLastError();
        if (code != ERROR_IO_PENDING) {
            *error = static_cast<int>(code);
            *end = WriteEnd::Failed;
            return 0;
        }
        const HANDLE waits[2] = {writeEvent_, stop_};
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, static_cast<DWORD>(timeLimitMs));
        if (woke != WAIT_OBJECT_0) CancelIoEx(port_, &overlapped);
        // Waited for in every case: the record lives on this stack.
        const bool done = GetOverlappedResult(port_, &overlapped, &written, TRUE);
        code = done ? ERROR_SUCCESS : GetLastError();
        if (woke == WAIT_OBJECT_0 + 1) {
            *error = ERROR_OPERATION_ABORTED;
            *end = WriteEnd::Stopped;
        } else if (woke != WAIT_OBJECT_0) {
            *error = ERROR_TIMEOUT;
            *end = WriteEnd::TimedOut;
        } else if (!done) {
            *error = static_cast<int>(code);
            *end = WriteEnd::Failed;
        } else {
            *end = written == count ? WriteEnd::Done : WriteEnd::TimedOut;
            if (*end == WriteEnd::TimedOut) *error = ERROR_TIMEOUT;
        }
        return written;
    }

    WaitResult Wait(bool wantData) override {
        WaitResult result;
        // A WaitCommEvent that completes at once (bytes still queued on a port being closed)
        // must not keep the monitor from its stop.
        if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) {
            result.stop = true;
            return result;
        }
        if (!waitPending_) {
            wait_->overlapped = OVERLAPPED{};
            wait_->overlapped.hEvent = commEvent_;
            ResetEvent(commEvent_);
            wait_->events = 0;
            if (WaitCommEvent(port_, &wait_->events, &wait_->overlapped)) {
                // An event was already there.
                result.readable = wantData;
                return result;
            }
            const DWORD code = GetLastError();
            if (code != ERROR_IO_PENDING) {
                // The device is gone, or refuses to wait at all: either way nothing will come,
                // and stopping beats spinning.
                result.hangUp = true;
                return result;
            }
            waitPending_ = true;
        }
        const HANDLE waits[3] = {stop_, commEvent_, wake_};
        DWORD woke = WAIT_TIMEOUT;
        // Some drivers (and wine on a pseudo-terminal) leave the wait pending when the device
        // goes: once a second the port is asked whether it is still there.
        while ((woke = WaitForMultipleObjects(3, waits, FALSE, kHealthCheckMs)) == WAIT_TIMEOUT) {
            DWORD errors = 0;
            COMSTAT status{};
            if (!ClearCommError(port_, &errors, &status) && IsRemoval(GetLastError())) {
                result.hangUp = true;
                return result;
            }
        }
        if (woke == WAIT_OBJECT_0) {
            result.stop = true;
        } else if (woke == WAIT_OBJECT_0 + 1) {
            DWORD ignored = 0;
            waitPending_ = false;
            if (GetOverlappedResult(port_, &wait_->overlapped, &ignored, FALSE)) {
                result.readable = wantData;
            } else {
                const DWORD code = GetLastError();
                result.hangUp =
                    IsRemoval(code) && !(code == ERROR_OPERATION_ABORTED && StillThere());
                result.readable = wantData && !result.hangUp;
            }
        } else if (woke == WAIT_OBJECT_0 + 2) {
            result.wake = true;
        } else {
            result.hangUp = true;
        }
        return result;
    }

    void SignalWake() override {
        if (wake_) SetEvent(wake_);
    }
    void TakeWake() override {
        if (wake_) ResetEvent(wake_);
    }
    void SignalStop() override {
        if (stop_) SetEvent(stop_);
    }

  private:
    // ClearCommError, keeping its error flags until TakeLineErrors takes them.
    bool ClearCommErrorLocked(COMSTAT* status) {
        DWORD errors = 0;
        if (!ClearCommError(port_, &errors, status)) return false;
        pendingErrors_ |= errors;
        return true;
    }

    // Whether the port still answers: an aborted operation on a port that does was a purge's.
    bool StillThere() {
        DWORD errors = 0;
        COMSTAT status{};
        return ClearCommError(port_, &errors, &status) != 0;
    }

    HANDLE port_ = INVALID_HANDLE_VALUE;
    std::string device_;
    HANDLE stop_ = nullptr;
    HANDLE wake_ = nullptr;
    HANDLE commEvent_ = nullptr;
    HANDLE readEvent_ = nullptr;
    HANDLE writeEvent_ = nullptr;
    // The monitor's WaitCommEvent, which stays pending across Wait calls woken by stop or wake.
    struct PendingWait {
        OVERLAPPED overlapped{};
        DWORD events = 0;
    };
    std::unique_ptr<PendingWait> wait_;
    bool waitPending_ = false;
    DCB dcb_{};
    std::mutex errorsLock_;
    DWORD pendingErrors_ = 0;
};

}  // namespace

namespace win32 {

namespace {

std::mutex& HeldLock() {
    static std::mutex lock;
    return lock;
}

std::set<std::string>& Held() {
    static std::set<std::string> held;
    return held;
}

}  // namespace

std::string PortKey(const std::string& device) {
    std::string key = device.rfind("\\\\.\\", 0) == 0 ? device.substr(4) : device;
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

void NoteHeld(const std::string& device, bool held) {
    std::lock_guard guard(HeldLock());
    if (held)
        Held().insert(PortKey(device));
    else
        Held().erase(PortKey(device));
}

std::string DevicePath(const std::string& device) {
    return "\\\\.\\" + PortKey(device);
}

bool IsHeldHere(const std::string& device) {
    std::lock_guard guard(HeldLock());
    return Held().count(PortKey(device)) != 0;
}

}  // namespace win32

std::unique_ptr<PortBackend> MakeSystemPortBackend() {
    return std::make_unique<Win32PortBackend>();
}

}  // namespace serial
