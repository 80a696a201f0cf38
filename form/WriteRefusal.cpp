#include "form/WriteRefusal.h"

#include <utility>

#include "form/FormValue.h"
#include "form/FormWindow.h"
#include "params/ComboWriteRules.h"
#include "params/ValueCheck.h"
#include "params/ValueText.h"
#include "settings/Labels.h"
#include "ui/Controls.h"
#include "ui/TextCodec.h"

namespace {

constexpr const char* kSection = "Notify";
constexpr const char* kControlNotice = "ValueNotice";
constexpr const char* kEncodingNotice = "EncodingNotice";
constexpr const char* kSpaceNotice = "SpaceNotice";
constexpr const char* kTypeNotice = "TypeNotice";
constexpr const char* kUnitValueNotice = "UnitValueNotice";
constexpr const char* kNotices[] = {kControlNotice, kEncodingNotice, kSpaceNotice, kTypeNotice,
                                    kUnitValueNotice};

// The reason of a value check in the window's language: its [ValueCheck] label.
constexpr std::pair<ValueFault, const char*> kFaultLabels[] = {
    {ValueFault::NotAddress, "NotAddress"}, {ValueFault::NotIpAddress, "NotIpAddress"},
    {ValueFault::NotNumber, "NotNumber"},   {ValueFault::LeadingZero, "LeadingZero"},
    {ValueFault::NotPort, "NotPort"},       {ValueFault::NumberTooLong, "NumberTooLong"},
};

std::string FaultText(ValueFault fault) {
    for (const auto& [known, key] : kFaultLabels) {
        if (known == fault) return LabelText("ValueCheck", key).str();
    }
    return {};
}

bool HasOuterSpace(const std::string& value) {
    return !value.empty() && (value.front() == ' ' || value.back() == ' ');
}

bool SameCommand(const ParameterTable& table, std::string_view a, const std::string& command) {
    const ParameterEntry* entry = table.FindParameter(a);
    return entry && !command.empty() && entry->atCommand == command;
}

}  // namespace

bool FormCanChoose(FormWindow& frame, const std::string& name, const std::string& value) {
    const ParameterEntry* target = frame.parameterTable.FindParameter(name);
    if (!target || target->atCommand.empty()) return false;
    const std::string& command = target->atCommand;
    for (const auto& [list, entry] : frame.parameterTable) {
        if (entry.kind != ControlKind::Combobox) continue;
        auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(list));
        if (!combo) continue;
        for (int i = 0; i < combo->GetCount(); ++i) {
            const CListLabelElementUI* item = combo->GetItemAt(i);
            if (item->IsUnitValue()) continue;
            const ComboWrite write = DeriveComboWrite(list, i, item->GetText().str());
            if (write.write && write.value == value && entry.atCommand == command) return true;
            if (!write.sideEntry.empty() && write.sideValue == value &&
                SameCommand(frame.parameterTable, write.sideEntry, command)) {
                return true;
            }
        }
    }
    return false;
}

WriteRefusal RefusalOf(FormWindow& frame, const FormValue& v, const ParameterEntry& entry) {
    if (v.value == entry.value) return {};
    if (v.unencodable) return {kEncodingNotice, {}};
    if (HoldsControlByte(v.value)) return {kControlNotice, {}};
    if (HasOuterSpace(v.value)) return {kSpaceNotice, {}};
    if (const ValueFault fault = CheckValue(ValueKindOf(v.name), v.value);
        fault != ValueFault::None) {
        return {kTypeNotice, FaultText(fault)};
    }
    if (v.unitItem && !FormCanChoose(frame, v.name, v.value)) {
        return {kUnitValueNotice, ui::DecodeUnitText(v.value).toUtf8().toStdString()};
    }
    return {};
}

std::string RefusalLine(const WriteRefusal& refusal, const std::string& name) {
    std::string line = LabelText(kSection, refusal.notice).str() + name;
    if (!refusal.reason.empty()) line += " (" + refusal.reason + ")";
    return line + "\r\n";
}

std::string RefusalReason(const WriteRefusal& refusal) {
    std::string text = LabelText(kSection, refusal.notice).str();
    // The notice leads into the parameter's name; as a reason of its own it ends before that.
    for (const std::string_view end : {" ", ":", "\xEF\xBC\x9A"}) {
        while (text.ends_with(end)) text.resize(text.size() - end.size());
    }
    if (!refusal.reason.empty()) text += " (" + refusal.reason + ")";
    return text;
}

std::span<const char* const> RefusalNotices() {
    return kNotices;
}
