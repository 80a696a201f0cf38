// GBK through the system's code page 936 conversions.
#include <windows.h>

#include <string>

#include "ui/TextCodec.h"

namespace ui {

namespace {

constexpr UINT kGbk = 936;

// One GBK character (one or two bytes) as UTF-16, or nothing when it is not one.
std::wstring DecodeOne(std::string_view bytes) {
    wchar_t wide[4];
    const int n = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes.data(),
                                      static_cast<int>(bytes.size()), wide, 4);
    return n > 0 ? std::wstring(wide, static_cast<size_t>(n)) : std::wstring();
}

}  // namespace

QString DecodeGbk(std::string_view bytes) {
    // Character by character, so one undecodable byte becomes one U+FFFD and the rest survives.
    std::wstring out;
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        if (i + 1 < bytes.size()) {
            const std::wstring pair = DecodeOne(bytes.substr(i, 2));
            if (!pair.empty()) {
                out += pair;
                i += 2;
                continue;
            }
        }
        const std::wstring single = DecodeOne(bytes.substr(i, 1));
        out += single.empty() ? std::wstring(1, L'\xFFFD') : single;
        ++i;
    }
    return QString::fromWCharArray(out.data(), static_cast<qsizetype>(out.size()));
}

bool EncodeGbk(std::string_view text, std::string* bytes) {
    if (text.empty()) {
        bytes->clear();
        return true;
    }
    const int wideSize = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                             static_cast<int>(text.size()), nullptr, 0);
    if (wideSize <= 0) return false;
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        wideSize);
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, nullptr,
                                         0, nullptr, &lossy);
    if (size <= 0 || lossy) return false;
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, out.data(), size,
                        nullptr, &lossy);
    if (lossy) return false;
    *bytes = std::move(out);
    return true;
}

}  // namespace ui
