// libFuzzer target for the recorded-game reader: any bytes are refused or read, never a crash, a
// hang or a huge allocation; what is read writes back to bytes that read the same.
// An input whose first byte is odd is taken as the compressed part's content and wrapped in a good
// header, so that mutations reach the record reader behind the zlib check too.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/replay_file.h"

namespace {

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
}

std::string wrapStream(const std::string& stream) {
    uLongf size = compressBound(static_cast<uLong>(stream.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(stream.data()),
             static_cast<uLong>(stream.size()));
    packed.resize(size);
    std::string file("KVR\x1a", 4);
    putLe(file, platform::kReplayFormatVersion, 2);
    putLe(file, 1, 2);
    putLe(file, static_cast<std::uint32_t>(stream.size()), 4);
    putLe(file, static_cast<std::uint32_t>(packed.size()), 4);
    return file + packed + std::string(20, '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size > 0 && (data[0] & 1)) bytes = wrapStream(bytes.substr(1));
    platform::Replay replay;
    std::string error;
    if (!platform::decodeReplay(bytes, &replay, &error)) {
        if (error.empty() || error.find('\n') != std::string::npos) std::abort();  // one line, always
        return 0;
    }
    platform::Replay again;
    if (!platform::decodeReplay(platform::encodeReplay(replay), &again, &error)) std::abort();
    if (again.frames.size() != replay.frames.size() || again.readings != replay.readings ||
        again.segments.size() != replay.segments.size()) {
        std::abort();
    }
    return 0;
}
