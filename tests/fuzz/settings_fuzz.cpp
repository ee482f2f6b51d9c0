// The settings decoder on any file, then encode and decode again: a record survives its own bytes,
// and a whole file comes back byte for byte.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "persist/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    Settings record;
    decodeSettings(file, record);
    const std::string bytes = encodeSettings(record);
    fuzz::require(bytes.size() == kSettingsFileSize, "encoded record is not 211 bytes");
    // The bytes the file holds come back as they were (a short file's tail keeps the defaults).
    const std::size_t held = size < kSettingsFileSize ? size : kSettingsFileSize;
    fuzz::require(bytes.compare(0, held, file, 0, held) == 0, "the file's bytes changed");
    Settings again;
    decodeSettings(bytes, again);
    fuzz::require(encodeSettings(again) == bytes, "decode after encode changed the record");
    return 0;
}
