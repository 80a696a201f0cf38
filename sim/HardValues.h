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

}  // namespace sim
