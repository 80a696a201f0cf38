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
    const bool utf8 = ui::IsValidUtf8(text);
    if (IsAscii(text) || (page == UnitCodePage::Gbk) != utf8) {
        *bytes = std::string(text);
        return true;
    }
    if (page == UnitCodePage::Gbk) return ui::EncodeGbk(text, bytes);
    // A GBK text (a file from a GBK unit) goes to a UTF-8 unit as UTF-8; bytes that are not
    // GBK go nowhere.
    const QString decoded = ui::DecodeGbk(text);
    if (decoded.contains(QChar::ReplacementCharacter)) return false;
    *bytes = decoded.toStdString();
    return true;
}
