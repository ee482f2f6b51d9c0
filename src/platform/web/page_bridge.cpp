// The page's keys, events and picture in SDL's terms (see page_bridge.h).
#include "platform/web/page_bridge.h"

#include <cstdlib>
#include <cstring>

namespace platform::web {
namespace {

// Keys without text of their own, by the physical key's name. Keys with text (letters, digits,
// Space, punctuation) take their text instead, in the player's layout, as SDL does on the desktop.
struct NamedKey {
    const char* code;
    SDLKey sym;
    Uint16 unicode;  // the text SDL gives the key, if any
};
constexpr NamedKey kNamedKeys[] = {
    {"ArrowLeft", SDLK_LEFT, 0},
    {"ArrowRight", SDLK_RIGHT, 0},
    {"ArrowUp", SDLK_UP, 0},
    {"ArrowDown", SDLK_DOWN, 0},
    {"Enter", SDLK_RETURN, '\r'},
    {"NumpadEnter", SDLK_KP_ENTER, '\r'},
    {"Escape", SDLK_ESCAPE, 27},
    {"Backspace", SDLK_BACKSPACE, 8},
    {"Tab", SDLK_TAB, '\t'},
    {"ControlLeft", SDLK_LCTRL, 0},
    {"ControlRight", SDLK_RCTRL, 0},
    {"ShiftLeft", SDLK_LSHIFT, 0},
    {"ShiftRight", SDLK_RSHIFT, 0},
    {"AltLeft", SDLK_LALT, 0},
    {"AltRight", SDLK_RALT, 0},
    {"MetaLeft", SDLK_LSUPER, 0},
    {"MetaRight", SDLK_RSUPER, 0},
    {"CapsLock", SDLK_CAPSLOCK, 0},
    {"Pause", SDLK_PAUSE, 0},
    {"Delete", SDLK_DELETE, 127},
    {"Insert", SDLK_INSERT, 0},
    {"Home", SDLK_HOME, 0},
    {"End", SDLK_END, 0},
    {"PageUp", SDLK_PAGEUP, 0},
    {"PageDown", SDLK_PAGEDOWN, 0},
};
constexpr int kFunctionKeys = 15;  // F1 to F15, as SDL 1.2 has them

struct ModifierBit {
    unsigned page;
    SDLMod sdl;
};
constexpr ModifierBit kModifiers[] = {{kShift, KMOD_LSHIFT},
                                      {kCtrl, KMOD_LCTRL},
                                      {kAlt, KMOD_LALT},
                                      {kMeta, KMOD_LMETA},
                                      {kCapsLock, KMOD_CAPS}};

// The one character that `text` (UTF-8) holds; 0 when it holds none or more, or one beyond 16 bits.
Uint16 singleCharacter(const char* text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    if (s[0] == 0) return 0;
    if (s[0] < 0x80) return s[1] == 0 ? s[0] : 0;
    if ((s[0] & 0xE0) == 0xC0 && (s[1] & 0xC0) == 0x80 && s[2] == 0)
        return ((s[0] & 0x1F) << 6) | (s[1] & 0x3F);
    if ((s[0] & 0xF0) == 0xE0 && (s[1] & 0xC0) == 0x80 && (s[2] & 0xC0) == 0x80 && s[3] == 0) {
        return static_cast<Uint16>(((s[0] & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F));
    }
    return 0;
}

Sint16 clampToAxis(int value) {
    return static_cast<Sint16>(value < -32768 ? -32768 : value > 32767 ? 32767 : value);
}

}  // namespace

SDL_keysym keysymOf(const char* code, const char* key, unsigned modifiers) {
    SDL_keysym k{};
    k.sym = SDLK_UNKNOWN;
    for (const ModifierBit& m : kModifiers) {
        if (modifiers & m.page) k.mod = static_cast<SDLMod>(k.mod | m.sdl);
    }
    for (const NamedKey& named : kNamedKeys) {
        if (std::strcmp(code, named.code) != 0) continue;
        k.sym = named.sym;
        k.unicode = named.unicode;
        return k;
    }
    if (code[0] == 'F' && code[1] >= '1' && code[1] <= '9') {
        char* end = nullptr;
        const long n = std::strtol(code + 1, &end, 10);
        if (*end == 0 && n <= kFunctionKeys) {
            k.sym = static_cast<SDLKey>(SDLK_F1 + n - 1);
            return k;
        }
    }
    k.unicode = singleCharacter(key);
    // SDL names a key with text by its lower-case character; keys beyond ASCII have text alone.
    if (k.unicode >= ' ' && k.unicode < 0x7F) {
        const Uint16 c = k.unicode;
        k.sym = static_cast<SDLKey>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return k;
}

SDL_Event sdlEventOf(const PageEvent& e, int* lastX, int* lastY) {
    SDL_Event event{};
    event.type = static_cast<Uint8>(e.type);
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.key.state = e.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            event.key.keysym = keysymOf(e.code, e.key, static_cast<unsigned>(e.a));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            event.button.button = static_cast<Uint8>(e.a);
            event.button.state = e.type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            event.button.x = static_cast<Uint16>(e.b);
            event.button.y = static_cast<Uint16>(e.c);
            *lastX = e.b;
            *lastY = e.c;
            break;
        case SDL_MOUSEMOTION:
            event.motion.state = static_cast<Uint8>(e.a);
            event.motion.x = static_cast<Uint16>(e.b);
            event.motion.y = static_cast<Uint16>(e.c);
            event.motion.xrel = static_cast<Sint16>(e.b - *lastX);
            event.motion.yrel = static_cast<Sint16>(e.c - *lastY);
            *lastX = e.b;
            *lastY = e.c;
            break;
        case SDL_ACTIVEEVENT:
            event.active.gain = static_cast<Uint8>(e.a);
            event.active.state = static_cast<Uint8>(e.b);
            break;
        case SDL_JOYAXISMOTION:
            event.jaxis.axis = static_cast<Uint8>(e.a);
            event.jaxis.value = clampToAxis(e.b);
            break;
        case SDL_JOYHATMOTION:
            event.jhat.value = static_cast<Uint8>(e.a);
            break;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            event.jbutton.button = static_cast<Uint8>(e.a);
            event.jbutton.state = e.type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            break;
        case SDL_QUIT:
            break;
        default:
            event.type = SDL_NOEVENT;
    }
    return event;
}

void rgb565ToRgba(const SDL_Surface* from, const SDL_Rect& r, std::uint8_t* to, int width) {
    for (int y = r.y; y < r.y + r.h; ++y) {
        const auto* row =
            reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(from->pixels) + y * from->pitch);
        std::uint8_t* out = to + (static_cast<std::size_t>(y) * width + r.x) * 4;
        for (int x = r.x; x < r.x + r.w; ++x, out += 4) {
            const Uint16 v = row[x];
            out[0] = static_cast<std::uint8_t>((v >> 11) << 3);
            out[1] = static_cast<std::uint8_t>(((v >> 5) & 0x3F) << 2);
            out[2] = static_cast<std::uint8_t>((v & 0x1F) << 3);
            out[3] = 0xFF;
        }
    }
}

}  // namespace platform::web
