#pragma once
// Shared pieces of the virtual unit's tests: a unit on a pseudo-terminal with a client at the
// other end, and the program's way of reading a value out of a listing.
#include <string>
#include <string_view>

#include "sim/VirtualUnitHost.h"
#include "tests/sim/PtyClient.h"

namespace simtest {

inline constexpr std::string_view kOk = "\r\nOK\r\n";
inline constexpr std::string_view kError = "\r\nERROR\r\n";

// Options for tests that are not about timing: a fast line, already in setting mode.
sim::UnitOptions FastOptions(sim::UnitVariant variant = sim::UnitVariant::None);

// A started unit with a client attached to its slave side.
class UnitOnLine {
  public:
    explicit UnitOnLine(sim::UnitOptions options);
    // True when the unit runs and the client is open; otherwise says why.
    bool Ready(std::string* error);
    // Sends `command` and returns what came back until a final OK or ERROR line (or until
    // `limit` passed).
    std::string Command(std::string_view command, milliseconds limit = milliseconds(2000));

    sim::VirtualUnitHost host;
    PtyClient client;

  private:
    bool started = false;
    std::string startError;
};

// The value the program reads for `label` from a listing: the text from the anchor
// "Access Point Name:" on, the first occurrence of the label, up to the next CR LF, with
// spaces trimmed. False when the label or its line end is missing.
bool ProgramValue(std::string_view answer, std::string_view label, std::string* value);

}  // namespace simtest
