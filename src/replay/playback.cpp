// Playback of a recorded game: an input layer over the devices that hands the game the recording's
// clock, events and held keys during play, while still polling the devices so that the window and
// pause keep working and the viewer can stop it.
#include <utility>

#include "platform/platform.h"
#include "replay/recorder.h"

namespace replay {
namespace {

constexpr int kKeyCount = SDLK_LAST;

struct Playback {
    bool active = false;
    Replay recording;
    WorldProbe probe;
    int speed = 1;
    bool inPlay = false;
    std::size_t nextFrame = 0;
    std::size_t segment = 0;
    std::uint32_t reading = 0, readingsEnd = 0;
    std::uint32_t key = 0, keysEnd = 0;
    std::uint32_t lastReading = 0;
    Uint8 keys[kKeyCount] = {};
    PlaybackOutcome outcome;
};

Playback playback;
const platform::InputSource* devices = nullptr;  // below the player while it is in the stack

SDL_Event toSdl(const RecordedEvent& e) {
    SDL_Event event{};
    event.type = e.type;
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.key.state = e.state;
            event.key.keysym.sym = static_cast<SDLKey>(e.key);
            event.key.keysym.mod = static_cast<SDLMod>(e.mod);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            event.button.button = e.button;
            event.button.state = e.state;
            event.button.x = e.x;
            event.button.y = e.y;
            break;
        case SDL_MOUSEMOTION:
            event.motion.state = e.state;
            event.motion.x = e.x;
            event.motion.y = e.y;
            event.motion.xrel = static_cast<Sint16>(e.key);
            event.motion.yrel = static_cast<Sint16>(e.mod);
            break;
        case SDL_ACTIVEEVENT:
            event.active.gain = e.button;
            event.active.state = e.state;
            break;
        default:
            break;
    }
    return event;
}

void applyKeys() {
    for (; playback.key < playback.keysEnd; ++playback.key) {
        const KeyChange& change = playback.recording.keyChanges[playback.key];
        if (change.key < kKeyCount) playback.keys[change.key] = change.held;
    }
}

// The clock readings made outside play after the stretch of play now running (a level's set-up).
void enterGap() {
    const Replay& r = playback.recording;
    const std::size_t next = playback.nextFrame == 0 ? 0 : playback.segment + 1;
    if (next < r.segments.size()) {
        playback.reading = r.segments[next].gapReadingsBegin;
        playback.readingsEnd = r.segments[next].gapReadingsEnd;
    } else {
        playback.reading = r.trailingReadingsBegin;
        playback.readingsEnd = static_cast<std::uint32_t>(r.readings.size());
    }
}

// The live devices still speak during playback: the viewer ends it with Escape or the window's close.
void pollViewer() {
    SDL_Event live;
    while (!playback.outcome.stopped && devices->pollEvent(&live)) {
        if (live.type == SDL_QUIT || (live.type == SDL_KEYDOWN && live.key.keysym.sym == SDLK_ESCAPE)) {
            playback.outcome.stopped = true;
        }
    }
}

// The game asks for a frame past the recording's last: where a recording cut at its limits ends.
void notePastEnd() {
    PlaybackOutcome& o = playback.outcome;
    if (o.pastEnd || o.stopped) return;
    o.pastEnd = true;
    playback.probe.state(&o.end.level, &o.end.lives, &o.end.score, &o.end.difficulty);
    o.endChecksum = playback.probe.checksum();
}

int playFrame(SDL_Event* event) {
    pollViewer();
    const Replay& r = playback.recording;
    if (playback.nextFrame >= r.frames.size()) notePastEnd();
    if (playback.outcome.stopped || playback.nextFrame >= r.frames.size()) {
        // Past the end of the recording (or stopped by the viewer) the game is told to quit.
        *event = SDL_Event{};
        event->type = SDL_QUIT;
        return 1;
    }
    applyKeys();  // whatever the previous frame changed, even if this game never looked
    const std::size_t index = playback.nextFrame++;
    while (playback.segment + 1 < r.segments.size() &&
           r.segments[playback.segment + 1].framesBegin <= index) {
        ++playback.segment;
    }
    const ReplayFrame& frame = r.frames[index];
    playback.outcome.frames = static_cast<std::uint32_t>(playback.nextFrame);
    if (frame.checked && playback.outcome.firstMismatch < 0 && playback.probe.checksum() != frame.checksum) {
        playback.outcome.firstMismatch = static_cast<std::int64_t>(playback.nextFrame);
    }
    playback.reading = frame.readingsBegin;
    playback.readingsEnd = frame.readingsEnd;
    playback.key = frame.keysBegin;
    playback.keysEnd = frame.keysEnd;
    if (!frame.hasEvent) return 0;
    *event = toSdl(frame.event);
    return 1;
}

// --- The layer.

std::uint32_t layerTicks() {
    // A game that asks more often than the recorded one gets the last reading again.
    if (playback.reading < playback.readingsEnd) {
        playback.lastReading = playback.recording.readings[playback.reading++];
    }
    return playback.lastReading;
}

void layerDelay(std::uint32_t ms) {
    if (playback.speed > 0) devices->delay(ms / static_cast<std::uint32_t>(playback.speed));
}

int layerPollEvent(SDL_Event* event) {
    return playback.inPlay ? playFrame(event) : devices->pollEvent(event);
}

int layerWaitEvent(SDL_Event* event) {
    return devices->waitEvent(event);
}

const Uint8* layerKeyState() {
    if (!playback.inPlay) return devices->keyState();
    applyKeys();
    return playback.keys;
}

void layerBeginPlay() {
    playback.inPlay = true;
}

void layerEndPlay() {
    playback.inPlay = false;
    enterGap();
}

const platform::InputLayer kLayer = {
    {layerTicks, layerDelay, layerPollEvent, layerWaitEvent, layerKeyState}, layerBeginPlay, layerEndPlay};

}  // namespace

void startPlayback(Replay recording, const WorldProbe& probe, int speed) {
    stopRecording();
    playback = Playback{};
    playback.active = true;
    playback.recording = std::move(recording);
    playback.probe = probe;
    playback.speed = speed;
    enterGap();  // the first level's set-up
    devices = &platform::deviceInput();
    platform::setInputLayer(&kLayer);
}

bool framesLeft() {
    return playback.active && playback.nextFrame < playback.recording.frames.size();
}

bool stopRequested() {
    return playback.outcome.stopped;
}

std::int32_t difficulty() {
    const Replay& r = playback.recording;
    if (playback.nextFrame == 0 || r.segments.empty()) return r.start.difficulty;
    return r.segments[playback.segment].difficulty;
}

PlaybackOutcome stopPlayback() {
    platform::setInputLayer(nullptr);
    const PlaybackOutcome outcome = playback.outcome;
    playback = Playback{};
    return outcome;
}

}  // namespace replay
