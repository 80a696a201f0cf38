#pragma once
// The fixed texts the unit prints. Readers recognise the unit by a few of them ("'s' key",
// "AT+LIST", "enter setting!", "Seting Timeout and quit", "Access Point Name:"), so these are
// kept letter for letter; the rest must never contain those markers nor the letters OK.
#include <string>
#include <string_view>

#include "sim/UnitTypes.h"

namespace sim {

inline constexpr std::string_view kPromptText = "Press 's' key to enter setting mode\r\n";
inline constexpr std::string_view kEnterSettingText = "\r\nenter setting!\r\n";
inline constexpr std::string_view kTimeoutText = "\r\nSeting Timeout and quit\r\n";
inline constexpr std::string_view kWorkingText = "\r\nStart working...\r\n";
inline constexpr std::string_view kListingHeader = "\r\n[Device configuration]\r\n";
inline constexpr std::string_view kOkText = "\r\nOK\r\n";
inline constexpr std::string_view kErrorText = "\r\nERROR\r\n";
inline constexpr std::string_view kPinText = "\r\n+CPIN: READY\r\n";
inline constexpr std::string_view kSignalText = "\r\n+CSQ: 23,99\r\n";
inline constexpr std::string_view kNetModeText = "\r\n+FINDNETMODE: LTE\r\n";
inline constexpr std::string_view kFirmware = "V3.2.7 build 2017-11-20";

// The start-up banner of a unit with this "Device Type".
std::string BannerText(std::string_view deviceType);
// The command summary: printed as the configuration-mode greeting and by AT+LIST.
std::string CommandListText();
// The answer line of At+VER for this "Device Type".
std::string VersionText(std::string_view deviceType);

}  // namespace sim
