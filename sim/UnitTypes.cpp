#include "sim/UnitTypes.h"

#include "sim/TextUtil.h"

namespace sim {

namespace {
struct VariantNameRow {
    UnitVariant variant;
    std::string_view name;
};

constexpr VariantNameRow kVariantNames[] = {
    {UnitVariant::None, "none"},
    {UnitVariant::Lora, "lora"},
    {UnitVariant::Zigbee, "zigbee"},
    {UnitVariant::Gps, "gps"},
};
}  // namespace

std::string_view VariantName(UnitVariant variant) {
    for (const auto& row : kVariantNames) {
        if (row.variant == variant) return row.name;
    }
    return "none";
}

bool ParseVariant(std::string_view text, UnitVariant* variant) {
    for (const auto& row : kVariantNames) {
        if (EqualsNoCase(text, row.name)) {
            *variant = row.variant;
            return true;
        }
    }
    return false;
}

std::string_view ModeName(UnitMode mode) {
    switch (mode) {
        case UnitMode::Prompting:
            return "prompting";
        case UnitMode::Working:
            return "working";
        case UnitMode::Configuration:
            return "configuration";
        case UnitMode::Unplugged:
            return "unplugged";
    }
    return "unknown";
}

}  // namespace sim
