#pragma once
// One fault the unit is asked to commit, and the text form it is given in on the command
// line ("--fault drop=0.5@AT+SHOW"). Parsing is pure; the rules act in FaultPlan and
// VirtualUnit.
#include <string>
#include <string_view>

namespace sim {

enum class FaultKind {
    Noise,   // `amount` noise bytes before an answer
    Zeros,   // a zero byte after each answer byte with `amount` parts per million
    Drop,    // each answer byte lost with `amount` parts per million
    Split,   // the answer written one byte at a time, `amount` ms apart
    Delay,   // the answer held back `amount` ms
    Mute,    // the command is carried out, its answer is lost
    Error,   // the command is refused with ERROR and not carried out
    Reboot,  // a reboot `amount` ms from now, or instead of carrying out the target command
    Unplug,  // the line is cut after `amount` more output bytes
    Value,   // `value` stored under `target` without validation
    Cut,     // the command is carried out, then the line is cut before its answer
    Stall,   // the answer stops after its first `amount` bytes; the line stays open
};

struct FaultRule {
    FaultKind kind = FaultKind::Noise;
    long long amount = 0;
    std::string target;  // command the rule is limited to; empty: every answer (or at a time)
    int count = -1;      // how many answers or commands it applies to; -1: no limit
    std::string value;
};

// Parses "KIND[=NUMBER][@COMMAND][/COUNT]" or "value:COMMAND=TEXT" into `rule`; on failure
// returns false and says why in `error`. Any thread.
bool ParseFaultRule(std::string_view text, FaultRule* rule, std::string* error);
// The faults explained, one per line, for --help. Any thread.
std::string_view FaultHelp();
// True when a rule's target names this command: case is ignored, and a target without the
// trailing '?' of a query ("AT+CPIN") names the query too. Any thread.
bool TargetMatches(std::string_view target, std::string_view command);

}  // namespace sim
