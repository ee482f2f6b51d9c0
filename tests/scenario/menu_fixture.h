// The menu screens on the headless platform with pictures made by the test: every screen a plain
// colour, so that a pixel tells which screen is up, and a font whose glyphs each have their own ink.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "resources/images.h"
#include "support/test_support.h"

namespace menu_test {

using testing_support::Rgb;

constexpr int kGlyphWidth = 5, kGlyphHeight = 10;
constexpr int kRadioSize = 12;
constexpr int kResumeWidth = 50, kResumeHeight = 20;
constexpr int kProbeX = 232, kProbeY = 2;  // a pixel no marker, button or text covers

// The plain colour of a picture slot.
Rgb colourOf(int slot);

class MenuTest : public testing_support::SdlTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Sets up the help page as start-up does, with `story` as its text.
    void setStory(const std::string& story);

    // The picture slot whose colour is at the probe pixel, or -1.
    int screenShown() const;
    // The character whose glyph starts at (x, y), or 0 when none does.
    char glyphAt(int x, int y) const;
    bool pixelIs(int x, int y, Rgb c) const;
    // True when (x, y + 1) holds the ink of character c's glyph.
    bool inkAt(int x, int y, char c) const;

    // Runs `hook` whenever the game waits (a script that misses its way ends at the time limit).
    void onIdle(std::function<void()> hook);

    // Records the screen shown each time the game waits for input.
    void recordScreens();
    // `screens_` with repeats of the same screen in a row folded into one.
    std::vector<int> screenSequence() const;

    // Queue a tap or the quit request `after` virtual milliseconds from now, so that they arrive
    // after the menu's queue drain.
    void tapAt(int x, int y, std::uint32_t after) {
        platform::script::tap(x, y, platform::script::now() + after);
    }
    void quitAt(std::uint32_t after) { platform::script::quit(platform::script::now() + after); }

    std::string settingsFile() const;

    std::vector<SDL_Surface*> owned_;
    std::vector<int> screens_;
    std::string story_;
};

}  // namespace menu_test
