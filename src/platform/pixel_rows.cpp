// The scaler's rows: pixels repeated by a number known at compile time, converted to a 32-bit
// window through two small tables, and at scales 2 and 3 by shifts eight pixels at a time.
#include "platform/pixel_rows.h"

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/platform.h"

namespace platform::detail {
namespace {

constexpr int kGamePixelValues = 1 << 16;
constexpr int kByteValues = 256;

Uint32 widenByShifts(Uint32 v, const Widening& w) {
    const Uint32 r = v >> 11, g = (v >> 5) & 0x3F, b = v & 0x1F, top = w.repeatTopBits ? ~0u : 0u;
    return ((r << 3 | ((r >> 2) & top)) << w.red) | ((g << 2 | ((g >> 4) & top)) << w.green) |
           ((b << 3 | ((b >> 2) & top)) << w.blue) | w.fill;
}

// One row of pixels, each repeated S times; S known at compile time lets the compiler unroll it.
template <int S>
void widenRowBy(const Uint16* from, Uint16* to, int count) {
    for (int x = 0; x < count; ++x, to += S) {
        for (int k = 0; k < S; ++k) to[k] = from[x];
    }
}

// Scales 2 and 4 write whole words: a pixel doubled is one 32-bit word, quadrupled one 64-bit word.
template <>
void widenRowBy<2>(const Uint16* from, Uint16* to, int count) {
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
void widenRowBy<4>(const Uint16* from, Uint16* to, int count) {
    for (int x = 0; x < count; ++x) {
        const Uint64 four = from[x] * 0x0001000100010001ull;
        std::memcpy(to + 4 * x, &four, sizeof four);
    }
}

using RowWidener = void (*)(const Uint16*, Uint16*, int);
constexpr RowWidener kWideners[kMaxWindowScale + 1] = {nullptr,       widenRowBy<1>, widenRowBy<2>,
                                                       widenRowBy<3>, widenRowBy<4>, widenRowBy<5>,
                                                       widenRowBy<6>, widenRowBy<7>, widenRowBy<8>};

template <bool kByteTables>
Uint32 toWindowPixel(Uint16 v, const Uint32* table) {
    if constexpr (kByteTables) return table[v >> 8] | table[kByteValues + (v & 0xFF)];
    return table[v];
}

// The same for a 32-bit window: each pixel converted through `table`, then repeated S times.
template <int S, bool kByteTables>
void convertRowBy(const Uint16* from, Uint32* to, int count, const Uint32* table) {
    for (int x = 0; x < count; ++x, to += S) {
        const Uint32 pixel = toWindowPixel<kByteTables>(from[x], table);
        for (int k = 0; k < S; ++k) to[k] = pixel;
    }
}

using RowConverter = void (*)(const Uint16*, Uint32*, int, const Uint32*);
constexpr RowConverter kConverters[2][kMaxWindowScale + 1] = {
    {nullptr, convertRowBy<1, false>, convertRowBy<2, false>, convertRowBy<3, false>, convertRowBy<4, false>,
     convertRowBy<5, false>, convertRowBy<6, false>, convertRowBy<7, false>, convertRowBy<8, false>},
    {nullptr, convertRowBy<1, true>, convertRowBy<2, true>, convertRowBy<3, true>, convertRowBy<4, true>,
     convertRowBy<5, true>, convertRowBy<6, true>, convertRowBy<7, true>, convertRowBy<8, true>}};

#ifdef __SSE2__
// A Widening in registers.
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
int convertEights(const Uint16* from, Uint32* to, int count, const Widening& w) {
    int x = 0;
    const __m128i zero = _mm_setzero_si128();
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

}  // namespace

void widenRow(int scale, const Uint16* from, Uint16* to, int count) {
    if (scale <= kMaxWindowScale) {
        kWideners[scale](from, to, count);
        return;
    }
    for (int x = 0; x < count; ++x) {  // full screen on a desktop over 8 times the picture
        for (int k = 0; k < scale; ++k) *to++ = from[x];
    }
}

SDL_Surface* copyInFormat(SDL_Surface* picture, const SDL_PixelFormat* format) {
    const SDL_PixelFormat* f = picture->format;
    const bool same = f->BitsPerPixel == format->BitsPerPixel && f->Rmask == format->Rmask &&
                      f->Gmask == format->Gmask && f->Bmask == format->Bmask && f->Amask == format->Amask &&
                      !f->palette && !format->palette;
    if (!same || (picture->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA))) return nullptr;
    SDL_Surface* copy = SDL_CreateRGBSurface(SDL_SWSURFACE, picture->w, picture->h, f->BitsPerPixel, f->Rmask,
                                             f->Gmask, f->Bmask, f->Amask);
    if (!copy) return nullptr;
    if (SDL_MUSTLOCK(picture) && SDL_LockSurface(picture) < 0) {
        SDL_FreeSurface(copy);
        return nullptr;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(picture->w) * f->BytesPerPixel;
    for (int y = 0; y < picture->h; ++y) {
        std::memcpy(static_cast<Uint8*>(copy->pixels) + y * copy->pitch,
                    static_cast<const Uint8*>(picture->pixels) + y * picture->pitch, rowBytes);
    }
    if (SDL_MUSTLOCK(picture)) SDL_UnlockSurface(picture);
    return copy;
}

bool PixelConversion::make(const SDL_PixelFormat* to) {
    constexpr int kSide = 256;  // 256 x 256 pixels: every 16-bit value once
    std::vector<Uint16> every(kGamePixelValues);
    for (int v = 0; v < kGamePixelValues; ++v) every[v] = static_cast<Uint16>(v);
    clear();
    table_.assign(kGamePixelValues, 0);
    SDL_Surface* from = SDL_CreateRGBSurfaceFrom(every.data(), kSide, kSide, 16, kSide * sizeof(Uint16),
                                                 kRedMask, kGreenMask, kBlueMask, 0);
    SDL_Surface* into =
        SDL_CreateRGBSurfaceFrom(table_.data(), kSide, kSide, kDeepWindowBits, kSide * sizeof(Uint32),
                                 to->Rmask, to->Gmask, to->Bmask, to->Amask);
    const bool done = from && into && SDL_BlitSurface(from, nullptr, into, nullptr) == 0;
    if (from) SDL_FreeSurface(from);
    if (into) SDL_FreeSurface(into);
    if (!done) {
        clear();
        return false;
    }
    findShifts(to);
    splitTable();
    return true;
}

void PixelConversion::clear() {
    std::vector<Uint32>().swap(table_);
    byteTables_ = byShifts_ = false;
}

// Whether SDL's table is plain shifts of the channels (it is for every usual 32-bit window): then
// scales 2 and 3 convert eight pixels at a time without looking anything up.
void PixelConversion::findShifts(const SDL_PixelFormat* to) {
    widening_ = {to->Rshift, to->Gshift, to->Bshift, false, table_[0]};
    for (bool repeat : {true, false}) {
        widening_.repeatTopBits = repeat;
        int v = 0;
        while (v < kGamePixelValues && widenByShifts(v, widening_) == table_[v]) ++v;
        byShifts_ = v == kGamePixelValues;
        if (byShifts_) return;
    }
}

// Each channel's bits are widened on their own, so the table of 65536 is usually the OR of one by the
// high byte and one by the low byte: 2 kB that stay in the first-level cache instead of 256 kB.
void PixelConversion::splitTable() {
    for (int v = 0; v < kGamePixelValues; ++v) {
        if (table_[v] != (table_[v & 0xFF00] | table_[v & 0x00FF])) return;
    }
    std::vector<Uint32> halves(2 * kByteValues);
    for (int b = 0; b < kByteValues; ++b) {
        halves[b] = table_[b << 8];
        halves[kByteValues + b] = table_[b];
    }
    table_.swap(halves);
    byteTables_ = true;
}

void PixelConversion::convertRow(int scale, const Uint16* from, Uint32* to, int count) const {
    const Uint32* table = table_.data();
#ifdef __SSE2__
    using EightsConverter = int (*)(const Uint16*, Uint32*, int, const Widening&);
    constexpr EightsConverter kEights[2][2] = {{convertEights<2, false>, convertEights<2, true>},
                                               {convertEights<3, false>, convertEights<3, true>}};
    if ((scale == 2 || scale == 3) && byShifts_) {
        const int done = kEights[scale - 2][widening_.repeatTopBits](from, to, count, widening_);
        from += done;
        to += scale * done;
        count -= done;
    }
#endif
    if (scale <= kMaxWindowScale) {
        kConverters[byteTables_][scale](from, to, count, table);
        return;
    }
    for (int x = 0; x < count; ++x) {
        const Uint32 pixel =
            byteTables_ ? toWindowPixel<true>(from[x], table) : toWindowPixel<false>(from[x], table);
        for (int k = 0; k < scale; ++k) *to++ = pixel;
    }
}

}  // namespace platform::detail
