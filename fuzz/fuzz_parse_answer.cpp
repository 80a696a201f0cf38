// The listing parser on arbitrary answers: it never reads outside the answer, and every value
// it takes holds at most 99 characters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "params/DeviceAnswer.h"
#include "params/ParameterTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParameterTable table;
    BuildParameterTable(table);
    // An exact-size heap copy, so a read past the end is caught.
    std::string answer(reinterpret_cast<const char*>(data), size);
    char* copy = static_cast<char*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(copy, answer.data(), size);
    ParseDeviceAnswer(table, copy, static_cast<int>(size));
    std::free(copy);
    for (const auto& [name, entry] : table) {
        if (entry.value.size() > 99) std::abort();
    }
    return 0;
}
