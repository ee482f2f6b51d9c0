// Command dispatch of korvex-pak. Reading goes through the game's own bounds-checked decoder, so the
// tool refuses exactly the packs the game would refuse.
#include "pak/pak_tool.h"

#include <cstdio>
#include <filesystem>
#include <iomanip>

#include "pak/pak_files.h"
#include "resources/image_names.h"

namespace paktool {
namespace {

constexpr std::size_t kMainPackCapacity = 2000000;  // the most the game unpacks from a pack

const char* const kUsage =
    "korvex-pak: lists, unpacks and builds Korvex image packs (.pak)\n"
    "\n"
    "Usage:\n"
    "  korvex-pak list FILE.pak              show the pictures a pack holds\n"
    "  korvex-pak unpack FILE.pak DIR        write every picture as a BMP file into DIR\n"
    "  korvex-pak pack OUT.pak A.bmp ...     build a pack from BMP files, in the order given\n"
    "  korvex-pak --help                     show this text\n"
    "\n"
    "A pack of 39 pictures is the game's main pack (data/1.pak): unpacking names the files after\n"
    "its slots (start_screen.bmp, GameBackground.bmp, ...), and packing those files in the same\n"
    "order gives a pack the game can load. Other packs unpack to image_00.bmp, image_01.bmp, ...\n"
    "The splash pack (data/0.pak) holds one 240 x 320 picture.\n"
    "Pictures are stored as opaque 16-bit colour; the game makes its sprites' black and the fonts'\n"
    "grey transparent itself.\n";

struct Decoded {
    std::vector<std::uint8_t> content;
    std::vector<pack::RawImage> images;
};

bool readAndDecode(const std::string& path, Decoded* pack, std::ostream& err) {
    std::string error;
    if (!readPackFile(path, &pack->content, &error)) {
        err << "korvex-pak: " << error << "\n";
        return false;
    }
    if (!pack::decode(pack->content.data(), pack->content.size(), &pack->images, &error)) {
        err << "korvex-pak: " << path << " is not a valid pack: " << error << "\n";
        return false;
    }
    return true;
}

int listPack(const std::string& path, std::ostream& out, std::ostream& err) {
    Decoded pack;
    if (!readAndDecode(path, &pack, err)) return kExitFailed;
    const int count = static_cast<int>(pack.images.size());
    out << path << ": " << count << " pictures, " << pack.content.size() << " bytes unpacked\n";
    for (int i = 0; i < count; ++i) {
        const pack::RawImage& image = pack.images[i];
        out << std::setw(4) << i << "  " << std::left << std::setw(28) << unpackedFileName(i, count)
            << std::right << std::setw(4) << image.width << " x " << std::left << std::setw(4) << image.height
            << std::right << std::setw(3) << int(image.bitsPerPixel) << " bit"
            << (image.hasAlpha ? "  alpha" : "") << "\n";
    }
    return kExitOk;
}

int unpackPack(const std::string& path, const std::string& folder, std::ostream& out, std::ostream& err) {
    Decoded pack;
    if (!readAndDecode(path, &pack, err)) return kExitFailed;
    std::error_code problem;
    std::filesystem::create_directories(folder, problem);
    if (problem) {
        err << "korvex-pak: cannot create " << folder << ": " << problem.message() << "\n";
        return kExitFailed;
    }
    const int count = static_cast<int>(pack.images.size());
    for (int i = 0; i < count; ++i) {
        const std::string file = (std::filesystem::path(folder) / unpackedFileName(i, count)).string();
        std::string error;
        if (!saveAsBmp(pack.images[i], file, &error)) {
            err << "korvex-pak: " << error << "\n";
            return kExitFailed;
        }
    }
    out << "unpacked " << count << " pictures into " << folder << "\n";
    return kExitOk;
}

int buildPack(const std::string& path, const std::vector<std::string>& bitmaps, std::ostream& out,
              std::ostream& err) {
    std::vector<std::uint8_t> content;
    pack::appendCount(&content, static_cast<std::int32_t>(bitmaps.size()));
    for (const std::string& bitmap : bitmaps) {
        OwnedImage image;
        std::string error;
        if (!loadBmpAs565(bitmap, &image, &error)) {
            err << "korvex-pak: " << error << "\n";
            return kExitFailed;
        }
        pack::appendImage(&content, image.header);
    }
    std::string error;
    if (!writePackFile(path, content, &error)) {
        err << "korvex-pak: " << error << "\n";
        return kExitFailed;
    }
    out << "packed " << bitmaps.size() << " pictures into " << path << " (" << content.size()
        << " bytes unpacked)\n";
    if (content.size() > kMainPackCapacity) {
        err << "korvex-pak: warning: the game reads at most " << kMainPackCapacity << " bytes of a pack\n";
    }
    return kExitOk;
}

int usageError(const std::string& problem, std::ostream& err) {
    err << "korvex-pak: " << problem << "\nTry 'korvex-pak --help'.\n";
    return kExitUsage;
}

}  // namespace

std::string unpackedFileName(int index, int count) {
    if (count == kImageSlotCount) return kImageFileNames[index];
    char name[32];
    std::snprintf(name, sizeof name, "image_%02d.bmp", index);
    return name;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return usageError("no command given", err);
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsage;
        return kExitOk;
    }
    if (command == "list") {
        if (args.size() != 2) return usageError("list takes one pack file", err);
        return listPack(args[1], out, err);
    }
    if (command == "unpack") {
        if (args.size() != 3) return usageError("unpack takes a pack file and a folder", err);
        return unpackPack(args[1], args[2], out, err);
    }
    if (command == "pack") {
        if (args.size() < 3) return usageError("pack takes an output file and at least one BMP file", err);
        return buildPack(args[1], std::vector<std::string>(args.begin() + 2, args.end()), out, err);
    }
    return usageError("unknown command '" + command + "'", err);
}

}  // namespace paktool
