// The window preferences file: every kind of line in one table, the round trip, and files that are
// missing, unreadable or cannot be written.
#include "persist/preferences.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace {

TEST(PreferencesTest, EachLineIsReadOrLeavesItsDefault) {
    const struct {
        const char* text;
        int scale;
        bool fullscreen;
    } cases[] = {
        {"", 0, false},
        {"scale = 3\nfullscreen = yes\n", 3, true},
        {"scale=8\r\nfullscreen=true\r\n", 8, true},
        {"  scale \t=  1  \n fullscreen = 1", 1, true},
        {"fullscreen = yes\nfullscreen = no\n", 0, false},  // the last line wins
        {"fullscreen = false\nscale = 2", 2, false},
        {"scale = 0\n", 0, false},
        {"scale = 9\n", 0, false},
        {"scale = 03\n", 0, false},
        {"scale = -2\n", 0, false},
        {"scale = 2 3\n", 0, false},
        {"scale =\n= 4\nscale\n", 0, false},
        {"fullscreen = maybe\n", 0, false},
        {"# scale = 5\n  # fullscreen = yes\n", 0, false},
        {"colour = red\nScale = 4\nscale = 6\n", 6, false},  // unknown keys ignored, keys exact
        {"\xff\xfe\x01junk\nscale = 2\n", 2, false},
        {"\xef\xbb\xbfscale = 4\n", 4, false},  // a byte-order mark
    };
    for (const auto& c : cases) {
        const Preferences p = parsePreferences(c.text);
        EXPECT_EQ(p.scale, c.scale) << c.text;
        EXPECT_EQ(p.fullscreen, c.fullscreen) << c.text;
    }
}

TEST(PreferencesTest, WhatIsWrittenIsReadBack) {
    for (const Preferences p :
         {Preferences{}, Preferences{1, true}, Preferences{8, false}, Preferences{0, true}}) {
        EXPECT_EQ(parsePreferences(formatPreferences(p)), p) << formatPreferences(p);
    }
}

TEST(PreferencesTest, MissingUnreadableAndUnwritableFilesMeanDefaults) {
    namespace fs = std::filesystem;
    struct Scratch {
        std::string folder = testing_support::makeScratchFolder() + "/";
        ~Scratch() { fs::remove_all(folder); }
    } scratch;
    const std::string& folder = scratch.folder;
    const std::string path = folder + kPreferencesName;
    EXPECT_EQ(loadPreferences(path), Preferences{});
    ASSERT_TRUE(savePreferences(path, {4, true}));
    EXPECT_EQ(loadPreferences(path), (Preferences{4, true}));
    EXPECT_FALSE(fs::exists(path + ".new"));
    EXPECT_FALSE(savePreferences(folder + "no-such-folder/" + kPreferencesName, {2, false}));
    fs::remove(path);
    fs::create_directory(path);  // a folder where the file should be
    EXPECT_EQ(loadPreferences(path), Preferences{});
    EXPECT_FALSE(savePreferences(path, {2, false}));
    EXPECT_FALSE(fs::exists(path + ".new"));
}

}  // namespace
