// The window the game's 240 x 320 surface is shown in: scaled by a whole number (nearest neighbour), or
// full screen at the desktop's resolution, centred on black. At scale 1 in a window the window is the
// game's surface, as it always was; otherwise the game draws on an RGB565 surface of its own that every
// presentation scales into the window, converting to a 32-bit desktop's pixels on the way (SDL would
// otherwise convert every update again). Pictures are made for it in picture_format.cpp.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/pixel_rows.h"
#include "platform/platform_detail.h"

namespace platform {
namespace {

using detail::kBlueMask, detail::kDeepWindowBits, detail::kGreenMask, detail::kRedMask;

constexpr int kFitPercent = 90;  // of the desktop a window may take, leaving room for its frame

struct Window {
    int chosenScale = 0;  // 0: the largest that fits the desktop
    bool wantFullscreen = false;
    int width = 0, height = 0, bitsPerPixel = 0;  // the game's surface
    SDL_Surface* game = nullptr;                  // what the game draws on
    SDL_Surface* video = nullptr;                 // the window; the same as `game` at scale 1 in a window
    int scale = 1, left = 0, top = 0;
    bool fullscreen = false;  // in effect
    SDL_Surface** holder = nullptr;
    void (*listener)(bool fullscreen) = nullptr;
    bool dropReturnUp = false;      // the Return of an Alt+Enter is ours, up as well as down
    std::vector<Uint16> shown;      // the picture last scaled into the window
    std::vector<SDL_Rect> updated;  // the window's rectangles of one presentation
    bool shownValid = false;
    detail::PixelConversion toWindow;  // made for a 32-bit window; empty otherwise
};
Window window;

// The window is open in this run of SDL (a test may have shut SDL down since).
bool isOpen() {
    return window.video && window.video == SDL_GetVideoSurface();
}
bool isScaling() {
    return isOpen() && window.game && window.game != window.video;
}

int windowScale(int desktopW, int desktopH) {
    if (window.chosenScale > 0) return window.chosenScale;
    const int byWidth = desktopW * kFitPercent / (100 * window.width);
    const int byHeight = desktopH * kFitPercent / (100 * window.height);
    return std::clamp(std::min(byWidth, byHeight), 1, kMaxWindowScale);
}

int fullScreenScale(int desktopW, int desktopH) {
    return std::max(1, std::min(desktopW / window.width, desktopH / window.height));
}

SDL_Surface* newGameSurface() {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, window.width, window.height, window.bitsPerPixel, kRedMask,
                                kGreenMask, kBlueMask, 0);
}

// A scaled window has the desktop's depth when that is 32 bits, else the game's.
int scaledWindowBits(int desktopBits) {
    return desktopBits == kDeepWindowBits ? kDeepWindowBits : window.bitsPerPixel;
}

// The window has the depth asked for and, when the game draws on a surface of its own, pixels the
// scaler can write: RGB565 as the game's, or 32 bits through a conversion made for them.
bool takesPicture(SDL_Surface* video, int bits, bool ownSurface) {
    const SDL_PixelFormat* f = video->format;
    if (f->BitsPerPixel != bits) return false;
    if (!ownSurface) return true;
    if (bits == kDeepWindowBits) return window.toWindow.make(f);
    return f->Rmask == kRedMask && f->Gmask == kGreenMask && f->Bmask == kBlueMask;
}

// Nearest neighbour: each pixel of `r` (game coordinates, inside the surface) becomes scale x scale;
// the first of each group of rows is widened, the others are copies of it.
void scaleRect(const SDL_Rect& r) {
    SDL_Surface* from = window.game;
    SDL_Surface* to = window.video;
    const int s = window.scale;
    if (SDL_MUSTLOCK(to) && SDL_LockSurface(to) < 0) return;
    const bool converting = window.toWindow.ready();
    const int bytesPerPixel = to->format->BytesPerPixel;
    const std::size_t rowBytes = static_cast<std::size_t>(r.w) * s * bytesPerPixel;
    for (int y = r.y; y < r.y + r.h; ++y) {
        const Uint16* src =
            reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(from->pixels) + y * from->pitch) + r.x;
        Uint8* first = static_cast<Uint8*>(to->pixels) + (window.top + y * s) * to->pitch +
                       (window.left + r.x * s) * bytesPerPixel;
        if (converting) {
            window.toWindow.convertRow(s, src, reinterpret_cast<Uint32*>(first), r.w);
        } else {
            detail::widenRow(s, src, reinterpret_cast<Uint16*>(first), r.w);
        }
        for (int k = 1; k < s; ++k) std::memcpy(first + k * to->pitch, first, rowBytes);
    }
    if (SDL_MUSTLOCK(to)) SDL_UnlockSurface(to);
}

