// Network ports are not served on Windows yet: every open of one fails plainly, as a port the
// system cannot use.
#include <windows.h>

#include "serial/NetworkPort.h"
#include "serial/PortBackend.h"

namespace serial {

namespace {

class NetworkBackend final : public PortBackend {
  public:
    bool Open(const std::string&, const OwnershipRoots&, int* error, PortHolder*) override {
        *error = ERROR_NOT_SUPPORTED;
        return false;
    }
    void Close() override {}
    void ReleaseLock() override {}
    bool IsOpen() const override { return false; }
    bool PrepareEvents(unsigned, int*, const char**) override { return false; }
    bool ReadSettings(int*) override { return false; }
    bool ApplySettings(const CommSettings&, int*) override { return false; }
    bool Purge(PurgeSide) override { return false; }
    bool TakeLineErrors() override { return false; }
    int QueuedBytes(int*) override { return -1; }
    long Read(void*, size_t, int*) override { return -1; }
    size_t Write(const void*, size_t, int, WriteEnd* end, int*) override {
        *end = WriteEnd::Failed;
        return 0;
    }
    WaitResult Wait(bool) override { return {true, false, false, true}; }
    void SignalWake() override {}
    void TakeWake() override {}
    void SignalStop() override {}
};

}  // namespace

bool NetworkPortAnswers(const std::string&, int) {
    return false;
}

std::unique_ptr<PortBackend> MakeNetworkPortBackend() {
    return std::make_unique<NetworkBackend>();
}

}  // namespace serial
