// korvex-pak: round trips through list, unpack and pack, and refusal of bad input.
#include "pak/pak_tool.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <sstream>

#include "pack_test_support.h"
#include "resources/image_names.h"

namespace {

using tooltest::readFile;
using tooltest::writeFile;
namespace fs = std::filesystem;

struct RunResult {
    int code;
    std::string out, err;
};

RunResult runTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = paktool::run(args, out, err);
    return RunResult{code, out.str(), err.str()};
}

// Colours that survive the 16-bit packing exactly: 5 bits of red and blue, 6 of green.
std::uint32_t gradient(int x, int y) {
    return (x * 8 & 0xF8) << 16 | (y * 4 & 0xFC) << 8 | ((x + y) * 8 & 0xF8);
}
std::uint32_t checker(int x, int y) {
    return (x + y) % 2 ? 0xF8FCF8 : 0x081020;
}
std::uint32_t anyColour(int x, int y) {
    return static_cast<std::uint32_t>(x * 2654435761u ^ y * 40503u) & 0xFFFFFF;
}

class PakTool : public ::testing::Test {
  protected:
    void SetUp() override { folder_ = tooltest::scratchFolder(); }
    void TearDown() override { fs::remove_all(folder_); }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }

    // Three pictures of awkward sizes (odd widths leave padding in BMP rows).
    std::vector<std::string> makeBitmaps() {
        tooltest::writeTestBmp(path("a.bmp"), 31, 17, gradient);
        tooltest::writeTestBmp(path("b.bmp"), 3, 8, checker);
        tooltest::writeTestBmp(path("c.bmp"), 1, 1, checker);
        return {path("a.bmp"), path("b.bmp"), path("c.bmp")};
    }

    std::string folder_;
};

TEST_F(PakTool, PackedPicturesKeepTheirSizeAndEveryPixel) {
    std::vector<std::string> args = {"pack", path("out.pak")};
    for (const std::string& bitmap : makeBitmaps()) args.push_back(bitmap);
    const RunResult packed = runTool(args);
    ASSERT_EQ(packed.code, paktool::kExitOk) << packed.err;

    std::string error;
    const tooltest::Pack pack = tooltest::readPack(path("out.pak"), &error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(pack.images.size(), 3u);
    const pack::RawImage& a = pack.images[0];
    EXPECT_EQ(a.width, 31);
    EXPECT_EQ(a.height, 17);
    EXPECT_EQ(a.bitsPerPixel, 16);
    EXPECT_EQ(a.hasAlpha, 0);
    EXPECT_EQ(a.pitch, 62);
    EXPECT_EQ(a.rMask, 0xF800u);
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 31; ++x) {
            const std::uint32_t c = gradient(x, y);
            ASSERT_EQ(tooltest::raw565(a, x, y), tooltest::to565(c >> 16, (c >> 8) & 255, c & 255))
                << x << "," << y;
        }
    }
    EXPECT_EQ(pack.images[1].width, 3);
    EXPECT_EQ(pack.images[2].height, 1);
}

TEST_F(PakTool, PackingIsGzipCompressed) {
    std::vector<std::string> args = {"pack", path("out.pak")};
    for (const std::string& bitmap : makeBitmaps()) args.push_back(bitmap);
    ASSERT_EQ(runTool(args).code, paktool::kExitOk);
    const std::string bytes = readFile(path("out.pak"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x1F);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0x8B);
}

TEST_F(PakTool, UnpackThenPackGivesTheSamePack) {
    tooltest::writeTestBmp(path("any.bmp"), 37, 11, anyColour);
    tooltest::writeTestBmp(path("b.bmp"), 3, 8, checker);
    ASSERT_EQ(runTool({"pack", path("first.pak"), path("any.bmp"), path("b.bmp")}).code, paktool::kExitOk);
    const RunResult unpacked = runTool({"unpack", path("first.pak"), path("out")});
    ASSERT_EQ(unpacked.code, paktool::kExitOk) << unpacked.err;
    ASSERT_TRUE(fs::exists(path("out/image_00.bmp")));
    ASSERT_TRUE(fs::exists(path("out/image_01.bmp")));
    EXPECT_FALSE(fs::exists(path("out/image_02.bmp")));
    ASSERT_EQ(runTool({"pack", path("second.pak"), path("out/image_00.bmp"), path("out/image_01.bmp")}).code,
              paktool::kExitOk);

    std::string error;
    const tooltest::Pack first = tooltest::readPack(path("first.pak"), &error);
    const tooltest::Pack second = tooltest::readPack(path("second.pak"), &error);
    EXPECT_EQ(first.content, second.content);
}

TEST_F(PakTool, AMainPackUnpacksUnderTheSlotNames) {
    std::vector<std::string> args = {"pack", path("main.pak")};
    tooltest::writeTestBmp(path("one.bmp"), 2, 2, checker);
    for (int i = 0; i < kImageSlotCount; ++i) args.push_back(path("one.bmp"));
    ASSERT_EQ(runTool(args).code, paktool::kExitOk);
    ASSERT_EQ(runTool({"unpack", path("main.pak"), path("slots")}).code, paktool::kExitOk);
    EXPECT_TRUE(fs::exists(path("slots/start_screen.bmp")));
    EXPECT_TRUE(fs::exists(path("slots/GameBackground.bmp")));
    EXPECT_TRUE(fs::exists(path("slots/unused30.bmp")));
    EXPECT_TRUE(fs::exists(path("slots/font_white.bmp")));
    EXPECT_FALSE(fs::exists(path("slots/image_00.bmp")));
    EXPECT_EQ(std::distance(fs::directory_iterator(path("slots")), fs::directory_iterator()),
              kImageSlotCount);

    const RunResult listed = runTool({"list", path("main.pak")});
    ASSERT_EQ(listed.code, paktool::kExitOk);
    EXPECT_NE(listed.out.find("39 pictures"), std::string::npos);
    EXPECT_NE(listed.out.find("keyboard_large_pushed.bmp"), std::string::npos);
}

