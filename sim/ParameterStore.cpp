#include "sim/ParameterStore.h"

#include "sim/UnitParameters.h"

namespace sim {

ParameterStore::ParameterStore(UnitVariant variant, std::string loraVersion)
    : variant(variant), loraVersion(std::move(loraVersion)) {
    RestoreFactory();
}

void ParameterStore::RestoreFactory() {
    const auto parameters = UnitParameters();
    values.assign(parameters.size(), std::string());
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        values[i] = std::string(FactoryValue(i, variant, loraVersion));
    }
}

WriteResult ParameterStore::Write(std::string_view command, std::string_view value) {
    const int index = FindParameterByCommand(command);
    if (index < 0) return WriteResult::UnknownCommand;
    const UnitParameter& parameter = UnitParameters()[index];
    if (parameter.domain.kind == ValueKind::ReadOnly) return WriteResult::ReadOnly;
    if (!ValueFits(parameter.domain, value)) return WriteResult::Refused;
    values[index] = std::string(value);
    return WriteResult::Stored;
}

bool ParameterStore::Force(std::string_view commandOrLabel, std::string_view value) {
    int index = FindParameterByCommand(commandOrLabel);
    if (index < 0) index = FindParameterByLabel(commandOrLabel);
    if (index < 0) return false;
    values[index] = std::string(value);
    return true;
}

std::optional<std::string> ParameterStore::ByCommand(std::string_view command) const {
    const int index = FindParameterByCommand(command);
    if (index < 0) return std::nullopt;
    return values[index];
}

std::optional<std::string> ParameterStore::ByLabel(std::string_view label) const {
    const int index = FindParameterByLabel(label);
    if (index < 0) return std::nullopt;
    return values[index];
}

std::string ParameterStore::Listing() const {
    const auto parameters = UnitParameters();
    std::string text;
    text.reserve(6000);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        text += parameters[i].label;
        text += values[i];
        text += "\r\n";
    }
    return text;
}

}  // namespace sim
