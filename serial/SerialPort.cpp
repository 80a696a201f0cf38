// Opening, closing and writing; the monitor's side is in SerialMonitor.cpp.
#include "serial/SerialPort.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "serial/CommConfig.h"
#include "serial/NetworkPort.h"
#include "serial/PortBackend.h"
#include "serial/PortError.h"
#include "serial/ReportErrorText.h"
#include "ui/Dialogs.h"

namespace {

// The trailing decimal digits of the device name ("/dev/ttyUSB12" gives 12), or 0; 0 for a
// network port, whose trailing digits are a TCP port, not a line's number.
UINT PortNumberOf(const std::string& device) {
    if (serial::IsNetworkPortName(device)) return 0;
    size_t start = device.size();
    while (start > 0 && std::isdigit(static_cast<unsigned char>(device[start - 1]))) --start;
    std::string digits = device.substr(start);
    if (digits.empty() || digits.size() > 9) return 0;
    return static_cast<UINT>(std::stoul(digits));
}

}  // namespace

CSerialPort::CSerialPort() : backend(serial::MakeSystemPortBackend()) {}

CSerialPort::~CSerialPort() {
    Close();
}

bool CSerialPort::OpenPort(CWindowWnd* ownerWindow, const std::string& device, UINT baud,
                           char parity, UINT dataBits, UINT stopBits, UINT mask, UINT bufferSize) {
    Close();
    gate.Reopen();
    {
        std::unique_lock lock(portLock);
        backend = serial::MakePortBackend(device);
        owner = ownerWindow;
        portNumber = PortNumberOf(device);
        eventMask = mask;
        baudRate = baud;
        {
            std::lock_guard tx(txLock);
            txBufferSize = bufferSize;
            txBuffer.assign(bufferSize, 0);
            txLength = 0;
        }
        const std::string config = serial::BuildConfigText(baud, parity, dataBits, stopBits);
        int error = 0;
        serial::PortHolder holder;
        if (!backend->Open(device, ownershipRoots, &error, &holder)) {
            lastOpenFailure = {
                serial::ClassifyError(error), error, {}, holder, backend->RefusalText()};
            lastOpenError = serial::DescribePortError(device, lastOpenFailure);
            return false;
        }
        // The configuration steps, named as the Windows comm API names them, stopping at the
        // first that fails.
        serial::CommSettings settings;
        const char* failedStep = nullptr;
        if (!backend->PrepareEvents(mask, &error, &failedStep)) {
            if (!failedStep) failedStep = "SetCommMask()";
        } else if (!backend->ReadSettings(&error)) {
            failedStep = "GetCommState()";
        } else if (!serial::ParseConfigText(config, settings)) {
            failedStep = "BuildCommDCB()";
            error = serial::SystemErrorOf(serial::PortError::Unsupported);
        } else if (!backend->ApplySettings(settings, &error)) {
            failedStep = "SetCommState()";
        }
        if (failedStep) {
            // A half configured line echoes the unit's answers back to it: never leave one open.
            lastOpenFailure = {
                serial::ClassifyError(error), error, failedStep, {}, backend->RefusalText()};
            backend->Close();
            lastOpenError = serial::DescribePortError(device, lastOpenFailure);
            return false;
        }
        lastOpenFailure = {};
        lastOpenError.clear();
        backend->Purge(serial::PurgeSide::Both);
    }
    isOpen = true;
    return true;
}

bool CSerialPort::StartMonitor() {
    if (!backend->IsOpen()) return false;
    if (monitorAlive) return true;
    // A monitor that ended by itself (the device went away) is joined before a new one starts.
    if (monitorThread.joinable()) monitorThread.join();
    monitorAlive = true;
    try {
        monitorThread = std::thread(&CSerialPort::MonitorThread, this);
    } catch (const std::system_error&) {
        monitorAlive = false;
        return false;
    }
    return true;
}

UINT CSerialPort::WriteBytes(const void* data, UINT length) {
    if (!isOpen || length == 0) return 0;
    std::shared_lock lock(portLock);
    if (!isOpen || !backend->IsOpen()) return 0;
    if (backend->TakeLineErrors()) {
        backend->Purge(serial::PurgeSide::Receive);
        return 0;
    }
    std::lock_guard writer(writeLock);
    if (!isOpen) return 0;
    serial::WriteEnd end = serial::WriteEnd::Done;
    int error = 0;
    return static_cast<UINT>(backend->Write(data, length, WriteTimeLimitMs(length), &end, &error));
}

void CSerialPort::QueueWrite(const std::string& text) {
    QueueWrite(text.data(), static_cast<UINT>(std::min<size_t>(text.size(), UINT32_MAX)));
}

void CSerialPort::QueueWrite(const void* data, UINT length) {
    if (!isOpen) return;
    std::shared_lock lock(portLock);
    if (!backend->IsOpen()) return;
    {
        std::lock_guard tx(txLock);
        if (length > txBufferSize || length > txBuffer.size()) return;
        if (length) std::memcpy(txBuffer.data(), data, length);
        txLength = length;
    }
    backend->SignalWake();
}

void CSerialPort::Close() {
    isOpen = false;
    // Order matters: the stop signal ends the monitor's wait and any write in progress, the
    // closed gate releases a send or message box the monitor is waiting in, then the monitor
    // can be joined, and only then is the handle closed under the exclusive lock.
    backend->SignalStop();
    gate.Close();
    if (monitorThread.joinable()) monitorThread.join();
    monitorAlive = false;
    std::unique_lock lock(portLock);
    backend->Close();
    std::lock_guard tx(txLock);
    txBuffer.clear();
    txBuffer.shrink_to_fit();
    txLength = 0;
}

void CSerialPort::ReportError(const char* operation) {
    ReportError(operation, serial::LastSystemError());
}

void CSerialPort::ReportError(const char* operation, int error) {
    ui::MessageBox(serial::ReportErrorText(operation, error, portNumber),
                   serial::ReportErrorCaption(), MB_ICONERROR | MB_OK, &gate);
}

int CSerialPort::WriteTimeLimitMs(size_t length) const {
    // Up to 12 bits a character (start, 8 data, parity, 2 stop), plus a second for the driver.
    const std::uint64_t baud = std::max<UINT>(baudRate, 1);
    const std::uint64_t ms = length * 12ull * 1000ull / baud + 1000ull;
    return static_cast<int>(std::min<std::uint64_t>(ms, INT32_MAX));
}
