#pragma once
// A serial line inside the process, between the virtual unit and the program's serial port:
// what Windows gets for --simulate instead of a pseudo-terminal (no driver needed). The line
// has a name (DevicePath) that the port list shows and OpenPort takes like a COM port's.
//
// Threads: any. One unit side (the host's thread) and at most one program side (the port's
// monitor and writers) at a time; every call takes the line's lock, and each side waits on its
// own condition, never while holding the other's.
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace sim {

class InProcessLine {
  public:
    // What woke the program side's wait.
    struct ProgramWake {
        bool stop = false;      // SignalStop
        bool wake = false;      // SignalWake
        bool readable = false;  // bytes from the unit wait
        bool cut = false;       // the unit's end is gone and every byte was taken
    };

    // Made and registered under a fresh name ("VIRTUAL1", "VIRTUAL2", ...); unregistered when
    // the last reference goes.
    static std::shared_ptr<InProcessLine> Make();
    // The registered line of that name, or null.
    static std::shared_ptr<InProcessLine> Find(const std::string& name);
    // Whether the name is one this kind of line takes (whether or not it exists).
    static bool IsLineName(const std::string& name);

    ~InProcessLine();
    const std::string& Name() const { return name_; }

    // The unit's side. Hands bytes to the program (kept even when no program listens, up to a
    // limit, as a pseudo-terminal keeps them).
    void SendToProgram(std::string_view bytes);
    // Waits until the program wrote, WakeUnit was called or the deadline passed; returns what
    // the program wrote meanwhile.
    std::string WaitForProgram(std::chrono::steady_clock::time_point deadline);
    void WakeUnit();
    // Cuts the line for good: the program reads what is left, then sees a hang-up.
    void Cut();

    // The program's side. Open is exclusive: false while another program side has it.
    bool OpenProgramSide();
    void CloseProgramSide();
    // Bytes waiting for the program.
    std::size_t Queued();
    // Takes up to size bytes; 0 when none wait.
    std::size_t Take(char* buffer, std::size_t size);
    // Throws away the bytes waiting for the program.
    void DropReceived();
    // Hands the program's bytes to the unit; false on a cut line.
    bool SendToUnit(std::string_view bytes);
    // Waits until something in ProgramWake holds (readable only when wantData).
    ProgramWake WaitForUnit(bool wantData);
    void SignalWake();
    void TakeWake();
    // Ends the program side's waits until it is opened again.
    void SignalStop();
    bool IsCut();

  private:
    explicit InProcessLine(std::string name) : name_(std::move(name)) {}

    const std::string name_;
    std::mutex lock_;
    std::condition_variable unitWaits_;
    std::condition_variable programWaits_;
    std::string toProgram_;
    std::string toUnit_;
    bool unitWake_ = false;
    bool cut_ = false;
    bool programOpen_ = false;
    bool programStop_ = false;
    bool programWake_ = false;
};

}  // namespace sim
