#include "params/ParameterTable.h"

void ParameterTable::AddParameter(int tab, ControlKind kind, std::string_view name,
                                  std::string_view responseLabel, std::string_view atCommand) {
    ParameterEntry entry;
    entry.atCommand = atCommand;
    entry.responseLabel = responseLabel;
    entry.kind = kind;
    entry.tab = tab;
    // emplace leaves an existing entry alone, shown flag included.
    entries.emplace(std::string(name), std::move(entry));
}

ParameterEntry* ParameterTable::FindParameter(std::string_view name) {
    auto it = entries.find(std::string(name));
    return it == entries.end() ? nullptr : &it->second;
}

const ParameterEntry* ParameterTable::FindParameter(std::string_view name) const {
    auto it = entries.find(std::string(name));
    return it == entries.end() ? nullptr : &it->second;
}

ParameterEntry& ParameterTable::ParameterAt(std::string_view name) {
    auto [it, added] = entries.try_emplace(std::string(name));
    if (added) {
        // A name outside the unit's protocol is kept for its value only: never shown or written.
        it->second.shown = false;
        it->second.tab = kNoTab;
        it->second.kind = ControlKind::None;
    }
    return it->second;
}

void ParameterTable::SetValue(std::string_view name, std::string_view value) {
    ParameterAt(name).value = value;
}
