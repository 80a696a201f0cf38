#pragma once
// The unit's own parameter table: every line of its AT+SHOW listing, the AT word that writes
// it, the values it accepts and its factory value. Kept apart from the program's table on
// purpose: the unit is an independent model, so a typo on either side shows up in tests.
#include <cstddef>
#include <span>
#include <string_view>

#include "sim/UnitTypes.h"
#include "sim/ValueDomain.h"

namespace sim {

struct UnitParameter {
    std::string_view label;    // the listing line starts with it, e.g. "Server1's Ip:"
    std::string_view command;  // the word that writes it, e.g. "AT+IPAD1"; empty: read-only
    ValueDomain domain;
    std::string_view factory;  // factory value, unless the variant table below has one
};

// All parameters in listing order; "Access Point Name:" comes first. Any thread.
std::span<const UnitParameter> UnitParameters();
// Index of the parameter written by `command` (ASCII case ignored), or -1. Any thread.
int FindParameterByCommand(std::string_view command);
// Index of the parameter listed under `label`, given with or without a leading CR LF, or -1.
// Any thread.
int FindParameterByLabel(std::string_view label);
// The factory value of parameter `index` on a unit of this variant; `loraVersion` replaces
// the usual "LORA ver" text of a LoRa unit when not empty. Any thread.
std::string_view FactoryValue(std::size_t index, UnitVariant variant, std::string_view loraVersion);

// "LORA ver" of the usual module and of the alternative model.
inline constexpr std::string_view kLoraVersionV1 = "SX1278 T4R22A v1.3";
inline constexpr std::string_view kLoraVersionBN = "T4R22B-N v2.0";

}  // namespace sim
