#pragma once
// One value the form gives a parameter, as the collection of writes, the refusals and the
// review pass it around.
//
// Threads: plain data; any thread.
#include <string>

// One value the form gives a parameter: `source` is the control it comes from (the parameter
// itself, or the list whose side write it is).
struct FormValue {
    std::string source;
    std::string name;
    std::string value;         // in the unit's code page (UnitEncoding.h)
    bool unencodable = false;  // typed text the unit's code page cannot hold: value is as typed
    bool unitItem = false;     // the list's own item: a value no item of the list stands for
};
