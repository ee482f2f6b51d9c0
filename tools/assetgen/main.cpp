// korvex-assetgen: writes every picture, the story and the sounds of the game from the text sources
// in this folder, so that a clean build has a complete, playable data folder.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "assetgen/icons.h"
#include "assetgen/output_files.h"
#include "assetgen/pictures.h"
#include "assetgen/png_file.h"
#include "assetgen/sounds.h"
#include "assetgen/story_layout.h"
#include "assetgen/text.h"
#include "resources/image_names.h"

namespace {

namespace fs = std::filesystem;

const char* const kUsage =
    "korvex-assetgen: generates the Korvex pictures, story and sounds\n"
    "\n"
    "Usage: korvex-assetgen --sources DIR --images DIR --data DIR [--icons DIR]\n"
    "  --sources DIR  the generator's sources: art/font.txt, art/sprites.txt, story.txt\n"
    "  --images DIR   receives the 39 pictures of the main pack, named after their slots,\n"
    "                 and splash.bmp, the picture of the splash pack\n"
    "  --data DIR     the game's data folder: receives story, the story's pictures and 0.wav to 3.wav\n"
    "  --icons DIR    receives the desktop icon as NxN/korvex.png for N = 16, 32, 48, 64, 128, 256,\n"
    "                 and the page's web/korvex-192.png, korvex-512.png, korvex-maskable.png\n";

// The story's picture, by the path the story names it with (relative to the program folder, whose
// data folder is the --data folder).
const char* const kStoryPicturePath = "data/story1.bmp";

// The help page's text rectangle and the number of pages the help screen can show.
const story::Area kHelpArea{19, 60, 205, 190};
constexpr std::size_t kHelpPages = 2;

struct Options {
    std::string sources, images, data, icons;
};

bool parseOptions(int argc, char** argv, Options* options) {
    std::map<std::string, std::string*> flags{{"--sources", &options->sources},
                                              {"--images", &options->images},
                                              {"--data", &options->data},
                                              {"--icons", &options->icons}};
    for (int i = 1; i < argc; ++i) {
        auto flag = flags.find(argv[i]);
        if (flag == flags.end() || i + 1 >= argc) return false;
        *flag->second = argv[++i];
    }
    return !options->sources.empty() && !options->images.empty() && !options->data.empty();
}

std::string readText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

story::FontMetrics metricsOf(const art::Canvas& font) {
    std::vector<std::uint32_t> row;
    for (int x = 0; x < font.width(); ++x) {
        const art::Colour c = font.at(x, 0);
        row.push_back(c.opaque() ? (c.r << 16 | c.g << 8 | c.b) : 0xFF000000u);
    }
    return story::metricsFromMarkerRow(row, font.height());
}

// The story must fill exactly the pages the help screen pages through, with nothing cut off.
bool checkStory(const std::string& text, const art::Sources& sources, int pictureHeight, std::string* error) {
    const story::FontMetrics fonts[2] = {metricsOf(art::fontPicture(sources)),
                                         metricsOf(art::boldFontPicture(sources))};
    const story::PictureHeight heights = [&](const std::string& path) {
        return path == kStoryPicturePath ? pictureHeight : -1;
    };
    const story::Pagination pages = story::paginate(text, fonts, kHelpArea, heights);
    if (!pages.problem.empty()) {
        *error = "the story cannot be paged: " + pages.problem;
        return false;
    }
    if (pages.pageStarts.size() != kHelpPages) {
        *error = "the story makes " + std::to_string(pages.pageStarts.size()) +
                 " pages; the help screen shows " + std::to_string(kHelpPages);
        return false;
    }
    if (!story::drawingReachesEnd(text, pages.pageStarts.back(), 0, fonts, kHelpArea, heights)) {
        *error = "the end of the story does not fit on its last page";
        return false;
    }
    return true;
}

// The sprite strips the game cuts frames from, with the frame sizes it cuts.
struct SpriteShape {
    const char* name;
    int frameWidth, height, frames;
};
const SpriteShape kSpriteShapes[] = {
    {"Player1", 20, 24, 4}, {"Enemy11", 23, 18, 4},       {"Enemy21", 23, 18, 4},
    {"Enemy31", 23, 18, 4}, {"GiftLauncher1", 24, 14, 2}, {"Gifts", 12, 12, 5},
};

bool loadSources(const Options& options, art::Sources* sources, std::string* error) {
    const fs::path art = fs::path(options.sources) / "art";
    if (!sources->glyphs.load((art / "font.txt").string(), error)) return false;
    if (!sources->sprites.load((art / "sprites.txt").string(), error)) return false;
    for (const SpriteShape& shape : kSpriteShapes) {
        *error = sources->sprites.checkShape(shape.name, shape.frameWidth, shape.height, shape.frames);
        if (!error->empty()) return false;
    }
    return true;
}

bool writePictures(const Options& options, const art::Sources& sources, std::string* error) {
    for (int slot = 0; slot < kImageSlotCount; ++slot) {
        const art::Picture picture = art::slotPicture(slot, sources);
        const std::string path = (fs::path(options.images) / kImageFileNames[slot]).string();
        if (!art::writeBmp(picture.canvas, path, picture.key, error)) return false;
        if (slot == 0 && !art::writeBmp(picture.canvas, (fs::path(options.images) / "splash.bmp").string(),
                                        picture.key, error)) {
            return false;
        }
    }
    return true;
}

bool writeStory(const Options& options, const art::Sources& sources, std::string* error) {
    const std::string text = readText((fs::path(options.sources) / "story.txt").string());
    if (text.empty()) {
        *error = "cannot read the story in " + options.sources;
        return false;
    }
    const art::Canvas picture = art::storyPicture(sources);
    if (!checkStory(text, sources, picture.height(), error)) return false;
    const fs::path picturePath = fs::path(options.data) / fs::path(kStoryPicturePath).filename();
    if (!art::writeBmp(picture, picturePath.string(), art::kClear, error)) return false;
    std::ofstream out(fs::path(options.data) / "story", std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.good()) *error = "cannot write the story into " + options.data;
    return out.good();
}

bool writeSounds(const Options& options, std::string* error) {
    const std::vector<std::int16_t> sounds[] = {sound::shot(), sound::hit(), sound::carrierHit(),
                                                sound::giftCaught()};
    for (int n = 0; n < 4; ++n) {
        const std::string path = (fs::path(options.data) / (std::to_string(n) + ".wav")).string();
        if (!art::writeWav(sounds[n], sound::kSampleRate, path, error)) return false;
    }
    return true;
}

bool writeIcons(const Options& options, const art::Sources& sources, std::string* error) {
    if (options.icons.empty()) return true;
    for (int size : art::kIconSizes) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const fs::path folder = fs::path(options.icons) / name;
        std::error_code ignored;
        fs::create_directories(folder, ignored);
        if (!art::writePng(art::iconPicture(sources, size), (folder / "korvex.png").string(), error))
            return false;
    }
    const fs::path web = fs::path(options.icons) / "web";
    std::error_code ignored;
    fs::create_directories(web, ignored);
    for (int size : art::kWebIconSizes) {
        const std::string name = "korvex-" + std::to_string(size) + ".png";
        if (!art::writePng(art::iconPicture(sources, size), (web / name).string(), error)) return false;
    }
    return art::writePng(art::maskableIconPicture(sources, art::kWebIconSizes[1]),
                         (web / "korvex-maskable.png").string(), error);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    Options options;
    if (!parseOptions(argc, argv, &options)) {
        std::cerr << "korvex-assetgen: expected --sources, --images and --data, each with a folder\n"
                  << "Try 'korvex-assetgen --help'.\n";
        return 2;
    }
    art::Sources sources;
    std::string error;
    std::error_code ignored;
    fs::create_directories(options.images, ignored);
    fs::create_directories(options.data, ignored);
    const bool done = loadSources(options, &sources, &error) && writePictures(options, sources, &error) &&
                      writeStory(options, sources, &error) && writeSounds(options, &error) &&
                      writeIcons(options, sources, &error);
    if (!done) {
        std::cerr << "korvex-assetgen: " << error << "\n";
        return 1;
    }
    return 0;
}
