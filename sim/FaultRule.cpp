#include "sim/FaultRule.h"

#include "sim/TextUtil.h"

namespace sim {

namespace {

enum class Amount { None, Optional, Required };

// How each kind is written: its word, what its number means and whether it takes a target.
struct FaultSyntax {
    std::string_view word;
    FaultKind kind;
    Amount amount;
    long long scale;  // the number is multiplied by this (percent to parts per million: 10000)
    long long defaultAmount;
    long long maxAmount;
    bool takesTarget;
};

constexpr FaultSyntax kSyntax[] = {
    {"noise", FaultKind::Noise, Amount::Optional, 1, 4, 4096, true},
    {"zeros", FaultKind::Zeros, Amount::Optional, 10000, 10000, 1000000, true},
    {"drop", FaultKind::Drop, Amount::Optional, 10000, 10000, 1000000, true},
    {"split", FaultKind::Split, Amount::Optional, 1, 2, 10000, true},
    {"delay", FaultKind::Delay, Amount::Required, 1, 0, 600000, true},
    {"mute", FaultKind::Mute, Amount::None, 1, 0, 0, true},
    {"error", FaultKind::Error, Amount::None, 1, 0, 0, true},
    {"reboot", FaultKind::Reboot, Amount::Optional, 1, -1, 3600000, true},
    {"unplug", FaultKind::Unplug, Amount::Required, 1, 0, 1LL << 40, false},
    {"cut", FaultKind::Cut, Amount::None, 1, 0, 0, true},
    {"stall", FaultKind::Stall, Amount::Required, 1, 0, 1LL << 40, true},
};

constexpr std::string_view kHelp =
    "  noise[=N]          N noise bytes (0x80..0xFE, default 4) before each answer\n"
    "  zeros[=PCT]        a zero byte after each answer byte with PCT percent (default 1)\n"
    "  drop[=PCT]         each answer byte lost with PCT percent (default 1)\n"
    "  split[=MS]         answers written one byte at a time, MS ms apart (default 2)\n"
    "  delay=MS           answers held back MS ms\n"
    "  mute               the command is carried out but its answer is lost\n"
    "  error              the command is refused with ERROR and not carried out\n"
    "  reboot=MS          the unit reboots MS ms after start\n"
    "  reboot@CMD         the unit reboots instead of carrying out CMD\n"
    "  unplug=N           the line is cut after N output bytes\n"
    "  cut@CMD            CMD is carried out, then the line is cut before its answer\n"
    "  stall=N            answers stop after their first N bytes; the line stays open\n"
    "  value:CMD=TEXT     TEXT is stored as CMD's value unchecked (value:AT+APN=BOOK)\n"
    "Answer faults take @CMD to act on one command only (AT+SHOW, At+CSQ, AT+IPAD for its\n"
    "writes, +++ for the escape, s for the greeting) and /N to act on the first N only:\n"
    "  error@At+CSQ/2     the first two At+CSQ are answered ERROR\n";

bool Fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

bool ParseValueFault(std::string_view body, FaultRule* rule, std::string* error) {
    const std::size_t equals = body.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return Fail(error, "value fault needs value:COMMAND=TEXT");
    }
    rule->kind = FaultKind::Value;
    rule->target = std::string(body.substr(0, equals));
    rule->value = std::string(body.substr(equals + 1));
    return true;
}

}  // namespace

bool ParseFaultRule(std::string_view text, FaultRule* rule, std::string* error) {
    *rule = FaultRule{};
    if (text.substr(0, 6) == "value:") return ParseValueFault(text.substr(6), rule, error);

    const std::size_t wordEnd = text.find_first_of("=@/");
    const std::string_view word = text.substr(0, wordEnd);
    const FaultSyntax* syntax = nullptr;
    for (const auto& row : kSyntax) {
        if (EqualsNoCase(row.word, word)) syntax = &row;
    }
    if (!syntax) return Fail(error, "unknown fault '" + std::string(word) + "'");
    rule->kind = syntax->kind;
    rule->amount = syntax->defaultAmount;

    std::string_view rest = wordEnd == std::string_view::npos ? "" : text.substr(wordEnd);
    bool hasAmount = false;
    if (!rest.empty() && rest.front() == '=') {
        const std::size_t end = rest.find_first_of("@/");
        const std::string_view number =
            rest.substr(1, end == std::string_view::npos ? end : end - 1);
        if (syntax->amount == Amount::None) {
            return Fail(error, "fault '" + std::string(word) + "' takes no number");
        }
        long long amount = 0;
        const bool fractionOk = syntax->scale > 1 || number.find('.') == std::string_view::npos;
        if (!fractionOk || !ParseScaled(number, syntax->scale, &amount) ||
            amount > syntax->maxAmount || (amount == 0 && syntax->kind != FaultKind::Unplug)) {
            return Fail(error, "bad number '" + std::string(number) + "' in fault '" +
                                   std::string(text) + "'");
        }
        rule->amount = amount;
        hasAmount = true;
        rest = end == std::string_view::npos ? "" : rest.substr(end);
    }
    if (!rest.empty() && rest.front() == '@') {
        const std::size_t end = rest.find('/', 1);
        rule->target = std::string(rest.substr(1, end == std::string_view::npos ? end : end - 1));
        if (rule->target.empty()) return Fail(error, "empty command after '@'");
        if (!syntax->takesTarget) {
            return Fail(error, "fault '" + std::string(word) + "' takes no command");
        }
        rest = end == std::string_view::npos ? "" : rest.substr(end);
    }
    if (!rest.empty() && rest.front() == '/') {
        long long count = 0;
        if (!ParseInteger(rest.substr(1), &count) || count < 1 || count > 1000000) {
            return Fail(error, "bad count in fault '" + std::string(text) + "'");
        }
        rule->count = static_cast<int>(count);
        rest = {};
    }
    if (!rest.empty()) return Fail(error, "cannot read fault '" + std::string(text) + "'");
    if (syntax->amount == Amount::Required && !hasAmount) {
        return Fail(error, "fault '" + std::string(word) + "' needs =NUMBER");
    }
    if (syntax->kind == FaultKind::Reboot && hasAmount == !rule->target.empty()) {
        return Fail(error, "reboot needs either =MS or @COMMAND");
    }
    return true;
}

std::string_view FaultHelp() {
    return kHelp;
}

bool TargetMatches(std::string_view target, std::string_view command) {
    if (EqualsNoCase(target, command)) return true;
    return !command.empty() && command.back() == '?' &&
           EqualsNoCase(target, command.substr(0, command.size() - 1));
}

}  // namespace sim
