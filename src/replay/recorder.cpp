// Recording of games: an input layer over the devices that writes down what they hand the game.
#include "replay/recorder.h"

#include <cstring>

#include "persist/player_files.h"
#include "platform/platform.h"

namespace replay {
namespace {

constexpr int kKeyCount = SDLK_LAST;

enum class Mode { Off, Recording };

struct Recorder {
    Mode mode = Mode::Off;
    std::string folder;
    WorldProbe probe;
    bool inGame = false;
    bool inPlay = false;
    Replay game;
    std::uint32_t gapBegin = 0;
    Uint8 keys[kKeyCount] = {};   // held keys as last written down
    std::string lastGame;         // the file bytes of the last game kept
    std::size_t streamBytes = 0;  // what the game's stream holds so far, as encodeReplay writes it
};

Recorder rec;
RecordingLimits limits;
const platform::InputSource* devices = nullptr;  // below the recorder while it is in the stack

// --- Recording.

void finishGame();

// Full once another frame, or a level's set-up and its first frame, could take the recording past what
// a reader takes.
bool full() {
    return rec.game.frames.size() >= limits.frames || rec.streamBytes + limits.headroom > limits.streamBytes;
}

// Stops recording the game here: what was recorded is kept, marked as cut, ending with the world as it
// stands now, which is where a replay of it finds its end (at a frame's look for an event, or as play
// ends). The game itself goes on unrecorded.
void cutGame() {
    rec.game.cut = true;
    rec.inPlay = false;
    rec.gapBegin = static_cast<std::uint32_t>(rec.game.readings.size());
    finishGame();
}

void noteReading(std::uint32_t value) {
    Replay& g = rec.game;
    rec.streamBytes += readingSize(g.readings.empty() ? 0 : g.readings.back(), value);
    g.readings.push_back(value);
    if (rec.inPlay && !g.frames.empty() && g.segments.back().framesBegin < g.frames.size()) {
        g.frames.back().readingsEnd = static_cast<std::uint32_t>(g.readings.size());
    }
}

void noteFrame(int polled, const SDL_Event& event) {
    Replay& g = rec.game;
    // A cut at a stretch of play's first frame would end between a level's set-up and its play, where a
    // replay never stops: the look at its end cuts instead.
    if (g.segments.back().framesBegin < g.frames.size() && full()) return cutGame();
    ReplayFrame frame;
    if ((g.frames.size() + 1) % kChecksumPeriod == 0) {
        frame.checked = true;
        frame.checksum = rec.probe.checksum();
    }
    if (polled) {
        frame.hasEvent = true;
        RecordedEvent& e = frame.event;
        e.type = event.type;
        switch (event.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                e.state = event.key.state;
                e.key = static_cast<std::uint16_t>(event.key.keysym.sym);
                e.mod = static_cast<std::uint16_t>(event.key.keysym.mod);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                e.button = event.button.button;
                e.state = event.button.state;
                e.x = event.button.x;
                e.y = event.button.y;
                break;
            case SDL_MOUSEMOTION:
                e.state = event.motion.state;
                e.x = event.motion.x;
                e.y = event.motion.y;
                e.key = static_cast<std::uint16_t>(event.motion.xrel);
                e.mod = static_cast<std::uint16_t>(event.motion.yrel);
                break;
            case SDL_ACTIVEEVENT:
                e.button = event.active.gain;
                e.state = event.active.state;
                break;
            default:
                break;
        }
    }
    frame.readingsBegin = frame.readingsEnd = static_cast<std::uint32_t>(g.readings.size());
    frame.keysBegin = frame.keysEnd = static_cast<std::uint32_t>(g.keyChanges.size());
    g.frames.push_back(frame);
    rec.streamBytes += frameSize(frame);
}

void noteKeys(const Uint8* keys) {
    if (std::memcmp(keys, rec.keys, kKeyCount) == 0) return;
    Replay& g = rec.game;
    for (int k = 0; k < kKeyCount; ++k) {
        const Uint8 held = keys[k] ? 1 : 0;
        if (held == rec.keys[k]) continue;
        rec.keys[k] = held;
        g.keyChanges.push_back({static_cast<std::uint16_t>(k), held});
        rec.streamBytes += keyChangeSize(g.keyChanges.back());
    }
    if (!g.frames.empty()) g.frames.back().keysEnd = static_cast<std::uint32_t>(g.keyChanges.size());
}

void finishGame() {
    rec.inGame = false;
    Replay& g = rec.game;
    if (g.frames.empty()) return;  // set up but never played
    std::int32_t difficulty = 0;
    rec.probe.state(&g.end.level, &g.end.lives, &g.end.score, &difficulty);
    g.endChecksum = rec.probe.checksum();
    g.trailingReadingsBegin = rec.gapBegin;
    rec.lastGame = encodeReplay(g);
    // An installed copy's folder may not exist before its first game ends: made as for every save.
    if (!saveFileIn(rec.folder, "last.kvr", rec.lastGame)) {
        platform::reportText("korvex: cannot keep the recording in " + rec.folder + "last.kvr\n", true);
    }
}

// --- The layer, as the platform hands it every call of the game.

std::uint32_t layerTicks() {
    const std::uint32_t now = devices->ticks();
    if (rec.mode == Mode::Recording && rec.inGame) noteReading(now);
    return now;
}

void layerDelay(std::uint32_t ms) {
    devices->delay(ms);
}

int layerPollEvent(SDL_Event* event) {
    const int polled = devices->pollEvent(event);
    if (rec.mode == Mode::Recording && rec.inGame && rec.inPlay) noteFrame(polled, *event);
    return polled;
}

int layerWaitEvent(SDL_Event* event) {
    return devices->waitEvent(event);
}

const Uint8* layerKeyState() {
    const Uint8* keys = devices->keyState();
    if (rec.mode == Mode::Recording && rec.inGame && rec.inPlay) noteKeys(keys);
    return keys;
}

void layerBeginPlay() {
    if (rec.mode != Mode::Recording || !rec.inGame) return;
    rec.inPlay = true;
    Replay& g = rec.game;
    PlaySegment segment;
    std::int32_t level, lives, score;
    rec.probe.state(&level, &lives, &score, &segment.difficulty);
    if (g.segments.empty()) g.start = {level, lives, score, g.start.difficulty};  // as play starts
    segment.gapReadingsBegin = rec.gapBegin;
    segment.gapReadingsEnd = static_cast<std::uint32_t>(g.readings.size());
    segment.framesBegin = static_cast<std::uint32_t>(g.frames.size());
    g.segments.push_back(segment);
    rec.streamBytes += segmentSize(segment.difficulty);
}

void layerEndPlay() {
    if (!rec.inPlay) return;
    rec.inPlay = false;
    rec.gapBegin = static_cast<std::uint32_t>(rec.game.readings.size());
    if (full()) cutGame();
}

const platform::InputLayer kLayer = {
    {layerTicks, layerDelay, layerPollEvent, layerWaitEvent, layerKeyState}, layerBeginPlay, layerEndPlay};

// Into the input stack while recording or playing, out of it when off.
void enterStack() {
    devices = &platform::deviceInput();
    platform::setInputLayer(&kLayer);
}
void leaveStack() {
    platform::setInputLayer(nullptr);
}

}  // namespace

void recordGames(const std::string& folder, const WorldProbe& probe) {
    rec = Recorder{};
    rec.mode = Mode::Recording;
    rec.folder = folder;
    rec.probe = probe;
    enterStack();
}

void beginGame() {
    if (rec.mode != Mode::Recording) return;
    if (rec.inGame) finishGame();
    rec.inGame = true;
    rec.inPlay = false;
    rec.game = Replay{};
    rec.gapBegin = 0;
    rec.lastGame.clear();
    std::memset(rec.keys, 0, sizeof rec.keys);
    Replay& g = rec.game;
    g.rulesVersion = rec.probe.rulesVersion;
    // Taken before the game flow resets lives, score and level: the difficulty its set-up uses and
    // what it carries over. Level, lives and score are taken as play starts.
    std::int32_t previous[3];
    rec.probe.state(&previous[0], &previous[1], &previous[2], &g.start.difficulty);
    g.carried = rec.probe.carried();
    rec.streamBytes = streamStartSize(g);
}

void endGame() {
    if (rec.mode == Mode::Recording && rec.inGame) finishGame();
}

const Replay& currentRecording() {
    return rec.game;
}

void stopRecording() {
    rec = Recorder{};
    leaveStack();
}

bool recording() {
    return rec.mode == Mode::Recording;
}

const std::string& recordingFolder() {
    return rec.folder;
}

const std::string& lastGameBytes() {
    return rec.lastGame;
}

void limitRecording(const RecordingLimits& newLimits) {
    limits = newLimits;
}

}  // namespace replay