// `r` clipped to the game's surface; false when nothing is left.
bool clip(const SDL_Rect& r, SDL_Rect* out) {
    const int x0 = std::max<int>(r.x, 0), y0 = std::max<int>(r.y, 0);
    const int x1 = std::min<int>(r.x + r.w, window.width), y1 = std::min<int>(r.y + r.h, window.height);
    if (x1 <= x0 || y1 <= y0) return false;
    *out = {static_cast<Sint16>(x0), static_cast<Sint16>(y0), static_cast<Uint16>(x1 - x0),
            static_cast<Uint16>(y1 - y0)};
    return true;
}

SDL_Rect scaled(const SDL_Rect& r) {
    const int s = window.scale;
    return {static_cast<Sint16>(window.left + r.x * s), static_cast<Sint16>(window.top + r.y * s),
            static_cast<Uint16>(r.w * s), static_cast<Uint16>(r.h * s)};
}

// Remembers rectangle `r` of the game's picture as scaled into the window.
void noteShown(const SDL_Rect& r) {
    if (!window.shownValid) return;
    for (int y = r.y; y < r.y + r.h; ++y) {
        const auto* row = reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(window.game->pixels) +
                                                          y * window.game->pitch);
        std::memcpy(&window.shown[y * window.width + r.x], row + r.x, r.w * sizeof(Uint16));
    }
}

// True when the tile at (x, y) of size w x h differs from what the window shows.
bool tileChanged(int x, int y, int w, int h) {
    for (int row = y; row < y + h; ++row) {
        const auto* now = reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(window.game->pixels) +
                                                          row * window.game->pitch);
        if (std::memcmp(now + x, &window.shown[row * window.width + x], w * sizeof(Uint16)) != 0) return true;
    }
    return false;
}

// Rectangles of the game's picture scaled into the window and sent to the display.
// All of them go in one call: on sdl12-compat every call shows the whole window again.
class ScaledUpdate {
  public:
    ScaledUpdate() { window.updated.clear(); }
    ~ScaledUpdate() {
        if (!window.updated.empty()) {
            detail::rawUpdateRects(window.video, static_cast<int>(window.updated.size()),
                                   window.updated.data());
        }
    }
    void add(const SDL_Rect& r) {
        scaleRect(r);
        noteShown(r);
        window.updated.push_back(scaled(r));
    }
};

// The whole picture, of which only the 16 x 16 tiles that changed since the last one are scaled and
// sent: most of a frame in play is the same as the one before, and every scaled pixel costs the
// conversion to the display's format and the copy to the X server.
void presentWhole() {
    constexpr int kTile = 16;
    const int w = window.width, h = window.height;
    if (!window.shownValid) {
        window.shown.resize(static_cast<std::size_t>(w) * h);
        window.shownValid = true;
        const SDL_Rect whole = {0, 0, static_cast<Uint16>(w), static_cast<Uint16>(h)};
        scaleRect(whole);
        noteShown(whole);
        SDL_Rect area = scaled(whole);
        detail::rawUpdateRects(window.video, 1, &area);
        return;
    }
    ScaledUpdate update;
    for (int y = 0; y < h; y += kTile) {
        const int th = std::min(kTile, h - y);
        for (int x = 0; x < w;) {
            if (!tileChanged(x, y, std::min(kTile, w - x), th)) {
                x += kTile;
                continue;
            }
            const int start = x;
            while (x < w && tileChanged(x, y, std::min(kTile, w - x), th)) x += kTile;
            update.add({static_cast<Sint16>(start), static_cast<Sint16>(y),
                        static_cast<Uint16>(std::min(x, w) - start), static_cast<Uint16>(th)});
        }
    }
}

