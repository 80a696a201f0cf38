// The INI reader on arbitrary files: a lookup never returns more than the buffer holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view content(reinterpret_cast<const char*>(data), size);
    const char* const lookups[][2] = {
        {"Set", "Language"}, {"OnStartCom", "Open"}, {"", ""}, {"Notify", "Server's Label1"}};
    for (const auto& lookup : lookups) {
        for (std::size_t buffer : {0u, 1u, 20u, 200u}) {
            std::string v =
                ini::GetStringFromText(content, lookup[0], lookup[1], "default", buffer);
            if (buffer > 0 && v.size() > buffer - 1) std::abort();
            if (buffer <= 1 && !v.empty()) std::abort();
        }
    }
    return 0;
}
