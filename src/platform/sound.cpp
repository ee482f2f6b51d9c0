// Fire-and-forget sounds through SDL audio: one voice, a new sound replaces the one playing. The
// device is open only while a sound plays: an open device, even a silent or paused one, wakes SDL's
// audio thread for every buffer (about 43 times a second) for as long as it stays open.
#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/platform_detail.h"

namespace platform::detail {
namespace {

// Buffers of silence the device has asked for after a sound's last samples before it is closed:
// by then those samples have left SDL's hands and the system's buffer has room, so closing does
// not cut the end of the sound.
constexpr int kDrainFills = 3;

struct Voice {
    bool failed = false;
    SDL_AudioSpec device{};  // the format the device plays (and the cache is in)
    std::string samples;     // in the device's format
    std::size_t position = 0;
    int silentFills = 0;                       // buffers asked for since `samples` ran out
    std::map<std::string, std::string> cache;  // decoded sounds by path
};

Voice voice;

void fill(void*, Uint8* stream, int length) {
    const std::size_t left = voice.samples.size() - voice.position;
    const std::size_t now = left < static_cast<std::size_t>(length) ? left : static_cast<std::size_t>(length);
    std::memcpy(stream, voice.samples.data() + voice.position, now);
    std::memset(stream + now, voice.device.silence, static_cast<std::size_t>(length) - now);
    voice.position += now;
    if (now == 0) ++voice.silentFills;
}

// SDL's own state, not a flag of ours: SDL_Quit (start-up's end, a test) closes the device too.
bool isOpen() {
    return SDL_WasInit(SDL_INIT_AUDIO) && SDL_GetAudioStatus() != SDL_AUDIO_STOPPED;
}

bool sameFormat(const SDL_AudioSpec& a, const SDL_AudioSpec& b) {
    return a.freq == b.freq && a.format == b.format && a.channels == b.channels;
}

void stopAtExit() {
    stopSound();
}

bool openVoice() {
    if (isOpen()) return true;
    if (voice.failed) return false;
    // The sound device is opened with a sound, so a game played silent never holds it.
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
    SDL_AudioSpec got{};
    if (SDL_OpenAudio(&wanted, &got) < 0) {
        voice.failed = true;  // no sound device: the game plays on silently
        return false;
    }
    // The sounds are kept in the format of the device they were decoded for.
    if (!sameFormat(got, voice.device)) voice.cache.clear();
    voice.device = got;
    voice.samples.clear();
    voice.position = 0;
    static bool stopsAtExit = false;
    // Registered after `voice` was made, so it runs before the sounds are freed; an exit from under
    // the game (Xlib's, when the display goes) skips start-up's SDL_Quit.
    if (!stopsAtExit) stopsAtExit = std::atexit(stopAtExit) == 0;
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
        if (samples.empty()) {
            // A missing or unreadable sound plays nothing, and keeps no device open that was opened
            // for it alone (still paused, it has played nothing).
            if (SDL_GetAudioStatus() == SDL_AUDIO_PAUSED) stopSound();
            return;
        }
        cached = voice.cache.emplace(path, std::move(samples)).first;
    }
    SDL_LockAudio();
    voice.samples = cached->second;
    voice.position = 0;
    voice.silentFills = 0;
    SDL_UnlockAudio();
    SDL_PauseAudio(0);
}

std::uint32_t settleSound() {
    if (!isOpen()) return 0;
    SDL_LockAudio();
    const std::size_t left = voice.samples.size() - voice.position;
    const int fills = voice.silentFills;
    SDL_UnlockAudio();
    if (left == 0 && fills >= kDrainFills) {
        SDL_CloseAudio();
        return 0;
    }
    // Until the rest has played and the device has asked for its silent buffers.
    const std::uint32_t bytesPerSecond = static_cast<std::uint32_t>(voice.device.freq) *
                                         voice.device.channels * ((voice.device.format & 0xFF) / 8);
    const std::uint32_t bufferMs =
        1000u * voice.device.samples / static_cast<std::uint32_t>(voice.device.freq);
    const int fillsToCome = kDrainFills - (fills < kDrainFills ? fills : kDrainFills);
    return static_cast<std::uint32_t>(1000u * left / (bytesPerSecond ? bytesPerSecond : 1)) +
           bufferMs * static_cast<std::uint32_t>(fillsToCome) + 1;
}

void stopSound() {
    if (isOpen()) SDL_CloseAudio();
}

}  // namespace platform::detail
