// The window the game's 240 x 320 surface is shown in: scaled by a whole number (nearest neighbour), or
// full screen at the desktop's own resolution with the picture centred on black. At scale 1 in a
// window the window itself is the game's surface, as it always was; otherwise the game draws on a
// 16-bit RGB565 surface of its own that every presentation scales into the window, converting to the
// desktop's 32 bits on the way when it has them (SDL would otherwise convert every update again).
#include <algorithm>
#include <cstring>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/platform_detail.h"

namespace platform {
namespace {

constexpr int kFitPercent = 90;  // of the desktop a window may take, leaving room for its frame
constexpr int kDeepWindowBits = 32;
constexpr Uint32 kRedMask = 0xF800, kGreenMask = 0x07E0, kBlueMask = 0x001F;  // the game's RGB565
constexpr int kGamePixelValues = 1 << 16;

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
    bool dropReturnUp = false;  // the Return of an Alt+Enter is ours, up as well as down
    std::vector<Uint16> shown;  // the picture last scaled into the window
    bool shownValid = false;
    std::vector<Uint32> toWindow;  // each game pixel as a pixel of a 32-bit window; empty otherwise
    bool byteTables = false;       // toWindow is two tables of 256, by high and by low byte, OR-ed
    bool byShifts = false;         // the shifts of `widening` give what toWindow does
    struct {
        int red, green, blue;  // where each channel's 8 bits go
        bool repeatTopBits;    // 5 bits abcde widen to abcdeabc, rather than abcde000
        Uint32 fill;           // the other bits (alpha)
    } widening = {};
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

// A game pixel widened to 32 bits by shifts, as window.widening says.
Uint32 widenByShifts(Uint32 v) {
    const auto& w = window.widening;
    const Uint32 r = v >> 11, g = (v >> 5) & 0x3F, b = v & 0x1F, top = w.repeatTopBits ? ~0u : 0u;
    return ((r << 3 | ((r >> 2) & top)) << w.red) | ((g << 2 | ((g >> 4) & top)) << w.green) |
           ((b << 3 | ((b >> 2) & top)) << w.blue) | w.fill;
}

// Whether the table SDL filled is plain shifts of the channels (it is for every usual 32-bit window):
// then scales 2 and 3 convert eight pixels at a time without looking anything up.
void findShifts(const SDL_PixelFormat* to) {
    const std::vector<Uint32>& all = window.toWindow;
    window.widening = {to->Rshift, to->Gshift, to->Bshift, false, all[0]};
    for (bool repeat : {true, false}) {
        window.widening.repeatTopBits = repeat;
        int v = 0;
        while (v < kGamePixelValues && widenByShifts(v) == all[v]) ++v;
        window.byShifts = v == kGamePixelValues;
        if (window.byShifts) return;
    }
}

// Each channel's bits are widened on their own, so the table of 65536 is usually the OR of one by the
// high byte and one by the low byte: 2 kB that stay in the first-level cache instead of 256 kB.
constexpr int kByteValues = 256;
void splitConversion() {
    const std::vector<Uint32>& all = window.toWindow;
    for (int v = 0; v < kGamePixelValues; ++v) {
        if (all[v] != (all[v & 0xFF00] | all[v & 0x00FF])) return;
    }
    std::vector<Uint32> halves(2 * kByteValues);
    for (int b = 0; b < kByteValues; ++b) {
        halves[b] = all[b << 8];
        halves[kByteValues + b] = all[b];
    }
    window.toWindow.swap(halves);
    window.byteTables = true;
}

// Fills window.toWindow for a 32-bit window. SDL itself converts every game pixel once, so that the
// scaled picture has exactly the colours SDL gives the same picture at scale 1.
bool makeConversion(const SDL_PixelFormat* to) {
    constexpr int kSide = 256;  // 256 x 256 pixels: every 16-bit value once
    std::vector<Uint16> every(kGamePixelValues);
    for (int v = 0; v < kGamePixelValues; ++v) every[v] = static_cast<Uint16>(v);
    window.toWindow.assign(kGamePixelValues, 0);
    SDL_Surface* from = SDL_CreateRGBSurfaceFrom(every.data(), kSide, kSide, 16, kSide * sizeof(Uint16),
                                                 kRedMask, kGreenMask, kBlueMask, 0);
    SDL_Surface* into =
        SDL_CreateRGBSurfaceFrom(window.toWindow.data(), kSide, kSide, kDeepWindowBits,
                                 kSide * sizeof(Uint32), to->Rmask, to->Gmask, to->Bmask, to->Amask);
    const bool done = from && into && SDL_BlitSurface(from, nullptr, into, nullptr) == 0;
    if (from) SDL_FreeSurface(from);
    if (into) SDL_FreeSurface(into);
    if (done) findShifts(to);
    if (done) splitConversion();
    return done;
}

// The window has the depth asked for and, when the game draws on a surface of its own, pixels the
// scaler can write: RGB565 as the game's, or 32 bits converted through the table made here.
bool takesPicture(SDL_Surface* video, int bits, bool ownSurface) {
    const SDL_PixelFormat* f = video->format;
    if (f->BitsPerPixel != bits) return false;
    if (!ownSurface) return true;
    if (bits == kDeepWindowBits) return makeConversion(f);
    return f->Rmask == kRedMask && f->Gmask == kGreenMask && f->Bmask == kBlueMask;
}

// One row of pixels, each repeated S times; S known at compile time lets the compiler unroll it.
template <int S>
void widenRow(const Uint16* from, Uint16* to, int count) {
    for (int x = 0; x < count; ++x, to += S) {
        for (int k = 0; k < S; ++k) to[k] = from[x];
    }
}

// Scales 2 and 4 write whole words: a pixel doubled is one 32-bit word, quadrupled one 64-bit word.
template <>
void widenRow<2>(const Uint16* from, Uint16* to, int count) {
    int x = 0;
#ifdef __SSE2__
    for (; x + 8 <= count; x += 8) {  // eight pixels in, sixteen out
        const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 2 * x), _mm_unpacklo_epi16(eight, eight));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 2 * x + 8), _mm_unpackhi_epi16(eight, eight));
    }
