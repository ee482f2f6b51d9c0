// The headless build of the device services for tests: a virtual clock and scripted events.
#include "platform/script/script.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/platform_detail.h"

namespace platform {
namespace {

struct TimedEvent {
    std::uint32_t at;
    SDL_Event event;
};

constexpr std::uint32_t kDefaultTimeLimit = 10 * 60 * 1000;

struct State {
    std::uint64_t memory = UINT64_MAX;
    std::string programPath = "/tmp/korvex-test/korvex";
    std::string userDataFolder;
    bool otherInstance = false;
    int desktopW = 0, desktopH = 0;
    int desktopDepth = 32;
    std::uint32_t now = 0;
    std::uint32_t limit = kDefaultTimeLimit;
    bool limitHit = false;
    std::deque<TimedEvent> events;
    Uint8 keys[SDLK_LAST] = {};
    std::function<void()> idleHook;
    bool autoAnswer = false;
    MessageAnswer autoAnswerWith = MessageAnswer::No;
    std::vector<std::string> sounds;
    std::vector<std::string> reports;
    std::vector<script::MessageRecord> messages;
    std::uint32_t delayed = 0;
    std::uint32_t lastDelay = 0;
    std::vector<SDL_Rect> shown;
};

State state;

void queue(const SDL_Event& event, std::uint32_t at) {
    // Events come out in time order; events of the same time in the order they were queued.
    auto place = std::upper_bound(state.events.begin(), state.events.end(), at,
                                  [](std::uint32_t t, const TimedEvent& e) { return t < e.at; });
    state.events.insert(place, TimedEvent{at, event});
}

void checkTimeLimit() {
    if (state.limitHit || state.now < state.limit) return;
    state.limitHit = true;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    queue(quit, state.now);
}

void runIdleHooks() {
    if (state.autoAnswer && script::messageWaiting()) {
        const Rect b = script::messageButton(state.autoAnswerWith);
        int x = (b.left + b.right) / 2, y = (b.top + b.bottom) / 2;
        detail::gameToWindow(&x, &y);
        script::tap(x, y, state.now);
    }
    if (state.idleHook) state.idleHook();
}

bool takeDue(SDL_Event* event) {
    if (state.events.empty() || state.events.front().at > state.now) return false;
    *event = state.events.front().event;
    state.events.pop_front();
    if (event->type == SDL_KEYDOWN || event->type == SDL_KEYUP) {
        state.keys[event->key.keysym.sym] = event->type == SDL_KEYDOWN ? 1 : 0;
    }
    return true;
}

SDL_Event mouseButton(Uint8 type, int x, int y, Uint8 button) {
    SDL_Event e{};
    e.type = type;
    e.button.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    return e;
}

SDL_Event keyEvent(Uint8 type, SDLKey key, SDLMod mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    return e;
}

}  // namespace

// --- The device services, as the game sees them.

std::uint64_t availablePhysicalMemory() {
    return state.memory;
}
bool acquireSingleInstance(const char*, const std::string&) {
    return !state.otherInstance;
}
std::string programPath() {
    return state.programPath;
}
std::vector<std::string> arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}
void reportText(const std::string& text, bool error) {
    std::fputs(text.c_str(), error ? stderr : stdout);
    if (error) state.reports.push_back(text);
}
std::string userDataFolder() {
    return state.userDataFolder;
}
bool startVideo() {
    return SDL_Init(SDL_INIT_VIDEO) == 0;
}
// The headless game reaches no network: a submission finds no server.
HttpAnswer postBytes(const std::string&, const std::string&) {
    HttpAnswer answer;
    answer.error = "the scripted platform has no network";
    return answer;
}

void captureButtons() {}
void releaseButtons() {}
void openGamepad() {}  // tests push joystick events themselves
void playSoundAsync(const std::string& path) {
    state.sounds.push_back(path);
}

namespace detail {
std::uint32_t rawTicks() {
    return state.now;
}

void rawDelay(std::uint32_t ms) {
    state.now += ms;
    state.delayed += ms;
    state.lastDelay = ms;
    checkTimeLimit();
    runIdleHooks();
}

int rawPollEvent(SDL_Event* event) {
    checkTimeLimit();
    return takeDue(event) ? 1 : 0;
}

int rawWaitEvent(SDL_Event* event) {
    for (;;) {
        checkTimeLimit();
        if (takeDue(event)) return 1;
        runIdleHooks();
        if (takeDue(event)) return 1;
        // Nothing due: jump to the next timed event, or to the time limit. Past the limit every wait on
        // an empty queue gets a quit, so a screen that drops quits still cannot hang a test.
        if (!state.events.empty()) {
            state.now = std::max(state.now, state.events.front().at);
        } else if (state.now < state.limit) {
            state.now = state.limit;
        } else {
            state.limitHit = true;
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            queue(quit, state.now);
        }
    }
}

const Uint8* rawKeyState() {
    return state.keys;
}

void rawUpdateRects(SDL_Surface* video, int count, SDL_Rect* rects) {
    state.shown.insert(state.shown.end(), rects, rects + count);
    SDL_UpdateRects(video, count, rects);
}

void rawDesktopSize(int* width, int* height, int* bitsPerPixel) {
    *width = state.desktopW;
    *height = state.desktopH;
    *bitsPerPixel = state.desktopDepth;
}

void noteMessage(WindowHandle owner, const char* text, const char* caption, MessageStyle style,
                 MessageAnswer answer) {
    state.messages.push_back({text, caption, style, owner, answer});
}
}  // namespace detail

