#include "serial/ReportErrorText.h"

#include "serial/PortError.h"
#include "settings/Labels.h"

namespace serial {

namespace {

constexpr const char* kSection = "ReportError";

struct KindRow {
    PortError kind;
    const char* key;
};

constexpr KindRow kKindKeys[] = {
    {PortError::None, "Other"},
    {PortError::NotFound, "NotFound"},
    {PortError::Permission, "Permission"},
    {PortError::Busy, "Busy"},
    {PortError::Lost, "Lost"},
    {PortError::NotSerial, "NotSerial"},
    {PortError::Unsupported, "Unsupported"},
    {PortError::Other, "Other"},
    {PortError::Refused, "Other"},
    {PortError::Unreachable, "Other"},
    {PortError::NoAnswer, "Other"},
};

}  // namespace

std::string ReportErrorText(const char* operation, int error, unsigned portNumber) {
    std::string what;
    for (const KindRow& row : kKindKeys) {
        if (row.kind == ClassifyError(error)) what = LabelText(kSection, row.key).str();
    }
    // A write that outran its time limit: the line, not the device, is the matter.
    if (error == TimedOutError()) what = LabelText(kSection, "TimedOut").str();
    // The symbolic name reads the same in every language, unlike the system's sentence.
    const std::string name = SystemErrorName(error);
    if (!name.empty()) what += " [" + name + "]";
    return FilledLabel(kSection, "Failed", {{"operation", operation ? operation : ""}}) + " " +
           what + "\n" + FilledLabel(kSection, "Port", {{"port", std::to_string(portNumber)}}) +
           "\n";
}

std::string ReportErrorCaption() {
    return LabelText(kSection, "Caption").str();
}

}  // namespace serial
