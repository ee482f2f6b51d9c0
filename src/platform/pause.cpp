// Pause, below the game and unseen by it: in play, P, Pause or the window losing the focus (or
// being minimised) freezes the level under a PAUSED banner. The wait blocks on the event queue, and
// the game's clock leaves the paused time out, so a paused game and an unpaused one with the same
// input play out the same. Neither the pause's own events nor the time it took reach the game.
#include <algorithm>
#include <deque>

#include "platform/platform_detail.h"

namespace platform::detail {
namespace {

constexpr int kBandTop = 138, kBandHeight = 44;
constexpr int kTextScale = 2;

struct PauseState {
    std::uint32_t pausedTotal = 0;  // of the pauses that have ended
    bool paused = false;
    std::uint32_t pausedSince = 0;
    std::deque<SDL_Event> heldBack;  // what happened during a pause that the game must still learn
    bool swallowKeyUp[SDLK_LAST] = {};
    bool swallowButtonUp = false;
};
PauseState state;

bool isPauseKey(const SDL_Event& e) {
    return e.type == SDL_KEYDOWN && (e.key.keysym.sym == SDLK_p || e.key.keysym.sym == SDLK_PAUSE);
}

bool losesFocus(const SDL_Event& e) {
    return e.type == SDL_ACTIVEEVENT && e.active.gain == 0 &&
           (e.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) != 0;
}

bool isWheel(const SDL_Event& e) {
    return e.button.button == SDL_BUTTON_WHEELUP || e.button.button == SDL_BUTTON_WHEELDOWN;
}

// A click resumes; the wheel, which sends clicks of its own, does not.
bool resumes(const SDL_Event& e) {
    return isPauseKey(e) || (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_SPACE) ||
           (e.type == SDL_MOUSEBUTTONDOWN && !isWheel(e)) || e.type == SDL_JOYBUTTONDOWN;
}

// Two held-back events from one source (a key, an axis, a hat, a button, the quit).
bool sameSource(const SDL_Event& a, const SDL_Event& b) {
    if (a.type != b.type) return false;
    switch (a.type) {
        case SDL_KEYUP:
            return a.key.keysym.sym == b.key.keysym.sym && a.key.which == b.key.which;
        case SDL_JOYAXISMOTION:
            return a.jaxis.which == b.jaxis.which && a.jaxis.axis == b.jaxis.axis;
        case SDL_JOYHATMOTION:
            return a.jhat.which == b.jhat.which && a.jhat.hat == b.jhat.hat;
        case SDL_JOYBUTTONUP:
            return a.jbutton.which == b.jbutton.which && a.jbutton.button == b.jbutton.button;
        default:
            return true;
    }
}

// What a pause holds back says where a source is now (the key is up, the stick is there), so the
// latest event of each source is all that is kept: a stick moved through a long pause sends thousands.
void holdBack(const SDL_Event& e) {
    auto& held = state.heldBack;
    held.erase(std::remove_if(held.begin(), held.end(), [&](const SDL_Event& h) { return sameSource(h, e); }),
               held.end());
    held.push_back(e);
}

// The releases that belong to a pause or resume press are eaten with it.
void swallowReleaseOf(const SDL_Event& e) {
    if (e.type == SDL_KEYDOWN) state.swallowKeyUp[e.key.keysym.sym] = true;
    if (e.type == SDL_MOUSEBUTTONDOWN) state.swallowButtonUp = true;
}

bool swallowed(const SDL_Event& e) {
    if (e.type == SDL_KEYUP && state.swallowKeyUp[e.key.keysym.sym]) {
        state.swallowKeyUp[e.key.keysym.sym] = false;
        return true;
    }
    if (e.type == SDL_MOUSEBUTTONUP && state.swallowButtonUp) {
        state.swallowButtonUp = false;
        return true;
    }
    return false;
}

void fill(SDL_Surface* s, int x, int y, int w, int h, Uint32 colour) {
    SDL_Rect r = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                  static_cast<Uint16>(h)};
    SDL_FillRect(s, &r, colour);
}

// "PAUSED" in the message font, drawn small on the plain band, then copied back at twice the size
// in the banner's own ink once the band is laid again with its edges.
void drawBanner(const MessagePainter& p) {
    SDL_Surface* s = p.screen;
    const Uint32 band = SDL_MapRGB(s->format, 16, 20, 48);
    fill(s, 0, kBandTop, s->w, kBandHeight, band);
    SDL_Surface* small = nullptr;
    const char* text = "PAUSED";
    const int w = p.draw && p.measure ? p.measure(text) : 0, h = p.lineHeight;
    if (w > 0 && h > 0 && s->format->BytesPerPixel == 2) {
        const SDL_PixelFormat* f = s->format;
        small = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, 0);
    }
    if (small) {
        p.draw(text, 0, kBandTop + 1);
        SDL_Rect from = {0, static_cast<Sint16>(kBandTop + 1), static_cast<Uint16>(w),
                         static_cast<Uint16>(h)};
        SDL_BlitSurface(s, &from, small, nullptr);
        fill(s, 0, kBandTop, s->w, kBandHeight, band);
    }
    const Uint32 edge = SDL_MapRGB(s->format, 120, 150, 230);
    fill(s, 0, kBandTop, s->w, 1, edge);
    fill(s, 0, kBandTop + kBandHeight - 1, s->w, 1, edge);
    if (!small) return;
    const Uint32 ink = SDL_MapRGB(s->format, 248, 168, 48);
    const int left = (s->w - w * kTextScale) / 2, top = kBandTop + (kBandHeight - h * kTextScale) / 2;
    SDL_LockSurface(small);
    for (int y = 0; y < h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(small->pixels) + y * small->pitch;
        for (int x = 0; x < w; ++x) {
            if (reinterpret_cast<const Uint16*>(row)[x] == static_cast<Uint16>(band)) continue;
            fill(s, left + x * kTextScale, top + y * kTextScale, kTextScale, kTextScale, ink);
        }
    }
    SDL_UnlockSurface(small);
    SDL_FreeSurface(small);
}

