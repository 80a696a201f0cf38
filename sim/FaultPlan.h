#pragma once
// The faults that act on commands and answers: which command is refused, muted, delayed or
// turned into a reboot, and how an answer's bytes are spoilt on the line. Reproducible: all
// chance comes from one generator seeded at construction. Single-threaded (owned by
// VirtualUnit).
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "sim/FaultRule.h"
#include "sim/UnitTypes.h"

namespace sim {

// What the faults decided about one received command.
struct CommandFaults {
    bool error = false;
    bool mute = false;
    bool reboot = false;
    bool cut = false;  // the line goes once the command is carried out, before its answer
    Duration delay{};
};

// An answer as it goes on the line: noise first, then the body, possibly byte by byte.
struct ShapedAnswer {
    std::string noise;
    std::string body;
    Duration gap{};  // > 0: the body goes out one byte at a time, this far apart
};

class FaultPlan {
  public:
    explicit FaultPlan(std::uint32_t seed);

    // Adds an answer or command rule (noise, zeros, drop, split, delay, mute, error,
    // reboot@CMD, cut); other kinds are ignored here.
    void Add(const FaultRule& rule);
    // Decides the command faults for `command` and uses up one application of each rule that
    // acts. `command` is the command's word ("AT+SHOW", "AT+IPAD", "+++", "s").
    CommandFaults ForCommand(std::string_view command);
    // Spoils `answer` to `command` as the line faults say, using up their applications.
    ShapedAnswer Shape(std::string_view command, std::string answer);
    // Number of answer bytes the faults dropped so far.
    std::uint64_t DroppedBytes() const { return dropped; }

  private:
    bool Applies(FaultRule& rule, std::string_view command);
    bool Chance(long long partsPerMillion);

    std::vector<FaultRule> rules;
    std::mt19937 random;
    std::uint64_t dropped = 0;
};

}  // namespace sim
