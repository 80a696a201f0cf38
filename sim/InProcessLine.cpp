#include "sim/InProcessLine.h"

#include <algorithm>
#include <map>
#include <utility>

namespace sim {

namespace {

constexpr const char* kPrefix = "VIRTUAL";
// What the program does not take is kept up to this much, then the oldest goes, as on a line
// nobody listens to.
constexpr std::size_t kPendingLimit = 256 * 1024;

struct Registry {
    std::mutex lock;
    std::map<std::string, std::weak_ptr<InProcessLine>> lines;
    unsigned next = 1;
};

Registry& Lines() {
    static Registry registry;
    return registry;
}

}  // namespace

std::shared_ptr<InProcessLine> InProcessLine::Make() {
    Registry& r = Lines();
    std::lock_guard guard(r.lock);
    const std::string name = kPrefix + std::to_string(r.next++);
    std::shared_ptr<InProcessLine> line(new InProcessLine(name));
    r.lines[name] = line;
    return line;
}

std::shared_ptr<InProcessLine> InProcessLine::Find(const std::string& name) {
    Registry& r = Lines();
    std::lock_guard guard(r.lock);
    auto it = r.lines.find(name);
    return it == r.lines.end() ? nullptr : it->second.lock();
}

bool InProcessLine::IsLineName(const std::string& name) {
    return name.rfind(kPrefix, 0) == 0 && name.size() > std::string(kPrefix).size() &&
           name.find_first_not_of("0123456789", std::string(kPrefix).size()) == std::string::npos;
}

InProcessLine::~InProcessLine() {
    Registry& r = Lines();
    std::lock_guard guard(r.lock);
    auto it = r.lines.find(name_);
    if (it != r.lines.end() && it->second.expired()) r.lines.erase(it);
}

void InProcessLine::SendToProgram(std::string_view bytes) {
    if (bytes.empty()) return;
    {
        std::lock_guard guard(lock_);
        if (cut_) return;
        toProgram_.append(bytes);
        if (toProgram_.size() > kPendingLimit)
            toProgram_.erase(0, toProgram_.size() - kPendingLimit);
    }
    programWaits_.notify_all();
}

std::string InProcessLine::WaitForProgram(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock guard(lock_);
    unitWaits_.wait_until(guard, deadline, [this] { return unitWake_ || !toUnit_.empty(); });
    unitWake_ = false;
    return std::exchange(toUnit_, {});
}

void InProcessLine::WakeUnit() {
    {
        std::lock_guard guard(lock_);
        unitWake_ = true;
    }
    unitWaits_.notify_all();
}

void InProcessLine::Cut() {
    {
        std::lock_guard guard(lock_);
        cut_ = true;
    }
    programWaits_.notify_all();
}

bool InProcessLine::OpenProgramSide() {
    std::lock_guard guard(lock_);
    if (programOpen_) return false;
    programOpen_ = true;
    programStop_ = programWake_ = false;
    return true;
}

void InProcessLine::CloseProgramSide() {
    std::lock_guard guard(lock_);
    programOpen_ = false;
}

std::size_t InProcessLine::Queued() {
    std::lock_guard guard(lock_);
    return toProgram_.size();
}

std::size_t InProcessLine::Take(char* buffer, std::size_t size) {
    std::lock_guard guard(lock_);
    const std::size_t n = std::min(size, toProgram_.size());
    toProgram_.copy(buffer, n);
    toProgram_.erase(0, n);
    return n;
}

void InProcessLine::DropReceived() {
    std::lock_guard guard(lock_);
    toProgram_.clear();
}

bool InProcessLine::SendToUnit(std::string_view bytes) {
    {
        std::lock_guard guard(lock_);
        if (cut_) return false;
        toUnit_.append(bytes);
    }
    unitWaits_.notify_all();
    return true;
}

InProcessLine::ProgramWake InProcessLine::WaitForUnit(bool wantData) {
    std::unique_lock guard(lock_);
    ProgramWake woke;
    programWaits_.wait(guard, [&] {
        woke.stop = programStop_;
        woke.wake = programWake_;
        woke.readable = wantData && !toProgram_.empty();
        woke.cut = cut_ && toProgram_.empty();
        return woke.stop || woke.wake || woke.readable || woke.cut;
    });
    return woke;
}

void InProcessLine::SignalWake() {
    {
        std::lock_guard guard(lock_);
        programWake_ = true;
    }
    programWaits_.notify_all();
}

void InProcessLine::TakeWake() {
    std::lock_guard guard(lock_);
    programWake_ = false;
}

void InProcessLine::SignalStop() {
    {
        std::lock_guard guard(lock_);
        programStop_ = true;
    }
    programWaits_.notify_all();
}

bool InProcessLine::IsCut() {
    std::lock_guard guard(lock_);
    return cut_;
}

}  // namespace sim
