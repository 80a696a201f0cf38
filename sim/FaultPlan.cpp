#include "sim/FaultPlan.h"

namespace sim {

namespace {
constexpr long long kMillion = 1000000;

bool IsLineFault(FaultKind kind) {
    return kind == FaultKind::Noise || kind == FaultKind::Zeros || kind == FaultKind::Drop ||
           kind == FaultKind::Split || kind == FaultKind::Stall;
}

bool IsCommandFault(const FaultRule& rule) {
    return rule.kind == FaultKind::Delay || rule.kind == FaultKind::Mute ||
           rule.kind == FaultKind::Error || rule.kind == FaultKind::Cut ||
           (rule.kind == FaultKind::Reboot && !rule.target.empty());
}
}  // namespace

FaultPlan::FaultPlan(std::uint32_t seed) : random(seed) {}

void FaultPlan::Add(const FaultRule& rule) {
    if (IsLineFault(rule.kind) || IsCommandFault(rule)) rules.push_back(rule);
}

bool FaultPlan::Applies(FaultRule& rule, std::string_view command) {
    if (rule.count == 0) return false;
    if (!rule.target.empty() && !TargetMatches(rule.target, command)) return false;
    if (rule.count > 0) --rule.count;
    return true;
}

bool FaultPlan::Chance(long long partsPerMillion) {
    return static_cast<long long>(random() % kMillion) < partsPerMillion;
}

CommandFaults FaultPlan::ForCommand(std::string_view command) {
    CommandFaults faults;
    for (FaultRule& rule : rules) {
        if (!IsCommandFault(rule) || !Applies(rule, command)) continue;
        switch (rule.kind) {
            case FaultKind::Delay:
                faults.delay += std::chrono::milliseconds(rule.amount);
                break;
            case FaultKind::Mute:
                faults.mute = true;
                break;
            case FaultKind::Error:
                faults.error = true;
                break;
            case FaultKind::Reboot:
                faults.reboot = true;
                break;
            case FaultKind::Cut:
                faults.cut = true;
                break;
            default:
                break;
        }
    }
    return faults;
}

ShapedAnswer FaultPlan::Shape(std::string_view command, std::string answer) {
    ShapedAnswer shaped;
    for (FaultRule& rule : rules) {
        if (!IsLineFault(rule.kind) || !Applies(rule, command)) continue;
        switch (rule.kind) {
            case FaultKind::Noise:
                for (long long i = 0; i < rule.amount; ++i) {
                    shaped.noise += static_cast<char>(0x80 + random() % 0x7F);
                }
                break;
            case FaultKind::Drop: {
                std::string kept;
                kept.reserve(answer.size());
                for (char c : answer) {
                    if (Chance(rule.amount)) {
                        ++dropped;
                    } else {
                        kept += c;
                    }
                }
                answer = std::move(kept);
                break;
            }
            case FaultKind::Zeros: {
                std::string spoilt;
                spoilt.reserve(answer.size() + answer.size() / 8);
                for (char c : answer) {
                    spoilt += c;
                    if (Chance(rule.amount)) spoilt += '\0';
                }
                answer = std::move(spoilt);
                break;
            }
            case FaultKind::Split:
                shaped.gap = std::chrono::milliseconds(rule.amount);
                break;
            case FaultKind::Stall:
                if (answer.size() > static_cast<std::size_t>(rule.amount)) {
                    answer.resize(static_cast<std::size_t>(rule.amount));
                }
                break;
            default:
                break;
        }
    }
    shaped.body = std::move(answer);
    return shaped;
}

}  // namespace sim