// --- Test control.

namespace script {

void reset() {
    state = State{};
    detail::resetInputLayers();
    detail::resetWindow();
}
void resetInput() {
    detail::resetInputLayers();
}
void setAvailableMemory(std::uint64_t bytes) {
    state.memory = bytes;
}
void setProgramPath(const std::string& path) {
    state.programPath = path;
}
void setUserDataFolder(const std::string& folder) {
    state.userDataFolder = folder;
}
void setOtherInstanceRunning(bool running) {
    state.otherInstance = running;
}
void setDesktopSize(int width, int height) {
    state.desktopW = width;
    state.desktopH = height;
}
void setDesktopDepth(int bitsPerPixel) {
    state.desktopDepth = bitsPerPixel;
}
std::uint32_t now() {
    return state.now;
}
void setTimeLimit(std::uint32_t ms) {
    state.limit = ms;
}
bool timeLimitHit() {
    return state.limitHit;
}

void pushEvent(const SDL_Event& event, std::uint32_t at) {
    queue(event, at);
}
void press(int x, int y, std::uint32_t at, Uint8 button) {
    queue(mouseButton(SDL_MOUSEBUTTONDOWN, x, y, button), at);
}
void release(int x, int y, std::uint32_t at, Uint8 button) {
    queue(mouseButton(SDL_MOUSEBUTTONUP, x, y, button), at);
}
void tap(int x, int y, std::uint32_t at, Uint8 button) {
    press(x, y, at, button);
    release(x, y, at, button);
}
void moveTo(int x, int y, std::uint32_t at) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(y);
    queue(e, at);
}
void keyDown(SDLKey key, std::uint32_t at, SDLMod mod) {
    queue(keyEvent(SDL_KEYDOWN, key, mod), at);
}
void keyUp(SDLKey key, std::uint32_t at) {
    queue(keyEvent(SDL_KEYUP, key), at);
}
void quit(std::uint32_t at) {
    SDL_Event e{};
    e.type = SDL_QUIT;
    queue(e, at);
}
void typeText(const char* text, std::uint32_t at) {
    for (; *text; ++text, ++at) {
        const char c = *text;
        SDL_Event e = keyEvent(SDL_KEYDOWN, static_cast<SDLKey>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
        e.key.keysym.unicode = static_cast<Uint16>(c);
        queue(e, at);
        e.type = e.key.type = SDL_KEYUP;
        e.key.state = SDL_RELEASED;
        queue(e, at);
    }
}
void windowFocus(bool gained, std::uint32_t at) {
    SDL_Event e{};
    e.type = e.active.type = SDL_ACTIVEEVENT;
    e.active.gain = gained ? 1 : 0;
    e.active.state = SDL_APPINPUTFOCUS;
    queue(e, at);
}
void joyAxis(Uint8 axis, Sint16 value, std::uint32_t at) {
    SDL_Event e{};
    e.type = e.jaxis.type = SDL_JOYAXISMOTION;
    e.jaxis.axis = axis;
    e.jaxis.value = value;
    queue(e, at);
}
void joyHat(Uint8 value, std::uint32_t at) {
    SDL_Event e{};
    e.type = e.jhat.type = SDL_JOYHATMOTION;
    e.jhat.value = value;
    queue(e, at);
}
void joyButton(Uint8 button, bool down, std::uint32_t at) {
    SDL_Event e{};
    e.type = e.jbutton.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.button = button;
    e.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    queue(e, at);
}
std::size_t pendingEvents() {
    return state.events.size();
}
void setIdleHook(std::function<void()> hook) {
    state.idleHook = std::move(hook);
}
void answerMessageBoxes(MessageAnswer answer) {
    state.autoAnswer = true;
    state.autoAnswerWith = answer;
}
const std::vector<std::string>& soundsPlayed() {
    return state.sounds;
}
Rect messageButton(MessageAnswer which) {
    return detail::messageButtonShown(which);
}
bool messageWaiting() {
    return detail::messageBoxWaiting();
}
const std::vector<std::string>& errorsReported() {
    return state.reports;
}
const std::vector<MessageRecord>& messages() {
    return state.messages;
}
std::uint32_t delayedTotal() {
    return state.delayed;
}
std::vector<SDL_Rect> takeShownRects() {
    return std::move(state.shown);
}
std::uint32_t lastDelay() {
    return state.lastDelay;
}

}  // namespace script
}  // namespace platform
