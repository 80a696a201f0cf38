#include "ui/TextCodec.h"

#include <string>

namespace ui {

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        auto c = static_cast<unsigned char>(bytes[i]);
        int extra;
        unsigned min;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
        } else {
            return false;
        }
        if (n - i <= static_cast<std::size_t>(extra)) return false;
        unsigned cp = c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            auto cc = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

QString DecodeUnitText(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return DecodeGbk(bytes);
}

std::size_t CharacterCut(std::string_view bytes, std::size_t limit) {
    if (bytes.size() <= limit) return bytes.size();
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) --cut;
    if (IsValidUtf8(bytes.substr(0, cut))) return cut;
    std::size_t at = 0;
    while (at < limit) {
        const std::size_t width = static_cast<unsigned char>(bytes[at]) >= 0x81 ? 2 : 1;
        if (at + width > limit) break;
        at += width;
    }
    return at;
}

}  // namespace ui