#endif
    for (; x < count; ++x) {
        const Uint32 pair = from[x] * 0x00010001u;
        std::memcpy(to + 2 * x, &pair, sizeof pair);
    }
}

template <>
void widenRow<4>(const Uint16* from, Uint16* to, int count) {
    for (int x = 0; x < count; ++x) {
        const Uint64 four = from[x] * 0x0001000100010001ull;
        std::memcpy(to + 4 * x, &four, sizeof four);
    }
}

using RowWidener = void (*)(const Uint16*, Uint16*, int);
constexpr RowWidener kWideners[kMaxWindowScale + 1] = {nullptr,     widenRow<1>, widenRow<2>,
                                                       widenRow<3>, widenRow<4>, widenRow<5>,
                                                       widenRow<6>, widenRow<7>, widenRow<8>};

void widenRowBy(int s, const Uint16* from, Uint16* to, int count) {
    if (s <= kMaxWindowScale) {
        kWideners[s](from, to, count);
        return;
    }
    for (int x = 0; x < count; ++x) {  // full screen on a desktop over 8 times the picture
        for (int k = 0; k < s; ++k) *to++ = from[x];
    }
}

template <bool kByteTables>
Uint32 toWindowPixel(Uint16 v, const Uint32* table) {
    if constexpr (kByteTables) return table[v >> 8] | table[kByteValues + (v & 0xFF)];
    return table[v];
}

// The same for a 32-bit window: each pixel converted through `table`, then repeated S times.
template <int S, bool kByteTables>
void convertRow(const Uint16* from, Uint32* to, int count, const Uint32* table) {
    for (int x = 0; x < count; ++x, to += S) {
        const Uint32 pixel = toWindowPixel<kByteTables>(from[x], table);
        for (int k = 0; k < S; ++k) to[k] = pixel;
    }
}

