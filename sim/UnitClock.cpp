#include "sim/UnitClock.h"

#include <cstdio>

#include "sim/TextUtil.h"

namespace sim {

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long* year, unsigned* month, unsigned* day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *day = doy - (153 * mp + 2) / 5 + 1;
    *month = mp < 10 ? mp + 3 : mp - 9;
    *year = static_cast<long long>(yoe) + era * 400 + (*month <= 2);
}

bool IsLeap(long long y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

unsigned DaysInMonth(long long y, unsigned m) {
    constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// A field of exactly `width` digits.
bool Field(std::string_view text, std::size_t at, std::size_t width, long long* value) {
    const std::string_view digits = text.substr(at, width);
    if (digits.size() != width) return false;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
    }
    return ParseInteger(digits, value);
}

}  // namespace

bool UnitClockSetting::Set(std::string_view argument, TimePoint now) {
    // "yyyy/mm/dd,hh:mm:ss" in quotes: 21 characters, then a comma and the zone.
    if (argument.size() < 23 || argument[0] != '"' || argument[20] != '"' || argument[21] != ',') {
        return false;
    }
    const std::string_view stamp = argument.substr(1, 19);
    if (stamp[4] != '/' || stamp[7] != '/' || stamp[10] != ',' || stamp[13] != ':' ||
        stamp[16] != ':') {
        return false;
    }
    long long year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, newZone = 0;
    if (!Field(stamp, 0, 4, &year) || !Field(stamp, 5, 2, &month) || !Field(stamp, 8, 2, &day) ||
        !Field(stamp, 11, 2, &hour) || !Field(stamp, 14, 2, &minute) ||
        !Field(stamp, 17, 2, &second) || !ParseInteger(argument.substr(22), &newZone)) {
        return false;
    }
    if (year < 2000 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, static_cast<unsigned>(month)) || hour > 23 || minute > 59 ||
        second > 59 || newZone < -12 || newZone > 14) {
        return false;
    }
    base = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
           hour * 3600 + minute * 60 + second;
    setAt = now;
    zone = static_cast<int>(newZone);
    return true;
}

std::string UnitClockSetting::Text(TimePoint now) const {
    if (!base) return {};
    const long long elapsed = std::chrono::duration_cast<std::chrono::seconds>(now - setAt).count();
    const long long total = *base + (elapsed > 0 ? elapsed : 0);
    long long year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(total / 86400, &year, &month, &day);
    const long long inDay = total % 86400;
    char text[80];
    std::snprintf(text, sizeof text, "%04lld/%02u/%02u,%02lld:%02lld:%02lld", year, month, day,
                  inDay / 3600, inDay / 60 % 60, inDay % 60);
    return text;
}

}  // namespace sim
