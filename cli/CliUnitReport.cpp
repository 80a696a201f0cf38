#include "cli/CliUnitReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <string_view>

#include "cli/CliOutput.h"
#include "params/DeviceAnswer.h"
#include "params/ListingCheck.h"
#include "params/ParameterTable.h"
#include "params/SecretValues.h"
#include "settings/AtomicFile.h"

namespace {

QString Text(const std::string& bytes) {
    return QString::fromStdString(UnitText(bytes));
}

// A password is reported masked: the report says whether it changed, never what it is.
QString Value(const std::string& name, const std::string& value) {
    return Text(std::string(ShownValue(name, value)));
}

QJsonObject Values(const std::map<std::string, std::string>& values) {
    QJsonObject object;
    for (const auto& [name, value] : values) object.insert(Text(name), Value(name, value));
    return object;
}

}  // namespace

std::map<std::string, std::string> ListingValues(const char* listing, int length) {
    ParameterTable table;
    BuildParameterTable(table);
    const std::string text(listing, static_cast<std::size_t>(std::max(length, 0)));
    const std::set<std::string> listed = ParametersInListing(table, text);
    ParseDeviceAnswer(table, text.data(), static_cast<int>(text.size()));
    std::map<std::string, std::string> values;
    for (const std::string& name : listed) values[name] = table.ParameterAt(name).value;
    return values;
}

std::string UnitFileStem(const std::string& port, int sequence) {
    // "/dev/ttyUSB0" and "\\.\COM10" name their files by the last part: ttyUSB0, COM10.
    const std::size_t slash = port.find_last_of("/\\");
    std::string base = slash == std::string::npos ? port : port.substr(slash + 1);
    // What is left of a name no system's file name takes.
    for (char& c : base) {
        if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos ||
            static_cast<unsigned char>(c) < 0x20)
            c = '_';
    }
    return base + "-" + std::to_string(sequence);
}

std::string ReportFileName(const std::string& port, int sequence) {
    return UnitFileStem(port, sequence) + ".json";
}

bool WriteUnitReport(const std::string& path, const UnitReport& report, std::string* error) {
    QJsonArray writes;
    for (const WriteRecord& w : report.writes) {
        writes.append(QJsonObject{{"name", Text(w.name)},
                                  {"old", Value(w.name, w.oldValue)},
                                  {"new", Value(w.name, w.newValue)},
                                  {"outcome", Text(w.outcome)}});
    }
    QJsonArray problems;
    for (const std::string& p : report.problems) problems.append(Text(p));
    const QJsonObject root{
        {"port", Text(report.port)},
        {"sequence", report.sequence},
        {"deviceType", Text(report.deviceType)},
        {"modemId", Text(report.modemId)},
        {"result", report.configured ? "configured" : "failed"},
        {"readBack", Text(report.readBack)},
        {"writes", writes},
        {"problems", problems},
        {"before", Values(report.before)},
        {"after", Values(report.after)},
    };
    const QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Indented);
    return ReplaceFileContents(path, json.toStdString(), error, FileAccess::OwnerOnly);
}
