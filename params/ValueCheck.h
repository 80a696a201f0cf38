#pragma once
// The kinds of value the form can know a parameter takes (an address, a port, a number) and
// the one check of a value against its parameter's kind, made before anything is sent: by
// "set", "apply" and "provision", and by the window where a value is typed, in the review and
// when the writes are collected. Parameters of no known kind (texts, lists) pass.
//
// Threads: pure functions, any thread.
#include <string>
#include <string_view>

enum class ValueKind {
    Any,          // no check
    HostAddress,  // a dotted IPv4 address or a host name; empty leaves the server unset
    IpAddress,    // a dotted IPv4 address; empty leaves it unset
    Port,         // a port number, 0 to 65535
    Number,       // a whole number: digits only, no sign
};

// Why a value does not fit its kind.
enum class ValueFault {
    None,
    NotAddress,     // neither a dotted IPv4 address nor a host name ("999.1.1.1", "a b")
    NotIpAddress,   // not a dotted IPv4 address
    NotNumber,      // empty, or a character other than a digit ("abc", "-1", "5 ")
    LeadingZero,    // "080": the unit lists it as 80, so it would never read back as written
    NotPort,        // not a number from 0 to 65535 ("abc", "70000")
    NumberTooLong,  // more digits than any setting of the unit takes
};

// The kind of value the parameter (by control name) takes; Any for one the form knows none of.
ValueKind ValueKindOf(std::string_view name);

// What is wrong with the value for that kind; None when it fits.
ValueFault CheckValue(ValueKind kind, std::string_view value);

// The check of one parameter's value: why it cannot be written, naming the parameter and the
// reason in words for the command line and the log ("\"Server's Port=abc\": a port is a number
// from 0 to 65535"); empty when it fits.
std::string ValueRefusal(std::string_view name, std::string_view value);

// The reason alone, in words ("a port is a number from 0 to 65535"); empty for None.
std::string ValueFaultText(ValueFault fault);
