// The ".kvr" file. Plain header: magic, format version, rules version, the stream's two lengths. Then
// the zlib-compressed stream of records in the order they happened. Plain trailer: the end state.
// The records themselves are in record_stream.cpp.
#include "replay/replay_file.h"

#include <zlib.h>

#include <cstring>

#include "platform/platform.h"
#include "replay/record_stream.h"

namespace replay {
namespace {

constexpr char kMagic[4] = {'K', 'V', 'R', 0x1a};
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kTrailerSize = 20;
constexpr std::size_t kMaxFileSize = 8u << 20;  // some hundred hours of play

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
}
std::uint32_t getLe(const std::string& in, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= std::uint32_t{static_cast<unsigned char>(in[at + i])} << (8 * i);
    return value;
}

bool inflateAll(const std::string& packed, std::size_t expected, std::string* out) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = static_cast<uInt>(packed.size());
    // The output grows only as real data comes out, never to the size the header claims.
    char chunk[16384];
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(chunk);
        z.avail_out = sizeof chunk;
        status = inflate(&z, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) break;
        out->append(chunk, sizeof chunk - z.avail_out);
        if (out->size() > expected) break;
        if (status == Z_OK && z.avail_in == 0 && z.avail_out != 0) break;  // cut short
    }
    inflateEnd(&z);
    return status == Z_STREAM_END && out->size() == expected && z.avail_in == 0;
}

}  // namespace

std::string encodeReplay(const Replay& replay) {
    const std::string stream = encodeStream(replay);
    uLongf packedSize = compressBound(static_cast<uLong>(stream.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
              reinterpret_cast<const Bytef*>(stream.data()), static_cast<uLong>(stream.size()),
              Z_BEST_COMPRESSION);
    packed.resize(packedSize);
    std::string out(kMagic, sizeof kMagic);
    putLe(out, kReplayFormatVersion, 2);
    putLe(out, replay.rulesVersion, 2);
    putLe(out, static_cast<std::uint32_t>(stream.size()), 4);
    putLe(out, static_cast<std::uint32_t>(packed.size()), 4);
    out += packed;
    putLe(out, static_cast<std::uint32_t>(replay.end.score), 4);
    putLe(out, static_cast<std::uint32_t>(replay.end.level), 4);
    putLe(out, static_cast<std::uint32_t>(replay.end.lives), 4);
    putLe(out, static_cast<std::uint32_t>(replay.frames.size()), 4);
    putLe(out, replay.endChecksum, 4);
    return out;
}

bool decodeReplay(const std::string& bytes, Replay* replay, std::string* error) {
    *replay = Replay{};
    if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        *error = "not a recorded game";
        return false;
    }
    if (bytes.size() < kHeaderSize + kTrailerSize) {
        *error = "the recording is cut short";
        return false;
    }
    const std::uint32_t format = getLe(bytes, 4, 2);
    if (format != kReplayFormatVersion) {
        *error = "recorded in format " + std::to_string(format) + "; this korvex reads format " +
                 std::to_string(kReplayFormatVersion);
        return false;
    }
    replay->rulesVersion = static_cast<std::uint16_t>(getLe(bytes, 6, 2));
    const std::uint32_t streamSize = getLe(bytes, 8, 4);
    const std::uint32_t packedSize = getLe(bytes, 12, 4);
    if (packedSize != bytes.size() - kHeaderSize - kTrailerSize || streamSize > kMaxReplayStream) {
        *error = "the recording is cut short or damaged";
        return false;
    }
    // The trailer's frame count bounds the frames read, and so what reading them allocates.
    const std::size_t t = kHeaderSize + packedSize;
    const std::uint32_t frameCount = getLe(bytes, t + 12, 4);
    std::string stream;
    if (frameCount > kMaxReplayFrames ||
        !inflateAll(bytes.substr(kHeaderSize, packedSize), streamSize, &stream) ||
        !decodeStream(stream, frameCount + std::size_t{1}, replay)) {
        *error = "the recording is damaged";
        return false;
    }
    replay->end.score = static_cast<std::int32_t>(getLe(bytes, t, 4));
    replay->end.level = static_cast<std::int32_t>(getLe(bytes, t + 4, 4));
    replay->end.lives = static_cast<std::int32_t>(getLe(bytes, t + 8, 4));
    replay->endChecksum = getLe(bytes, t + 16, 4);
    if (frameCount != replay->frames.size()) {
        *error = "the recording's frame count does not match its frames";
        return false;
    }
    return true;
}

bool readRecordingFile(const std::string& path, std::string* bytes, std::string* error) {
    switch (platform::readFile(path, kMaxFileSize, bytes)) {
        case platform::FileRead::Whole:
            return true;
        case platform::FileRead::Cut:
            *error = path + " is too large for a recorded game";
            return false;
        case platform::FileRead::Missing:
            *error = "cannot open " + path;
            return false;
        case platform::FileRead::NotAFile:
            *error = path + " is not a file";
            return false;
        case platform::FileRead::Failed:
            break;
    }
    *error = "cannot read " + path;
    return false;
}

bool readReplayFile(const std::string& path, Replay* replay, std::string* error) {
    std::string bytes;
    if (!readRecordingFile(path, &bytes, error)) return false;
    if (!decodeReplay(bytes, replay, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}

}  // namespace replay
