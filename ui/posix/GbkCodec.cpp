// GBK through glibc's iconv.
#include <iconv.h>

#include <cerrno>
#include <string>

#include "ui/TextCodec.h"

namespace ui {

QString DecodeGbk(std::string_view bytes) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    std::string out;
    out.resize(bytes.size() * 4 + 16);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* dst = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) break;
        // An undecodable byte: show a replacement character and go on after it.
        static const char kReplacement[] = "\xEF\xBF\xBD";
        if (outLeft < 3) break;
        for (char ch : std::string_view(kReplacement, 3)) *dst++ = ch;
        outLeft -= 3;
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
}

bool EncodeGbk(std::string_view text, std::string* bytes) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string out(text.size() * 2 + 8, '\0');
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

}  // namespace ui
