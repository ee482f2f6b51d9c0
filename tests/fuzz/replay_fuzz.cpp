// libFuzzer target for recorded games: any bytes are refused or read, never a crash, a hang or a huge
// allocation; what is read writes back to bytes that read the same, and a short recording that is read
// is then verified through the game's own levels, so that the sanitizers see what it hands the game.
// The first byte of an input says what follows. Even: a whole file. Odd: the frame count its trailer
// claims (4 bytes) and the compressed part's content, wrapped in a good header and trailer, so that
// mutations reach the record reader and the game behind the zlib check too.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "fuzz_support.h"
#include "platform/script/script.h"
#include "replay/replay_file.h"
#include "replay/replay_run.h"

namespace {

constexpr std::size_t kMaxFramesPlayed = 3000;  // longer ones only slow the search down

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
}

std::string wrapStream(std::uint32_t frames, const std::string& stream) {
    uLongf size = compressBound(static_cast<uLong>(stream.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(stream.data()),
             static_cast<uLong>(stream.size()));
    packed.resize(size);
    std::string file("KVR\x1a", 4);
    putLe(file, replay::kReplayFormatVersion, 2);
    putLe(file, 1, 2);
    putLe(file, static_cast<std::uint32_t>(stream.size()), 4);
    putLe(file, static_cast<std::uint32_t>(packed.size()), 4);
    file += packed + std::string(12, '\0');
    putLe(file, frames, 4);
    return file + std::string(4, '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || ((data[0] & 1) && size < 5)) return 0;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1)
        bytes = wrapStream(data[1] | data[2] << 8 | data[3] << 16 | std::uint32_t{data[4]} << 24,
                           bytes.substr(4));
    replay::Replay replay;
    std::string error;
    if (!replay::decodeReplay(bytes, &replay, &error)) {
        if (error.empty() || error.find('\n') != std::string::npos) std::abort();  // one line, always
        return 0;
    }
    replay::Replay again;
    if (!replay::decodeReplay(replay::encodeReplay(replay), &again, &error)) std::abort();
    if (again.frames.size() != replay.frames.size() || again.readings != replay.readings ||
        again.segments.size() != replay.segments.size()) {
        std::abort();
    }
    if (replay.frames.size() <= kMaxFramesPlayed) {
        platform::script::reset();
        Options verify;
        verify.verifyFile = "fuzzed.kvr";
        const int code = replay::runReplay(verify, std::move(replay));  // without pictures: none are needed
        fuzz::require(code >= 0 && code <= 2, "a verification ends with 0, 1 or 2");
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::openScreen();
    std::freopen("/dev/null", "w", stdout);  // the verdicts
    return 0;
}