TEST_F(PakTool, ListNamesEveryPictureWithItsSize) {
    std::vector<std::string> args = {"pack", path("out.pak")};
    for (const std::string& bitmap : makeBitmaps()) args.push_back(bitmap);
    ASSERT_EQ(runTool(args).code, paktool::kExitOk);
    const RunResult listed = runTool({"list", path("out.pak")});
    ASSERT_EQ(listed.code, paktool::kExitOk);
    EXPECT_NE(listed.out.find("3 pictures"), std::string::npos);
    EXPECT_NE(listed.out.find("image_00.bmp"), std::string::npos);
    EXPECT_NE(listed.out.find("31 x 17"), std::string::npos);
    EXPECT_NE(listed.out.find("image_02.bmp"), std::string::npos);
}

TEST_F(PakTool, AnUncompressedPackReadsLikeItsCompressedForm) {
    tooltest::writeTestBmp(path("b.bmp"), 3, 8, checker);
    ASSERT_EQ(runTool({"pack", path("packed.pak"), path("b.bmp")}).code, paktool::kExitOk);
    std::string error;
    const tooltest::Pack packed = tooltest::readPack(path("packed.pak"), &error);
    writeFile(path("plain.pak"), std::string(packed.content.begin(), packed.content.end()));
    const RunResult listed = runTool({"list", path("plain.pak")});
    EXPECT_EQ(listed.code, paktool::kExitOk) << listed.err;
    EXPECT_NE(listed.out.find("3 x 8"), std::string::npos);
}

TEST_F(PakTool, RefusesMissingAndBrokenInput) {
    tooltest::writeTestBmp(path("good.bmp"), 4, 4, checker);
    writeFile(path("text.bmp"), "this is not a bitmap");
    ASSERT_EQ(runTool({"pack", path("good.pak"), path("good.bmp"), path("good.bmp")}).code, paktool::kExitOk);
    const std::string good = readFile(path("good.pak"));

    writeFile(path("truncated.pak"), good.substr(0, good.size() / 2));
    writeFile(path("garbled.pak"), std::string(300, '\x5A'));
    writeFile(path("empty.pak"), "");

    struct Case {
        std::vector<std::string> args;
        const char* expected;  // part of the message
    };
    const Case cases[] = {
        {{"list", path("missing.pak")}, "cannot open"},
        {{"unpack", path("missing.pak"), path("out")}, "cannot open"},
        {{"list", path("truncated.pak")}, "damaged"},
        {{"list", path("garbled.pak")}, "not a valid pack"},
        {{"list", path("empty.pak")}, "no image count"},
        {{"pack", path("x.pak"), path("good.bmp"), path("missing.bmp")}, "cannot open"},
        {{"pack", path("x.pak"), path("text.bmp")}, "not a readable BMP"},
    };
    for (const Case& c : cases) {
        const RunResult result = runTool(c.args);
        EXPECT_EQ(result.code, paktool::kExitFailed) << c.args[0] << " " << c.args[1];
        EXPECT_NE(result.err.find(c.expected), std::string::npos) << result.err;
    }
    EXPECT_FALSE(fs::exists(path("x.pak"))) << "a failed pack must leave no file behind";
    EXPECT_FALSE(fs::exists(path("x.pak.partial")));
}

TEST_F(PakTool, RefusesAPackWhoseCountPromisesMoreThanItHolds) {
    tooltest::writeTestBmp(path("good.bmp"), 4, 4, checker);
    ASSERT_EQ(runTool({"pack", path("good.pak"), path("good.bmp"), path("good.bmp")}).code, paktool::kExitOk);
    std::string error;
    tooltest::Pack pack = tooltest::readPack(path("good.pak"), &error);
    pack.content[0] = 5;  // the count says five, the content holds two
    gzFile file = gzopen(path("counted.pak").c_str(), "wb");
    gzwrite(file, pack.content.data(), static_cast<unsigned>(pack.content.size()));
    gzclose(file);
    const RunResult result = runTool({"list", path("counted.pak")});
    EXPECT_EQ(result.code, paktool::kExitFailed);
    EXPECT_NE(result.err.find("image 2"), std::string::npos) << result.err;
}

TEST_F(PakTool, CommandLineMistakesAreUsageErrors) {
    EXPECT_EQ(runTool({}).code, paktool::kExitUsage);
    EXPECT_EQ(runTool({"shrink", "a.pak"}).code, paktool::kExitUsage);
    EXPECT_EQ(runTool({"list"}).code, paktool::kExitUsage);
    EXPECT_EQ(runTool({"unpack", "a.pak"}).code, paktool::kExitUsage);
    EXPECT_EQ(runTool({"pack", "a.pak"}).code, paktool::kExitUsage);
    const RunResult help = runTool({"--help"});
    EXPECT_EQ(help.code, paktool::kExitOk);
    EXPECT_NE(help.out.find("unpack FILE.pak DIR"), std::string::npos);
}

}  // namespace
