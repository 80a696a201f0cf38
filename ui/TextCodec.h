#pragma once
// Bytes from the unit shown as text: UTF-8 when they are valid UTF-8, otherwise GBK, the
// units' code page.
#include <QString>
#include <string_view>

namespace ui {

bool IsValidUtf8(std::string_view bytes);
// Decodes GBK (CP936) bytes; undecodable bytes become U+FFFD.
QString DecodeGbk(std::string_view bytes);
// UTF-8 when valid, else GBK.
QString DecodeUnitText(std::string_view bytes);

}  // namespace ui
