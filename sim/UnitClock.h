#pragma once
// The unit's real-time clock: unset at first, set by AT+EXCCLK, then running with the
// steady clock. Single-threaded (owned by VirtualUnit).
#include <optional>
#include <string>
#include <string_view>

#include "sim/UnitTypes.h"

namespace sim {

class UnitClockSetting {
  public:
    // Sets the clock from an AT+EXCCLK argument, "\"yyyy/mm/dd,hh:mm:ss\",z" with z a zone
    // from -12 to 14; returns false and leaves the clock as it was when the text is not a
    // valid date and time in that form.
    bool Set(std::string_view argument, TimePoint now);
    // True once the clock has been set.
    bool IsSet() const { return base.has_value(); }
    // The time at `now` as "yyyy/mm/dd,hh:mm:ss", or an empty text while unset.
    std::string Text(TimePoint now) const;
    // The zone given with the last setting.
    int Zone() const { return zone; }

  private:
    std::optional<long long> base;  // seconds since 1970-01-01 00:00:00 at `setAt`
    TimePoint setAt{};
    int zone = 0;
};

}  // namespace sim
