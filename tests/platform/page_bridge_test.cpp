// The browser build's bridge to its page: keys as SDL names them on the desktop, the page's event
// records as SDL events, and the picture widened as SDL widens it for a 24-bit display.
#include "platform/web/page_bridge.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform::web;

TEST(PageBridge, KeysAreNamedAsOnTheDesktop) {
    const struct {
        const char* code;
        const char* key;
        unsigned modifiers;
        SDLKey sym;
        Uint16 unicode;
        SDLMod mod;
    } cases[] = {
        {"ArrowLeft", "ArrowLeft", 0, SDLK_LEFT, 0, KMOD_NONE},
        {"ArrowDown", "ArrowDown", 0, SDLK_DOWN, 0, KMOD_NONE},
        {"ControlLeft", "Control", kCtrl, SDLK_LCTRL, 0, KMOD_LCTRL},
        {"Enter", "Enter", 0, SDLK_RETURN, '\r', KMOD_NONE},
        {"NumpadEnter", "Enter", 0, SDLK_KP_ENTER, '\r', KMOD_NONE},
        {"Escape", "Escape", 0, SDLK_ESCAPE, 27, KMOD_NONE},
        {"Backspace", "Backspace", 0, SDLK_BACKSPACE, 8, KMOD_NONE},
        {"Pause", "Pause", 0, SDLK_PAUSE, 0, KMOD_NONE},
        {"PageDown", "PageDown", 0, SDLK_PAGEDOWN, 0, KMOD_NONE},
        {"F1", "F1", 0, SDLK_F1, 0, KMOD_NONE},
        {"F11", "F11", kAlt, SDLK_F11, 0, KMOD_LALT},
        {"F15", "F15", 0, SDLK_F15, 0, KMOD_NONE},
        {"F16", "F16", 0, SDLK_UNKNOWN, 0, KMOD_NONE},  // beyond SDL 1.2's keys
        {"Space", " ", 0, SDLK_SPACE, ' ', KMOD_NONE},
        {"KeyP", "p", 0, SDLK_p, 'p', KMOD_NONE},
        {"KeyA", "A", kShift, SDLK_a, 'A', KMOD_LSHIFT},
        {"KeyY", "z", 0, SDLK_z, 'z', KMOD_NONE},  // a German layout: the key's text names it
        {"Digit1", "!", kShift | kCapsLock, SDLK_EXCLAIM, '!', static_cast<SDLMod>(KMOD_LSHIFT | KMOD_CAPS)},
        {"Quote", "~", kMeta, static_cast<SDLKey>('~'), '~', KMOD_LMETA},
        {"Semicolon", "\xc3\xb6", 0, SDLK_UNKNOWN, 0xF6, KMOD_NONE},      // o umlaut: text only
        {"KeyE", "\xe2\x82\xac", kAlt, SDLK_UNKNOWN, 0x20AC, KMOD_LALT},  // the euro sign
        {"KeyQ", "\xf0\x9f\x98\x80", 0, SDLK_UNKNOWN, 0, KMOD_NONE},      // beyond 16 bits
        {"KeyQ", "ab", 0, SDLK_UNKNOWN, 0, KMOD_NONE},                    // a dead key's composition
        {"Unidentified", "", 0, SDLK_UNKNOWN, 0, KMOD_NONE},
    };
    for (const auto& c : cases) {
        const SDL_keysym k = keysymOf(c.code, c.key, c.modifiers);
        EXPECT_EQ(k.sym, c.sym) << c.code << " " << c.key;
        EXPECT_EQ(k.unicode, c.unicode) << c.code << " " << c.key;
        EXPECT_EQ(k.mod, c.mod) << c.code << " " << c.key;
    }
}

