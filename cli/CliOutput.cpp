#include "cli/CliOutput.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <set>

#include "cli/Console.h"
#include "params/DeviceAnswer.h"
#include "params/ListingCheck.h"
#include "params/ParameterTable.h"
#include "params/SecretValues.h"
#include "ui/TextCodec.h"

namespace {

bool g_progressShown = false;
std::string g_firstProblem;

QString ToQString(std::string_view bytes) {
    return ui::DecodeUnitText(bytes);
}

}  // namespace

std::string UnitText(std::string_view bytes) {
    if (ui::IsValidUtf8(bytes)) return std::string(bytes);
    return ui::DecodeGbk(bytes).toUtf8().toStdString();
}

std::string FormatListing(const std::string& listing, bool json, int* count) {
    ParameterTable table;
    BuildParameterTable(table);
    const std::set<std::string> listed = ParametersInListing(table, listing);
    ParseDeviceAnswer(table, listing.data(), static_cast<int>(listing.size()));
    *count = static_cast<int>(listed.size());
    if (json) {
        // Control names are ASCII: the object's key order is the table's byte order.
        QJsonObject object;
        for (const std::string& name : listed) {
            object.insert(QString::fromStdString(name),
                          ToQString(ShownValue(name, table.ParameterAt(name).value)));
        }
        return QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString();
    }
    std::string lines;
    for (const std::string& name : listed) {
        lines += name + "\t" + UnitText(ShownValue(name, table.ParameterAt(name).value)) + "\n";
    }
    return lines;
}

std::string FormatWrite(std::string_view name, std::string_view oldValue, std::string_view newValue,
                        std::string_view result) {
    // A password is never printed: only whether it changed shows.
    std::string line = UnitText(name) + "\t" + UnitText(ShownValue(name, oldValue)) + "\t" +
                       UnitText(ShownValue(name, newValue));
    if (!result.empty()) line.append("\t").append(result);
    return line;
}

void PrintLine(const std::string& line) {
    ClearProgress();
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void PrintText(const std::string& text) {
    ClearProgress();
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void PrintMessage(const std::string& message) {
    if (g_firstProblem.empty()) g_firstProblem = message;
    PrintNotice(message);
}

void PrintNotice(const std::string& message) {
    ClearProgress();
    std::fprintf(stderr, "dtuconfig: %s\n", message.c_str());
}

const std::string& FirstProblem() {
    return g_firstProblem;
}

bool ProgressWanted() {
    static const bool wanted = console::IsTerminal(stderr);
    return wanted;
}

void ShowProgress(const std::string& text) {
    if (!ProgressWanted()) return;
    // Carriage return and erase to the line's end: the line is rewritten in place.
    std::fprintf(stderr, "\r\033[K%s", text.c_str());
    std::fflush(stderr);
    g_progressShown = true;
}

void ClearProgress() {
    if (!g_progressShown) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    g_progressShown = false;
}
