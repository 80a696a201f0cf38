#include "sim/UnitTexts.h"

namespace sim {

namespace {

struct CommandHelpRow {
    std::string_view command;
    std::string_view purpose;
};

constexpr CommandHelpRow kCommandHelp[] = {
    {"AT+LIST", "this list"},
    {"AT+SHOW", "list all parameters"},
    {"AT+<word>=<value>", "set a parameter"},
    {"AT+FACTORY", "restore the factory parameters"},
    {"AT+EXCCLK=\"yyyy/mm/dd,hh:mm:ss\",z", "set the clock"},
    {"AT+VER", "firmware version"},
    {"AT+CPIN?", "SIM card state"},
    {"AT+CSQ", "signal quality"},
    {"AT+FINDNETMODE", "network the modem is on"},
    {"AT+READFILELOG", "print the event log"},
    {"AT+QUIT", "leave setting mode and start working"},
};

}  // namespace

std::string BannerText(std::string_view deviceType) {
    std::string text = "\r\n\r\n";
    text += deviceType;
    text += " data terminal unit\r\nFirmware ";
    text += kFirmware;
    text += "\r\n";
    return text;
}

std::string CommandListText() {
    std::string text = "\r\n[Setting mode] commands:\r\n";
    for (const auto& row : kCommandHelp) {
        text += row.command;
        text.append(row.command.size() < 36 ? 36 - row.command.size() : 1, ' ');
        text += row.purpose;
        text += "\r\n";
    }
    return text;
}

std::string VersionText(std::string_view deviceType) {
    std::string text = "\r\n+VER: ";
    text += deviceType;
    text += " ";
    text += kFirmware;
    text += "\r\n";
    return text;
}

}  // namespace sim
