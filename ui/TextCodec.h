#pragma once
// Bytes from the unit shown as text: UTF-8 when they are valid UTF-8, otherwise GBK, the
// units' code page.
#include <QString>
#include <string>
#include <string_view>

namespace ui {

bool IsValidUtf8(std::string_view bytes);
// Decodes GBK (CP936) bytes; undecodable bytes become U+FFFD. The system's codec: iconv on
// Linux, code page 936 on Windows (ui/posix/GbkCodec.cpp, ui/win32/GbkCodec.cpp).
QString DecodeGbk(std::string_view bytes);
// UTF-8 text as GBK bytes; false (bytes untouched) when a character has no place in GBK or the
// text is not UTF-8.
bool EncodeGbk(std::string_view text, std::string* bytes);
// UTF-8 when valid, else GBK.
QString DecodeUnitText(std::string_view bytes);
// How many of the bytes fit in limit without splitting a character: UTF-8 when the kept part
// is valid UTF-8, else GBK (a lead byte from 0x81 takes the byte after it).
std::size_t CharacterCut(std::string_view bytes, std::size_t limit);

}  // namespace ui