void showWhole(SDL_Surface* video) {
    SDL_Rect all = {0, 0, static_cast<Uint16>(video->w), static_cast<Uint16>(video->h)};
    detail::rawUpdateRects(video, 1, &all);
}

// Points the game at its new surface after a switch moved it.
void follow(SDL_Surface* old) {
    if (window.game == old) return;
    if (window.holder) *window.holder = window.game;
    detail::screenMoved(old, window.game);
}

// Sets the video mode for a window or full screen, keeping the game's picture across it.
bool setMode(bool wantFullscreen, std::string* error) {
    int desktopW = 0, desktopH = 0, desktopBits = 0;
    detail::rawDesktopSize(&desktopW, &desktopH, &desktopBits);
    const bool full = wantFullscreen && desktopW > 0 && desktopH > 0;
    const int scale = full ? fullScreenScale(desktopW, desktopH) : windowScale(desktopW, desktopH);
    const bool ownSurface = full || scale > 1;  // the game draws on a surface of its own
    const int bits = ownSurface ? scaledWindowBits(desktopBits) : window.bitsPerPixel;
    const int w = full ? std::max(desktopW, window.width * scale) : window.width * scale;
    const int h = full ? std::max(desktopH, window.height * scale) : window.height * scale;
    const bool switching = isOpen();
    SDL_Surface* old = switching ? window.game : nullptr;
    // At scale 1 in a window the picture lives in the window, which the new mode replaces.
    SDL_Surface* picture = old;
    if (old && old == window.video) {
        picture = newGameSurface();
        if (!picture) {
            *error = "not enough memory to switch the window";
            return false;
        }
        SDL_BlitSurface(old, nullptr, picture, nullptr);
    }
    window.toWindow.clear();  // the old window's; a 16-bit window needs none
    SDL_Surface* video = SDL_SetVideoMode(w, h, bits, SDL_SWSURFACE | (full ? SDL_FULLSCREEN : 0u));
    window.video = video;
    if (!video || !takesPicture(video, bits, ownSurface)) {
        *error = video ? "the window has the wrong pixel format" : SDL_GetError();
        window.toWindow.clear();
        window.video = nullptr;
        window.game = picture;  // the game goes on drawing where nothing shows
        follow(old);
        return false;
    }
    window.scale = scale;
    window.fullscreen = full;
    window.shownValid = false;
    window.left = (w - window.width * scale) / 2;
    window.top = (h - window.height * scale) / 2;
    if (!ownSurface) {
        if (picture) {
            SDL_BlitSurface(picture, nullptr, video, nullptr);
            SDL_FreeSurface(picture);
        }
        window.game = video;
    } else {
        window.game = picture ? picture : newGameSurface();
        if (!window.game) {
            *error = "not enough memory for the game's picture";
            return false;
        }
        SDL_FillRect(video, nullptr, 0);  // the border
        scaleRect({0, 0, static_cast<Uint16>(window.width), static_cast<Uint16>(window.height)});
    }
    follow(old);
    if (switching) showWhole(video);  // the picture again, at once
    return true;
}

bool switchTo(bool fullscreen) {
    const bool before = window.fullscreen;
    std::string error;
    if (setMode(fullscreen, &error)) return true;
    setMode(before, &error);
    return false;
}

// Game coordinates of a point of the window; false on full screen's border.
bool toGame(Uint16* x, Uint16* y) {
    if (!isScaling()) return true;
    const int gx = *x - window.left, gy = *y - window.top;
    if (gx < 0 || gy < 0 || gx >= window.width * window.scale || gy >= window.height * window.scale) {
        return false;
    }
    *x = static_cast<Uint16>(gx / window.scale);
    *y = static_cast<Uint16>(gy / window.scale);
    return true;
}

