// Shared test scaffolding: SDL on the dummy driver, the headless platform, a scratch program folder.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/script/script.h"

namespace testing_support {

struct Rgb {
    int r, g, b;
    // Colours are the same when they give the same pixel on the game's 5-6-5 screen: SDL builds
    // differ in how they widen a 16-bit pixel back to 8 bits a channel.
    bool operator==(const Rgb& o) const {
        return (r >> 3) == (o.r >> 3) && (g >> 2) == (o.g >> 2) && (b >> 3) == (o.b >> 3);
    }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& out, const Rgb& c);

// A fresh empty folder under the system's temporary folder, removed by the fixture's TearDown.
std::string makeScratchFolder();

// A scratch folder for a test body, removed when the object goes, also when the test fails.
struct ScratchFolder {
    ScratchFolder() : path(makeScratchFolder()) {}
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string path;
};

// Writes `bytes` to `path`; reads a whole file ("" when missing).
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// While it lives, file modes bind this thread even when it runs as root (as in CI's containers), so a
// file of mode 0200 cannot be read: the two capabilities that override them leave its effective set.
class ModesBind {
  public:
    ModesBind();
    ~ModesBind();
    ModesBind(const ModesBind&) = delete;
    ModesBind& operator=(const ModesBind&) = delete;

  private:
    std::uint32_t effective_ = 0;
    bool dropped_ = false;
};

// A 16-bit surface in the screen's format filled with one colour.
SDL_Surface* makeSurface(int w, int h, Rgb fill);

// Colour of one pixel of any surface.
Rgb pixelOf(SDL_Surface* surface, int x, int y);

// Base fixture: headless platform reset, SDL video on the dummy driver, a 240 x 320 x 16 `screen`,
// and programDir/dataDir pointing at a scratch folder (with data/ empty). Every global record of the
// game is put back to its start value.
class SdlTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the generated game data (packs, story, sounds), and nothing of a player, into data/.
    void installGameData();
    // installGameData, then loads the 39 images and selects the font as start-up does.
    void loadGameImages();

    // The game's current screen (start-up may have opened a new one since SetUp).
    Rgb screenPixel(int x, int y) const;
    // Saves the screen as a BMP under the build's test-artefacts folder (for looking at it).
    void saveScreenshot(const std::string& name) const;

    std::string folder_;  // the scratch program folder, with a trailing '/'
    SDL_Surface* screen_ = nullptr;
};

// Puts every global game record (settings, world, level state, fonts, keyboard) back to its start
// value, as at process start.
void resetGlobals();

}  // namespace testing_support
