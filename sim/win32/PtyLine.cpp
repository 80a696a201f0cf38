// Windows has no pseudo-terminals: its virtual unit runs on the in-process line.
#include "sim/VirtualUnitHost.h"

namespace sim {

UnitLine DefaultUnitLine() {
    return UnitLine::InProcess;
}

bool VirtualUnitHost::StartPty(std::string* error) {
    *error = "Windows has no pseudo-terminals; the virtual unit runs inside the program";
    return false;
}

void VirtualUnitHost::RunPty() {}

void VirtualUnitHost::WakePtyLocked() {}

void VirtualUnitHost::ClosePtyLocked() {}

void VirtualUnitHost::LetReaderDrain(std::string&) {}

}  // namespace sim
