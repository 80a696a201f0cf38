#include "params/UnitEncoding.h"

#include <iconv.h>
#include <cerrno>

#include "params/ParameterTable.h"
#include "ui/TextCodec.h"

namespace {

bool IsAscii(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80) return false;
    }
    return true;
}

// From one code page to the other through glibc's iconv; false on any character the target
// lacks or any byte the source cannot hold.
bool Convert(const char* to, const char* from, std::string_view text, std::string* bytes) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string out(text.size() * 3 + 8, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* dst = out.data();
    std::size_t outLeft = out.size();
    const bool done = iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1) &&
                      iconv(cd, nullptr, nullptr, &dst, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!done || inLeft != 0) return false;
    out.resize(out.size() - outLeft);
    *bytes = std::move(out);
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
    // A GBK text (a file from a GBK unit) goes to a UTF-8 unit as UTF-8, and back; what the
    // other code page lacks goes nowhere.
    return page == UnitCodePage::Gbk ? Convert("GBK", "UTF-8", text, bytes)
                                     : Convert("UTF-8", "GBK", text, bytes);
}
