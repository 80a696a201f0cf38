#include "engine/OpenErrorText.h"

#include "settings/Labels.h"
#include "settings/System.h"

namespace {

struct KindRow {
    serial::PortError kind;
    const char* key;
};

constexpr KindRow kKindKeys[] = {
    {serial::PortError::NotFound, "PortNotFound"},
    {serial::PortError::Permission, "PortNoPermission"},
    {serial::PortError::Busy, "PortBusy"},
    {serial::PortError::Lost, "PortLost"},
    {serial::PortError::NotSerial, "PortNotSerial"},
    {serial::PortError::Unsupported, "PortUnsupported"},
    {serial::PortError::Other, "PortFailed"},
    {serial::PortError::Refused, "PortRefused"},
    {serial::PortError::Unreachable, "PortUnreachable"},
    {serial::PortError::NoAnswer, "PortNoAnswer"},
};

const char* KeyOf(const serial::OpenFailure& failure) {
    // A server that turns the connection down may do so only once the settings are sent; only
    // its own words tell a port in use from any other reason.
    if (!failure.serverSays.empty())
        return failure.kind == serial::PortError::Busy ? "PortServerBusy" : "PortServerClosed";
    if (!failure.step.empty()) return "PortRefusedSetting";
    if (failure.kind == serial::PortError::Busy && failure.holder.pid != 0) return "PortHeld";
    for (const KindRow& row : kKindKeys) {
        if (row.kind == failure.kind) return row.key;
    }
    return "PortFailed";
}

}  // namespace

std::string FillOpenText(const char* key, LabelValues values) {
    return FilledLabel("OnStartCom", key, values);
}

std::string DescribeOpenFailure(const std::string& device, const serial::OpenFailure& failure) {
    std::string text = FillOpenText(KeyOf(failure), {{"device", device},
                                                     {"pid", std::to_string(failure.holder.pid)},
                                                     {"program", failure.holder.program},
                                                     {"step", failure.step},
                                                     {"text", failure.serverSays},
                                                     {"user", sys::UserName()}});
    // The symbolic name reads the same in every language, unlike the system's sentence.
    const std::string name = serial::SystemErrorName(failure.error);
    if (!name.empty()) text += " [" + name + "]";
    return text;
}