void toggleFullScreen() {
    const bool before = window.fullscreen;
    window.wantFullscreen = !before;
    if (!isOpen()) return;
    switchTo(window.wantFullscreen);
    if (window.fullscreen != before && window.listener) window.listener(window.fullscreen);
}

}  // namespace

bool chooseWindow(int scale, bool fullscreen) {
    window.chosenScale = std::clamp(scale, 0, kMaxWindowScale);
    window.wantFullscreen = fullscreen;
    return isOpen() ? switchTo(fullscreen) : true;
}

void followScreen(SDL_Surface** screen) {
    window.holder = screen;
}

void setWindowModeListener(void (*listener)(bool fullscreen)) {
    window.listener = listener;
}

SDL_Surface* openScreen(int width, int height, int bitsPerPixel, const char* title, std::string* error) {
    // A game surface left over from an earlier run of SDL in this process (tests) goes first.
    if (window.game && window.game != window.video) SDL_FreeSurface(window.game);
    window.game = window.video = nullptr;
    window.width = width;
    window.height = height;
    window.bitsPerPixel = bitsPerPixel;
    if (!setMode(window.wantFullscreen, error)) {
        if (window.game) SDL_FreeSurface(window.game);
        window.game = nullptr;
        return nullptr;
    }
    SDL_WM_SetCaption(title, nullptr);
    detail::watchQuits();
    return window.game;
}

void presentScreen(SDL_Surface* screen) {
    if (isScaling()) {
        presentWhole();
    } else if (screen) {
        showWhole(screen);
    }
}

void presentRects(SDL_Surface* screen, int count, SDL_Rect* rects) {
    if (!isScaling()) {
        if (screen) detail::rawUpdateRects(screen, count, rects);
        return;
    }
    // Only the rectangles, scaled: a partial update stays partial.
    ScaledUpdate update;
    for (int k = 0; k < count; ++k) {
        SDL_Rect r;
        if (clip(rects[k], &r)) update.add(r);
    }
}

WindowHandle findWindow(const char* title) {
    // The game has one window: the SDL one, if its caption is the title asked for.
    if (!SDL_GetVideoSurface()) return 0;
    char* caption = nullptr;
    SDL_WM_GetCaption(&caption, nullptr);
    if (!caption || std::string(caption) != title) return 0;
    return reinterpret_cast<WindowHandle>(SDL_GetVideoSurface());
}

namespace detail {

bool windowLetsThrough(SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN: {
            const SDL_keysym& key = event.key.keysym;
            const bool altEnter = key.sym == SDLK_RETURN && (key.mod & KMOD_ALT);
            if (key.sym != SDLK_F11 && !altEnter) return true;
            window.dropReturnUp = altEnter;
            toggleFullScreen();
            return false;
        }
        case SDL_KEYUP:
            if (event.key.keysym.sym == SDLK_F11) return false;
            if (event.key.keysym.sym == SDLK_RETURN && window.dropReturnUp) {
                window.dropReturnUp = false;
                return false;
            }
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            return toGame(&event.button.x, &event.button.y);
        case SDL_MOUSEMOTION:
            return toGame(&event.motion.x, &event.motion.y);
        case SDL_VIDEOEXPOSE:
            window.shownValid = false;
            if (isScaling()) presentWhole();
            return true;
        default:
            return true;
    }
}

void gameToWindow(int* x, int* y) {
    if (!isScaling()) return;
    *x = window.left + *x * window.scale + window.scale / 2;
    *y = window.top + *y * window.scale + window.scale / 2;
}

SDL_Surface* openGameSurface() {
    return isOpen() ? window.game : nullptr;
}

void resetWindow() {
    if (window.game && window.game != window.video) SDL_FreeSurface(window.game);
    window = Window{};
}

}  // namespace detail

}  // namespace platform