using RowConverter = void (*)(const Uint16*, Uint32*, int, const Uint32*);
constexpr RowConverter kConverters[2][kMaxWindowScale + 1] = {
    {nullptr, convertRow<1, false>, convertRow<2, false>, convertRow<3, false>, convertRow<4, false>,
     convertRow<5, false>, convertRow<6, false>, convertRow<7, false>, convertRow<8, false>},
    {nullptr, convertRow<1, true>, convertRow<2, true>, convertRow<3, true>, convertRow<4, true>,
     convertRow<5, true>, convertRow<6, true>, convertRow<7, true>, convertRow<8, true>}};

#ifdef __SSE2__
// window.widening in registers.
struct Shifts {
    __m128i fill, red, green, blue;
};

// widenByShifts on four pixels, one in each 32-bit lane.
template <bool kRepeatTopBits>
inline __m128i widenFourByShifts(__m128i v, const Shifts& w) {
    const __m128i five = _mm_set1_epi32(0x1F), six = _mm_set1_epi32(0x3F);
    const __m128i r = _mm_srli_epi32(v, 11), g = _mm_and_si128(_mm_srli_epi32(v, 5), six),
                  b = _mm_and_si128(v, five);
    __m128i r8 = _mm_slli_epi32(r, 3), g8 = _mm_slli_epi32(g, 2), b8 = _mm_slli_epi32(b, 3);
    if constexpr (kRepeatTopBits) {
        r8 = _mm_or_si128(r8, _mm_srli_epi32(r, 2));
        g8 = _mm_or_si128(g8, _mm_srli_epi32(g, 4));
        b8 = _mm_or_si128(b8, _mm_srli_epi32(b, 2));
    }
    __m128i out = _mm_or_si128(w.fill, _mm_sll_epi32(r8, w.red));
    out = _mm_or_si128(out, _mm_sll_epi32(g8, w.green));
    return _mm_or_si128(out, _mm_sll_epi32(b8, w.blue));
}

// Four converted pixels abcd, each repeated S times (2 or 3), from `out` on.
template <int S>
void storeRepeated(__m128i four, __m128i* out) {
    if constexpr (S == 2) {
        _mm_storeu_si128(out, _mm_unpacklo_epi32(four, four));
        _mm_storeu_si128(out + 1, _mm_unpackhi_epi32(four, four));
    } else {  // aaab bbcc cddd
        _mm_storeu_si128(out, _mm_shuffle_epi32(four, _MM_SHUFFLE(1, 0, 0, 0)));
        _mm_storeu_si128(out + 1, _mm_shuffle_epi32(four, _MM_SHUFFLE(2, 2, 1, 1)));
        _mm_storeu_si128(out + 2, _mm_shuffle_epi32(four, _MM_SHUFFLE(3, 3, 3, 2)));
    }
}

// Scales 2 and 3 by shifts: eight pixels at a time; returns how many pixels it did.
template <int S, bool kRepeatTopBits>
int convertEights(const Uint16* from, Uint32* to, int count) {
    int x = 0;
    const __m128i zero = _mm_setzero_si128();
    const auto& w = window.widening;
    const Shifts shifts = {_mm_set1_epi32(static_cast<int>(w.fill)), _mm_cvtsi32_si128(w.red),
                           _mm_cvtsi32_si128(w.green), _mm_cvtsi32_si128(w.blue)};
    for (; x + 8 <= count; x += 8) {
        const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
        const __m128i low = widenFourByShifts<kRepeatTopBits>(_mm_unpacklo_epi16(eight, zero), shifts);
        const __m128i high = widenFourByShifts<kRepeatTopBits>(_mm_unpackhi_epi16(eight, zero), shifts);
        auto* out = reinterpret_cast<__m128i*>(to + S * x);
        storeRepeated<S>(low, out);
        storeRepeated<S>(high, out + S);
    }
    return x;
}
#endif

