// Fire-and-forget sounds through SDL audio: one voice, a new sound replaces the one playing.
#include <cstring>
#include <map>

#include "platform/platform_detail.h"

namespace platform::detail {
namespace {

struct Voice {
    bool open = false;
    bool failed = false;
    SDL_AudioSpec device{};  // the format the device plays
    std::string samples;     // in the device's format
    std::size_t position = 0;
    std::map<std::string, std::string> cache;  // decoded sounds by path
};

Voice voice;

void fill(void*, Uint8* stream, int length) {
    const std::size_t left = voice.samples.size() - voice.position;
    const std::size_t now = left < static_cast<std::size_t>(length) ? left : static_cast<std::size_t>(length);
    std::memcpy(stream, voice.samples.data() + voice.position, now);
    std::memset(stream + now, voice.device.silence, static_cast<std::size_t>(length) - now);
    voice.position += now;
}

bool openVoice() {
    if (voice.open) return true;
    if (voice.failed) return false;
    // The sound device is opened with the first sound, so a game played silent never holds it.
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
        voice.failed = true;
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = 22050;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 512;
    wanted.callback = fill;
    if (SDL_OpenAudio(&wanted, &voice.device) < 0) {
        voice.failed = true;  // no sound device: the game plays on silently
        return false;
    }
    voice.open = true;
    SDL_PauseAudio(0);
    return true;
}

}  // namespace

std::string loadWavAs(const std::string& path, const SDL_AudioSpec& device) {
    SDL_AudioSpec fileFormat;
    Uint8* data = nullptr;
    Uint32 length = 0;
    constexpr std::size_t kMaxWavBytes = 4 << 20;
    std::string file;
    if (readFile(path, kMaxWavBytes, &file) != FileRead::Whole) return "";
    SDL_RWops* stream = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (!stream || !SDL_LoadWAV_RW(stream, 1, &fileFormat, &data, &length)) return "";
    SDL_AudioCVT cvt;
    std::string converted;
    if (SDL_BuildAudioCVT(&cvt, fileFormat.format, fileFormat.channels, fileFormat.freq, device.format,
                          device.channels, device.freq) >= 0) {
        std::string buffer(static_cast<std::size_t>(length) * (cvt.len_mult > 0 ? cvt.len_mult : 1), '\0');
        std::memcpy(&buffer[0], data, length);
        cvt.buf = reinterpret_cast<Uint8*>(&buffer[0]);
        cvt.len = static_cast<int>(length);
        if (SDL_ConvertAudio(&cvt) == 0)
            converted.assign(buffer.data(), static_cast<std::size_t>(cvt.len_cvt));
    }
    SDL_FreeWAV(data);
    return converted;
}

void playWav(const std::string& path) {
    if (!openVoice()) return;
    auto cached = voice.cache.find(path);
    if (cached == voice.cache.end()) {
        std::string samples = loadWavAs(path, voice.device);
        if (samples.empty()) return;  // a missing or unreadable sound plays nothing
        cached = voice.cache.emplace(path, std::move(samples)).first;
    }
    SDL_LockAudio();
    voice.samples = cached->second;
    voice.position = 0;
    SDL_UnlockAudio();
}

}  // namespace platform::detail