// Waits, without using the processor, for the player to resume or the program to be closed.
void waitPaused() {
    const MessagePainter& painter = messagePainter();
    SDL_Surface* saved = nullptr;
    if (painter.screen) {
        saved = SDL_ConvertSurface(painter.screen, painter.screen->format, SDL_SWSURFACE);
        drawBanner(painter);
        presentScreen(painter.screen);
    }
    SDL_Event e;
    while (windowWaitEvent(&e)) {
        if (e.type == SDL_QUIT) {
            holdBack(e);
            break;
        }
        if (resumes(e)) {
            swallowReleaseOf(e);
            break;
        }
        if (swallowed(e)) continue;
        // Releases and stick moves are kept so that nothing stays held after the pause that was let go
        // during it; presses, regained focus and the rest wait for the player's resume.
        if (e.type == SDL_KEYUP || e.type == SDL_JOYAXISMOTION || e.type == SDL_JOYHATMOTION ||
            e.type == SDL_JOYBUTTONUP) {
            holdBack(e);
        }
        if ((e.type == SDL_ACTIVEEVENT || e.type == SDL_VIDEOEXPOSE) && painter.screen) {
            presentScreen(painter.screen);
        }
    }
    if (saved) {
        SDL_BlitSurface(saved, nullptr, painter.screen, nullptr);
        SDL_FreeSurface(saved);
        presentScreen(painter.screen);
    }
}

void pause() {
    state.paused = true;
    state.pausedSince = rawTicks();
    waitPaused();
    state.pausedTotal += rawTicks() - state.pausedSince;
    state.paused = false;
}

}  // namespace

// The caller's record is written only when an event is handed on: the level loop handles its last
// event again when a poll finds none, so an event eaten here must leave no trace in it.
int pauseLayerEvent(SDL_Event* event, bool wait) {
    for (;;) {
        SDL_Event e;
        if (!state.heldBack.empty()) {
            e = state.heldBack.front();
            state.heldBack.pop_front();
        } else if (!(wait ? windowWaitEvent(&e) : windowPollEvent(&e))) {
            return 0;
        } else if (swallowed(e)) {
            continue;
        } else if (inPlay() && (isPauseKey(e) || losesFocus(e))) {
            swallowReleaseOf(e);
            pause();
            continue;
        } else if (inPlay() && e.type == SDL_ACTIVEEVENT) {
            continue;  // focus comings and goings are the pause's business alone
        }
        *event = e;
        return 1;
    }
}

std::uint32_t pausedTime() {
    return state.pausedTotal + (state.paused ? rawTicks() - state.pausedSince : 0);
}

void resetPauseLayer() {
    state = PauseState{};
}

}  // namespace platform::detail
