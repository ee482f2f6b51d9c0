// Shared test scaffolding.
#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/world.h"
#include "persist/name_entry.h"
#include "persist/settings.h"
#include "resources/images.h"
#include "shell/game_flow.h"
#include "shell/shell.h"
#include "ui/focus.h"
#include "ui/font.h"
#include "ui/text_page.h"

namespace fs = std::filesystem;

namespace testing_support {

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "rgb(" << c.r << ", " << c.g << ", " << c.b << ")";
}

std::string makeScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "korvex-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return "";
    return pattern;
}

ScratchFolder::~ScratchFolder() {
    if (!path.empty()) fs::remove_all(path);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool fileExists(const std::string& path) {
    return fs::exists(path);
}

SDL_Surface* makeSurface(int w, int h, Rgb fill) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, 0xF800, 0x07E0, 0x001F, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, fill.r, fill.g, fill.b));
    return s;
}

Rgb pixelOf(SDL_Surface* surface, int x, int y) {
    Uint8 r, g, b;
    SDL_GetRGB(readPixel(surface, x, y), surface->format, &r, &g, &b);
    return {r, g, b};
}

void resetGlobals() {
    settings = Settings{};
    resetWorld();
    levelCounter = 0;
    helpPage = TextPage{};
    resetKeyboardState();
    ui::setFocusShown(false);
    selectFont(-1);  // no active font, as at start
    for (SDL_Surface*& image : images) image = nullptr;
}

void SdlTest::SetUp() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    platform::script::reset();
    resetGlobals();
    folder_ = makeScratchFolder() + "/";
    ASSERT_NE(folder_, "/");
    fs::create_directories(folder_ + "data");
    platform::script::setProgramPath(folder_ + "korvex");
    findDirectories();
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    std::string error;
    screen_ = platform::openScreen(kScreenWidth, kScreenHeight, 16, "KORVEX", &error);
    ASSERT_NE(screen_, nullptr) << error;
    screen = screen_;
}

void SdlTest::TearDown() {
    platform::setMessagePainter(nullptr, nullptr, nullptr, 0);
    for (SDL_Surface*& image : images) image = nullptr;
    screen = nullptr;
    SDL_Quit();
    if (folder_.size() > 1) fs::remove_all(folder_);
}

void SdlTest::installGameData() {
    // The game's own files only: a game played from the build folder keeps its settings, preferences
    // and recordings beside them, and no test may read or change those.
    for (const fs::directory_entry& entry : fs::directory_iterator(KORVEX_DATA_DIR)) {
        const fs::path& path = entry.path();
        const std::string ext = path.extension().string();
        if (ext == ".pak" || ext == ".wav" || ext == ".bmp" || path.filename() == "story") {
            fs::copy(path, fs::path(folder_) / "data" / path.filename(),
                     fs::copy_options::overwrite_existing);
        }
    }
}

Rgb SdlTest::screenPixel(int x, int y) const {
    return pixelOf(screen ? screen : screen_, x, y);
}

void SdlTest::saveScreenshot(const std::string& name) const {
    const fs::path dir = fs::path(KORVEX_DATA_DIR).parent_path() / "test-artefacts";
    fs::create_directories(dir);
    SDL_SaveBMP(screen ? screen : screen_, (dir / (name + ".bmp")).string().c_str());
}

}  // namespace testing_support
