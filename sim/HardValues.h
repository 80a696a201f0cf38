#pragma once
// A unit that speaks differently from the form: values the form's lists have no item for, a
// number past a list's items, and texts in the GBK code page. Stored at power-on when the
// unit's options ask for them (UnitOptions::hardValues, `dtuconfig sim --hard-values`).
//
// Threads: constant data, any thread.
#include <span>
#include <string_view>

namespace sim {

struct HardValue {
    std::string_view command;  // the write command of the parameter
    std::string_view value;    // its bytes as the unit lists them
};

// The hard values, one a parameter.
std::span<const HardValue> HardValues();

class ParameterStore;

// The value StoreOddValues stores: in no list of the form, and no number.
inline constexpr std::string_view kOddValue = "x";

// Stores kOddValue, unchecked, in every parameter whose values are words or a number range.
void StoreOddValues(ParameterStore& store);

// Stores `length` characters, unchecked, in every parameter that takes text, an address or a
// phone number: a listing as long as such a unit's gets. Addresses stay host names.
void StoreLongValues(ParameterStore& store, int length);

}  // namespace sim
