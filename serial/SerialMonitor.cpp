// The monitor thread: waits on the port, hands received blocks to the owner, transmits queued
// bytes, and reports a device that went away.
#include <algorithm>
#include <vector>

#include "serial/PortBackend.h"
#include "serial/PortError.h"
#include "serial/SerialPort.h"
#include "ui/Window.h"

namespace {

struct StatusRow {
    UINT event;
    UINT message;
};

// The order in which the status notifications go out on each wake.
constexpr StatusRow kStatusNotifications[] = {
    {EV_CTS, kMsgCts},       {EV_RXFLAG, kMsgRxFlag}, {EV_BREAK, kMsgBreak},
    {EV_ERR, kMsgLineError}, {EV_RING, kMsgRing},
};

}  // namespace

void CSerialPort::MonitorThread() {
    // Without EV_RXCHAR nobody wants the bytes: the port is then watched for a hang-up only,
    // rather than woken for data that would never be read.
    const bool wantData = (eventMask & EV_RXCHAR) != 0;
    char block[kMaxBlock + 1];
    for (;;) {
        serial::WaitResult woke = backend->Wait(wantData);
        if (woke.stop) break;
        if (woke.wake) {
            backend->TakeWake();
            TransmitQueued();
        }
        bool lost = woke.hangUp && !wantData;
        if (wantData && (woke.readable || woke.hangUp)) {
            SendStatusNotifications();
            BlockResult result = ReceiveBlock(block);
            // A hang-up that leaves nothing to read would wake us forever: it is the end.
            lost = result == BlockResult::Lost || (woke.hangUp && result == BlockResult::Nothing);
        }
        if (lost) {
            // The device is gone: another program may take its name at once.
            backend->ReleaseLock();
            if (owner) owner->PostMessage(kMsgPortLost, 0, static_cast<LPARAM>(portNumber));
            break;
        }
    }
    monitorAlive = false;
}

void CSerialPort::SendStatusNotifications() {
    for (const StatusRow& row : kStatusNotifications) {
        if (eventMask & row.event) Notify(row.message, 0, static_cast<LPARAM>(portNumber));
    }
}

CSerialPort::BlockResult CSerialPort::ReceiveBlock(char* block) {
    if (!isOpen) return BlockResult::Nothing;
    if (backend->TakeLineErrors()) {
        // Bytes around a line error cannot be trusted; the unit repeats or the job times out.
        backend->Purge(serial::PurgeSide::Receive);
        return BlockResult::Nothing;
    }
    int error = 0;
    int queued = backend->QueuedBytes(&error);
    if (queued < 0) {
        return serial::ClassifyError(error) == serial::PortError::Lost ? BlockResult::Lost
                                                                       : BlockResult::Nothing;
    }
    // Readable with nothing queued: only a read tells an end of file from a spurious wake.
    size_t want = queued == 0 ? kMaxBlock : std::min<size_t>(queued, kMaxBlock);
    long count = backend->Read(block, want, &error);
    if (count == 0) return BlockResult::Lost;
    if (count < 0) {
        return serial::ClassifyError(error) == serial::PortError::Lost ? BlockResult::Lost
                                                                       : BlockResult::Nothing;
    }
    block[count] = '\0';
    Notify(kMsgReceived, reinterpret_cast<WPARAM>(block), static_cast<LPARAM>(count));
    return BlockResult::Delivered;
}

void CSerialPort::TransmitQueued() {
    std::vector<unsigned char> bytes;
    {
        std::lock_guard tx(txLock);
        bytes.assign(txBuffer.begin(),
                     txBuffer.begin() + std::min<size_t>(txLength, txBuffer.size()));
        txLength = 0;
    }
    if (bytes.empty() || !isOpen) return;
    serial::WriteEnd end = serial::WriteEnd::Done;
    int error = 0;
    {
        std::lock_guard writer(writeLock);
        // Only the unsent output is dropped; bytes the unit sent stay for the next read.
        backend->Purge(serial::PurgeSide::Transmit);
        backend->Write(bytes.data(), bytes.size(), WriteTimeLimitMs(bytes.size()), &end, &error);
    }
    switch (end) {
        case serial::WriteEnd::Done:
        case serial::WriteEnd::Stopped:
            return;
        case serial::WriteEnd::TimedOut:
            ReportError("GetOverlappedResults() in WriteFile()", error);
            return;
        case serial::WriteEnd::Failed:
            // A device that went away is reported once, by the wait that follows.
            if (serial::ClassifyError(error) != serial::PortError::Lost) {
                ReportError("WriteFile()", error);
            }
            return;
    }
}

LRESULT CSerialPort::Notify(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!owner) return 0;
    return owner->SendMessage(msg, wParam, lParam, &gate);
}
