// The .cfg reader on arbitrary files: decoding never yields more than the limit, the check of
// a listing holds together, and what the program writes reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "params/ConfigFileText.h"
#include "params/DeviceAnswer.h"
#include "params/ListingCheck.h"
#include "params/ParameterTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string text = DecodeConfigText(bytes);
    if (text.size() > kConfigTextLimit) std::abort();

    ParameterTable table;
    BuildParameterTable(table);
    ParseDeviceAnswer(table, text.data(), static_cast<int>(text.size()));
    for (const auto& [name, entry] : table) {
        if (entry.value.size() > 99) std::abort();
    }

    const ListingCheck check = ReadListingFile(bytes, table);
    if (check.text.size() > kListingTextLimit) std::abort();
    if (check.values < 0 || (check.values == 0 && !check.Refused())) std::abort();

    // A listing has no Ctrl-Z; without one, encoding then decoding is the identity.
    if (bytes.find('\x1a') == std::string_view::npos && size <= 4000) {
        std::string again = DecodeConfigText(EncodeConfigText(bytes), size + 1);
        if (again != bytes) std::abort();
    }
    return 0;
}
