#include "form/SettleRules.h"

#include <deque>
#include <utility>

#include "form/LayoutRules.h"
#include "form/RuleCodes.h"

namespace {

// Rules post a few others; more than this many runs would be two rules posting each other.
constexpr int kMaxRuns = 200;

bool ClearsTexts(int code) {
    return code == kClearDioTextsRule || code == kDioDataFormatRule;
}

}  // namespace

void SettleLayoutRules(FormContext& form) {
    std::deque<std::pair<int, LPARAM>> pending;
    for (int code = 0; code < kRuleCount; ++code) {
        if (!ClearsTexts(code)) pending.emplace_back(code, 0);
    }
    FormContext here = form;
    here.postRule = [&pending](int code, LPARAM argument) {
        if (!ClearsTexts(code)) pending.emplace_back(code, argument);
    };
    for (int run = 0; run < kMaxRuns && !pending.empty(); ++run) {
        const auto [code, argument] = pending.front();
        pending.pop_front();
        ApplyLayoutRule(here, code, argument);
    }
}

void SettleLayoutRules(FormWindow& frame) {
    FormContext form = FrameFormContext(frame);
    SettleLayoutRules(form);
}
