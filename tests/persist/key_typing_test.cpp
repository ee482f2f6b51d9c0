// Name entry from the physical keyboard: the character a key types, and a whole entry typed with
// keys, the typed key shown pressed on the on-screen keyboard while it is held.
#include "persist/key_typing.h"

#include <gtest/gtest.h>

#include "keyboard_fixture.h"
#include "platform/script/script.h"

namespace {

using namespace keyboard_testing;
namespace script = platform::script;

TEST(TypedCharacter, PrintableTextOtherTextNothingNoTextTheKeysNameWithShiftAndCapsLock) {
    struct Case {
        int sym, mod, unicode;
        char typed;
    };
    const Case cases[] = {
        {SDLK_a, KMOD_NONE, 0, 'a'},      {SDLK_a, KMOD_LSHIFT, 0, 'A'},
        {SDLK_z, KMOD_CAPS, 0, 'Z'},      {SDLK_a, KMOD_RSHIFT | KMOD_CAPS, 0, 'a'},
        {SDLK_1, KMOD_LSHIFT, 0, '1'},    {SDLK_2, KMOD_LSHIFT, '@', '@'},
        {SDLK_SPACE, KMOD_NONE, 0, ' '},  {SDLK_BACKQUOTE, KMOD_NONE, 0, '`'},
        {SDLK_F1, KMOD_NONE, 0, 0},       {SDLK_RETURN, KMOD_NONE, '\r', 0},
        {SDLK_DELETE, KMOD_NONE, 127, 0}, {SDLK_WORLD_1, KMOD_NONE, 0xE9, 0},
        {SDLK_q, KMOD_NONE, '~', '~'},    {SDLK_a, KMOD_NONE, 0x0444, 0},
        {SDLK_h, KMOD_LCTRL, 8, 0},  // Cyrillic ef; Ctrl+H
    };
    for (const Case& c : cases) {
        SDL_keysym key{};
        key.sym = static_cast<SDLKey>(c.sym);
        key.mod = static_cast<SDLMod>(c.mod);
        key.unicode = static_cast<Uint16>(c.unicode);
        EXPECT_EQ(typedCharacter(key), c.typed) << c.sym << " " << c.mod << " " << c.unicode;
    }
}

TEST_F(KeyboardTest, ANameTypedOnTheKeyboardBesideTheOnScreenKeys) {
    SDL_Event q{};
    q.type = q.key.type = SDL_KEYDOWN;
    q.key.keysym.sym = SDLK_q;
    q.key.keysym.unicode = 'Q';
    script::pushEvent(q, 100);
    q.type = q.key.type = SDL_KEYUP;
    script::pushEvent(q, 200);
    script::typeText("bcdefghijkl", 300);  // one more than fits
    script::keyDown(SDLK_BACKSPACE, 400);
    script::keyDown(SDLK_ESCAPE, 500);  // deletes as well
    script::keyDown(SDLK_DOWN, 600);    // shows the frame on the a key
    script::keyDown(SDLK_RETURN, 700);  // presses it
    script::keyUp(SDLK_RETURN, 750);
    script::typeText("!", 800);         // and typing hides the frame again
    script::keyDown(SDLK_RETURN, 900);  // so that Enter ends the entry
    Rgb held{}, released{}, framed{};
    script::setIdleHook([&] {
        const std::uint32_t now = script::now();
        if (now == 150) held = screenPixel(keyX(kKeyIndexQ), keyY(kKeyIndexQ));
        if (now == 250) released = screenPixel(keyX(kKeyIndexQ), keyY(kKeyIndexQ));
        if (now == 650)
            framed = screenPixel(kKeyboardLeft + kKeys[kKeyIndexA].rect.left + 1, keyY(kKeyIndexA));
    });
    char text[20] = {};
    EXPECT_EQ(runKeyboardEntry(text, 10), 1);
    script::setIdleHook(nullptr);
    EXPECT_STREQ(text, "Qbcdefgha!");
    EXPECT_EQ(held, kSmallPushedColour);
    EXPECT_EQ(released, kSmallColour);
    EXPECT_EQ(framed, (Rgb{255, 208, 64}));
    EXPECT_EQ(script::now(), 900u + 10u);
}

}  // namespace
