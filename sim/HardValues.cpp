#include "sim/HardValues.h"

#include <string>

#include "sim/ParameterStore.h"
#include "sim/UnitParameters.h"

namespace sim {

namespace {

// clang-format off
constexpr HardValue kHardValues[] = {
    // command              value                                    what the form lacks
    {"AT+DIOINTFACE1",      "RS232"},                                // an item of a text list
    {"AT+MANAPRO",          "1"},                                    // the same, a number
    {"AT+DEBUG",            "7"},                                    // past a list's items
    {"AT+DIOWORKMODE1",     "5"},                                    // no item of its list
    {"AT+DIOHIGHINFO1",     "\xB8\xDF\xB5\xE7\xC6\xBD"},             // GBK "高电平"
    {"AT+DIOLOWINFO1",      "\xB5\xCD\xB5\xE7\xC6\xBD"},             // GBK "低电平"
    {"AT+APN",              "\xD2\xC6\xB6\xAF"},                     // GBK "移动"
};
// clang-format on

}  // namespace

std::span<const HardValue> HardValues() {
    return kHardValues;
}

void StoreOddValues(ParameterStore& store) {
    for (const UnitParameter& p : UnitParameters()) {
        const ValueKind kind = p.domain.kind;
        if (!p.command.empty() && (kind == ValueKind::Choice || kind == ValueKind::Integer)) {
            store.Force(p.command, kOddValue);
        }
    }
}

void StoreLongValues(ParameterStore& store, int length) {
    if (length <= 0) return;
    const auto size = static_cast<std::size_t>(length);
    for (const UnitParameter& p : UnitParameters()) {
        if (p.command.empty()) continue;
        std::string value;
        switch (p.domain.kind) {
            case ValueKind::Text:
                while (value.size() < size) value += "long text ";
                break;
            case ValueKind::Host:
                // Labels of at most 63 characters, the last one letters: still a host name.
                while (value.size() < size)
                    value += std::string(value.empty() ? 0 : 1, '.') + "host";
                break;
            case ValueKind::Phone:
                value.assign(size, '7');
                break;
            default:
                continue;
        }
        value.resize(size);
        if (p.domain.kind == ValueKind::Host) {
            while (!value.empty() && (value.back() == '.' || value.back() == '-'))
                value.back() = 'z';
        }
        store.Force(p.command, value);
    }
}

}  // namespace sim