TEST(PageBridge, EventRecordsBecomeSdlEvents) {
    int lastX = 100, lastY = 200;
    const auto of = [&](int type, int a, int b, int c) {
        PageEvent e;
        e.type = type;
        e.a = a;
        e.b = b;
        e.c = c;
        e.code = "KeyN";
        e.key = "n";
        return sdlEventOf(e, &lastX, &lastY);
    };
    SDL_Event e = of(SDL_KEYDOWN, kShift, 0, 0);
    EXPECT_EQ(e.type, SDL_KEYDOWN);
    EXPECT_EQ(e.key.state, SDL_PRESSED);
    EXPECT_EQ(e.key.keysym.sym, SDLK_n);
    EXPECT_EQ(e.key.keysym.mod, KMOD_LSHIFT);
    EXPECT_EQ(e.key.which, 0);  // the real keyboard, not the gamepad's
    EXPECT_EQ(of(SDL_KEYUP, 0, 0, 0).key.state, SDL_RELEASED);

    e = of(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 239, 319);
    EXPECT_EQ(std::vector<int>({e.button.button, e.button.state, e.button.x, e.button.y}),
              std::vector<int>({SDL_BUTTON_LEFT, SDL_PRESSED, 239, 319}));
    e = of(SDL_MOUSEMOTION, 1, 230, 300);  // relative to the press
    EXPECT_EQ(std::vector<int>({e.motion.state, e.motion.x, e.motion.y, e.motion.xrel, e.motion.yrel}),
              std::vector<int>({1, 230, 300, -9, -19}));
    e = of(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 232, 301);
    EXPECT_EQ(std::vector<int>({e.button.button, e.button.state, lastX, lastY}),
              std::vector<int>({SDL_BUTTON_RIGHT, SDL_RELEASED, 232, 301}));

    e = of(SDL_ACTIVEEVENT, 0, SDL_APPINPUTFOCUS, 0);
    EXPECT_EQ(std::vector<int>({e.active.gain, e.active.state}), std::vector<int>({0, SDL_APPINPUTFOCUS}));
    e = of(SDL_JOYAXISMOTION, 1, -40000, 0);
    EXPECT_EQ(std::vector<int>({e.jaxis.axis, e.jaxis.value}), std::vector<int>({1, -32768}));
    EXPECT_EQ(of(SDL_JOYAXISMOTION, 0, 40000, 0).jaxis.value, 32767);
    EXPECT_EQ(of(SDL_JOYHATMOTION, SDL_HAT_LEFTUP, 0, 0).jhat.value, SDL_HAT_LEFTUP);
    e = of(SDL_JOYBUTTONDOWN, 7, 0, 0);
    EXPECT_EQ(std::vector<int>({e.jbutton.button, e.jbutton.state}), std::vector<int>({7, SDL_PRESSED}));
    EXPECT_EQ(of(SDL_JOYBUTTONUP, 7, 0, 0).jbutton.state, SDL_RELEASED);
    EXPECT_EQ(of(SDL_QUIT, 0, 0, 0).type, SDL_QUIT);
    EXPECT_EQ(of(SDL_VIDEORESIZE, 0, 0, 0).type, SDL_NOEVENT);  // the page never sends it
}

TEST(PageBridge, PictureIsWidenedAsSdlWidensItForTheDesktop) {
    // Three pixels of a 4 x 2 surface; the rectangle leaves the rest of the canvas as it was.
    Uint16 pixels[2][4] = {{0xFFFF, 0xF800, 0x07E0, 0x001F}, {0x0000, 0x8410, 0x0821, 0x1234}};
    SDL_Surface surface{};
    surface.pixels = pixels;
    surface.pitch = sizeof pixels[0];
    std::vector<std::uint8_t> canvas(4 * 2 * 4, 7);
    rgb565ToRgba(&surface, SDL_Rect{1, 0, 3, 2}, canvas.data(), 4);
    const std::vector<std::uint8_t> expected = {
        7, 7, 7, 7, 248, 0,   0,   255, 0, 252, 0, 255, 0,  0,  248, 255,  // white stays unwritten
        7, 7, 7, 7, 128, 128, 128, 255, 8, 4,   8, 255, 16, 68, 160, 255,
    };
    EXPECT_EQ(canvas, expected);
}
