// The pack parser on any decompressed content: it must refuse what it cannot hold and convert the rest.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "resources/pack_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::openScreen();
    ImageList list;
    std::string error;
    const bool ok = parsePack(list, data, size, &error);
    fuzz::require(ok ? error.empty() : list.count == 0,
                  "a failed parse keeps images or a good one complains");
    for (std::int32_t i = 0; i < list.count; ++i) {
        fuzz::require(list.records[i] && list.records[i]->surface, "a parsed image without a surface");
    }
    return 0;
}
