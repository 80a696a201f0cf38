#pragma once
// The parameters whose values are secrets (passwords), and a log text with those values masked
// wherever a command writes them ("AT+PASSWORD=value") or the unit lists them ("Label:value").
#include <string>
#include <string_view>

#include "params/ParameterTable.h"

// What stands in for a masked value.
inline constexpr std::string_view kMaskedValue = "********";

// True when the command word writes a secret (compared as a whole word, "AT+PASSWORD").
bool IsSecretCommand(std::string_view atCommand);

// True when the parameter (by control name) holds a secret: its command writes one.
bool IsSecretParameter(std::string_view name);

// The value as logged, printed or reported: kMaskedValue for a secret parameter's value that
// is not empty, the value itself otherwise.
std::string_view ShownValue(std::string_view name, std::string_view value);

// The text with every secret value replaced by kMaskedValue up to its line's end; the labels
// come from the table's secret entries. Everything else is kept byte for byte.
std::string MaskSecretValues(std::string_view text, const ParameterTable& table);
