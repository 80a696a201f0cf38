#pragma once
// Plain types shared by the virtual unit's parts: its clock, its modes, its module variants,
// its start options and its counters. Nothing here owns resources or touches threads.
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

using UnitClock = std::chrono::steady_clock;
using TimePoint = UnitClock::time_point;
using Duration = UnitClock::duration;

// Where the unit is in its life: printing its start-up prompt, passing data, or taking AT
// commands. Unplugged is final: the line has been cut.
enum class UnitMode { Prompting, Working, Configuration, Unplugged };

// The module the unit carries besides the modem.
enum class UnitVariant { None, Lora, Zigbee, Gps };

// How the unit comes up: from power-on (banner and prompt window), or already running in one
// of its modes (tests that need not wait for the prompt).
enum class UnitStart { PowerOn, Working, Configuration };

struct UnitOptions {
    UnitVariant variant = UnitVariant::None;
    int baud = 115200;
    bool echo = false;
    UnitStart start = UnitStart::PowerOn;
    Duration promptWindow = std::chrono::seconds(3);
    Duration promptPeriod = std::chrono::milliseconds(500);
    Duration inactivityTimeout = std::chrono::seconds(300);
    // "LORA ver" text of a LoRa unit; empty: the usual v1 module.
    std::string loraVersion;
    std::uint32_t seed = 1;
    // Values the form's lists lack and GBK texts, stored at power-on (HardValues.h).
    bool hardValues = false;
    // Every parameter that takes words or a number (the form's lists among them) holds a value
    // none of them has, stored at power-on (HardValues.h).
    bool oddValues = false;
    // Every parameter that takes text, an address or a phone number holds this many
    // characters, stored at power-on (HardValues.h); 0: none.
    int longValues = 0;
    // Write commands answered OK but not carried out: the unit keeps its old value.
    std::vector<std::string> keepOld;
};

struct UnitCounters {
    std::uint64_t bytesIn = 0;
    std::uint64_t bytesOut = 0;  // bytes that went out on the line, echo and noise included
    std::uint64_t lines = 0;     // non-empty lines received in configuration mode
    std::uint64_t commands = 0;  // lines that held an AT command
    std::uint64_t okAnswers = 0;
    std::uint64_t errorAnswers = 0;
    std::uint64_t prompts = 0;
    std::uint64_t reboots = 0;
    std::uint64_t configEntries = 0;
    std::uint64_t inactivityQuits = 0;
    std::uint64_t bytesLost = 0;  // dropped by a fault or by a host that could not deliver them
};

// Lowest and highest line speed the unit accepts.
inline constexpr int kMinBaud = 50;
inline constexpr int kMaxBaud = 4000000;

// "none", "lora", "zigbee", "gps". Any thread.
std::string_view VariantName(UnitVariant variant);
// Parses a variant name (case-insensitive); returns false on an unknown name. Any thread.
bool ParseVariant(std::string_view text, UnitVariant* variant);
// "prompting", "working", "configuration", "unplugged". Any thread.
std::string_view ModeName(UnitMode mode);

}  // namespace sim
