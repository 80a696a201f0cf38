#include "params/UnitEncoding.h"

#include "params/ParameterTable.h"
#include "ui/TextCodec.h"

namespace {

bool IsAscii(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80) return false;
    }
    return true;
}

}  // namespace

UnitCodePage CodePageOf(const ParameterTable& table) {
    for (const auto& [name, entry] : table) {
        if (!ui::IsValidUtf8(entry.value)) return UnitCodePage::Gbk;
    }
    return UnitCodePage::Utf8;
}

bool EncodeForUnit(std::string_view text, UnitCodePage page, std::string* bytes) {
    if (page == UnitCodePage::Utf8 || IsAscii(text) || !ui::IsValidUtf8(text)) {
        *bytes = std::string(text);
        return true;
    }
    return ui::EncodeGbk(text, bytes);
}
