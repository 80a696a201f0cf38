#pragma once
// The unit's stored parameter values (its flash) and the AT+SHOW listing made from them.
// Single-threaded: the owner (VirtualUnit, itself serialised by its host) calls everything.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/UnitTypes.h"

namespace sim {

enum class WriteResult { Stored, Refused, UnknownCommand, ReadOnly };

class ParameterStore {
  public:
    ParameterStore(UnitVariant variant, std::string loraVersion);

    // Puts every parameter back to its factory value for this unit's variant.
    void RestoreFactory();
    // Validates `value` against the parameter written by `command` and stores it when it fits.
    WriteResult Write(std::string_view command, std::string_view value);
    // Stores any bytes under `command` or under a read-only parameter's label, bypassing the
    // validation (faults such as a value that reads "BOOK"); false when no parameter matches.
    bool Force(std::string_view commandOrLabel, std::string_view value);
    // The stored value of the parameter written by `command` (case ignored), if any.
    std::optional<std::string> ByCommand(std::string_view command) const;
    // The stored value listed under `label` (with or without a leading CR LF), if any.
    std::optional<std::string> ByLabel(std::string_view label) const;
    // The body of the listing: one "label" "value" CR LF line per parameter, in table order,
    // starting with "Access Point Name:".
    std::string Listing() const;

  private:
    UnitVariant variant;
    std::string loraVersion;
    std::vector<std::string> values;
};

}  // namespace sim
