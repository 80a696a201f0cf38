// The backend of an in-process line (sim/InProcessLine.h): the virtual unit inside the program,
// reached through the same port interface as a COM port or a terminal.
#include <cstring>

#include "serial/NetworkPort.h"
#include "serial/PortBackend.h"
#include "sim/InProcessLine.h"

namespace serial {

namespace {

class InProcessBackend final : public PortBackend {
  public:
    ~InProcessBackend() override { Close(); }

    bool Open(const std::string& device, const OwnershipRoots&, int* error, PortHolder*) override {
        Close();
        std::shared_ptr<sim::InProcessLine> line = sim::InProcessLine::Find(device);
        if (!line) {
            *error = SystemErrorOf(PortError::NotFound);
            return false;
        }
        if (!line->OpenProgramSide()) {
            *error = SystemErrorOf(PortError::Busy);
            return false;
        }
        line_ = std::move(line);
        return true;
    }
    void Close() override {
        if (line_) line_->CloseProgramSide();
        line_.reset();
    }
    void ReleaseLock() override {}
    bool IsOpen() const override { return line_ != nullptr; }

    bool PrepareEvents(unsigned, int*, const char**) override { return true; }
    bool ReadSettings(int*) override { return true; }
    bool ApplySettings(const CommSettings& settings, int* error) override {
        if (IsSupportedFrame(settings)) return true;
        *error = SystemErrorOf(PortError::Unsupported);
        return false;
    }
    bool Purge(PurgeSide side) override {
        if (side != PurgeSide::Transmit) line_->DropReceived();
        return true;
    }
    bool TakeLineErrors() override { return false; }

    int QueuedBytes(int*) override { return static_cast<int>(line_->Queued()); }
    long Read(void* buffer, size_t size, int* error) override {
        const size_t n = line_->Take(static_cast<char*>(buffer), size);
        if (n > 0 || line_->IsCut()) return static_cast<long>(n);
        *error = SystemErrorOf(PortError::Other);
        return -1;
    }
    size_t Write(const void* data, size_t length, int, WriteEnd* end, int* error) override {
        if (line_->SendToUnit(std::string_view(static_cast<const char*>(data), length))) {
            *end = WriteEnd::Done;
            return length;
        }
        *error = SystemErrorOf(PortError::Lost);
        *end = WriteEnd::Failed;
        return 0;
    }

    WaitResult Wait(bool wantData) override {
        const sim::InProcessLine::ProgramWake woke = line_->WaitForUnit(wantData);
        return {woke.stop, woke.wake, woke.readable, woke.cut};
    }
    void SignalWake() override { line_->SignalWake(); }
    void TakeWake() override { line_->TakeWake(); }
    void SignalStop() override {
        if (line_) line_->SignalStop();
    }

  private:
    std::shared_ptr<sim::InProcessLine> line_;
};

}  // namespace

std::unique_ptr<PortBackend> MakePortBackend(const std::string& device) {
    if (sim::InProcessLine::IsLineName(device)) return std::make_unique<InProcessBackend>();
    if (IsNetworkPortName(device)) return MakeNetworkPortBackend();
    return MakeSystemPortBackend();
}

}  // namespace serial