void convertRowBy(int s, const Uint16* from, Uint32* to, int count) {
    const Uint32* table = window.toWindow.data();
#ifdef __SSE2__
    using EightsConverter = int (*)(const Uint16*, Uint32*, int);
    constexpr EightsConverter kEights[2][2] = {{convertEights<2, false>, convertEights<2, true>},
                                               {convertEights<3, false>, convertEights<3, true>}};
    if ((s == 2 || s == 3) && window.byShifts) {
        const int done = kEights[s - 2][window.widening.repeatTopBits](from, to, count);
        from += done;
        to += s * done;
        count -= done;
    }
#endif
    if (s <= kMaxWindowScale) {
        kConverters[window.byteTables][s](from, to, count, table);
        return;
    }
    for (int x = 0; x < count; ++x) {
        const Uint32 pixel =
            window.byteTables ? toWindowPixel<true>(from[x], table) : toWindowPixel<false>(from[x], table);
        for (int k = 0; k < s; ++k) *to++ = pixel;
    }
}

// Nearest neighbour: each pixel of `r` (game coordinates, inside the surface) becomes scale x scale;
// the first of each group of rows is widened, the others are copies of it.
void scaleRect(const SDL_Rect& r) {
    SDL_Surface* from = window.game;
    SDL_Surface* to = window.video;
    const int s = window.scale;
    if (SDL_MUSTLOCK(to) && SDL_LockSurface(to) < 0) return;
    const bool converting = !window.toWindow.empty();
    const int bytesPerPixel = to->format->BytesPerPixel;
    const std::size_t rowBytes = static_cast<std::size_t>(r.w) * s * bytesPerPixel;
    for (int y = r.y; y < r.y + r.h; ++y) {
        const Uint16* src =
            reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(from->pixels) + y * from->pitch) + r.x;
        Uint8* first = static_cast<Uint8*>(to->pixels) + (window.top + y * s) * to->pitch +
                       (window.left + r.x * s) * bytesPerPixel;
        if (converting) {
            convertRowBy(s, src, reinterpret_cast<Uint32*>(first), r.w);
        } else {
            widenRowBy(s, src, reinterpret_cast<Uint16*>(first), r.w);
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

// Rectangles of the game's picture scaled into the window and sent to the display in batches.
class ScaledUpdate {
  public:
    ~ScaledUpdate() { flush(); }
    void add(const SDL_Rect& r) {
        scaleRect(r);
        noteShown(r);
        areas_[count_++] = scaled(r);
        if (count_ == kBatch) flush();
    }
    void flush() {
        if (count_ > 0) detail::rawUpdateRects(window.video, count_, areas_);
        count_ = 0;
    }

  private:
    static constexpr int kBatch = 32;
    SDL_Rect areas_[kBatch];
    int count_ = 0;
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
    std::vector<Uint32>().swap(window.toWindow);  // the old window's; a 16-bit window needs none
    window.byteTables = window.byShifts = false;
    SDL_Surface* video = SDL_SetVideoMode(w, h, bits, SDL_SWSURFACE | (full ? SDL_FULLSCREEN : 0u));
    window.video = video;
    if (!video || !takesPicture(video, bits, ownSurface)) {
        *error = video ? "the window has the wrong pixel format" : SDL_GetError();
        std::vector<Uint32>().swap(window.toWindow);
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
    return window.game;
}

SDL_Surface* convertPicture(SDL_Surface* picture, bool alpha) {
    // The window is the game's surface (or none is open): SDL's own conversion is the one meant.
    if (!isScaling()) return alpha ? SDL_DisplayFormatAlpha(picture) : SDL_DisplayFormat(picture);
    if (!alpha) {
        const Uint32 keep = picture->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA | SDL_RLEACCELOK);
        return SDL_ConvertSurface(picture, window.game->format, SDL_SWSURFACE | keep);
    }
    // For a 565 display SDL_DisplayFormatAlpha picks 32-bit ARGB.
    SDL_Surface* argb =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (!argb) return nullptr;
    SDL_Surface* converted =
        SDL_ConvertSurface(picture, argb->format, picture->flags & (SDL_SRCALPHA | SDL_RLEACCELOK));
    SDL_FreeSurface(argb);
    return converted;
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
