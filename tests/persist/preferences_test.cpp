// The window preferences file: every kind of line in one table, the round trip, and files that are
// missing or unreadable (saving is the player's files' one path, tested with it).
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
    for (const Preferences& p :
         {Preferences{}, Preferences{1, true}, Preferences{8, false}, Preferences{0, true},
          Preferences{0, false, "https://scores.example:8443/"}}) {
        EXPECT_EQ(parsePreferences(formatPreferences(p)), p) << formatPreferences(p);
    }
}

TEST(PreferencesTest, TheServerLineIsOneAddressWithoutBlanks) {
    EXPECT_EQ(parsePreferences("server = http://a:8090\nscale = 2\n").server, "http://a:8090");
    EXPECT_EQ(parsePreferences("server = http://a b\n").server, "");
    EXPECT_EQ(parsePreferences("# server = http://a\n").server, "");
}

TEST(PreferencesTest, MissingAndUnreadableFilesMeanDefaults) {
    testing_support::ScratchFolder scratch;
    const std::string path = scratch.path + "/" + kPreferencesName;
    EXPECT_EQ(loadPreferences(path), Preferences{});
    testing_support::writeFile(path, formatPreferences({4, true}));
    EXPECT_EQ(loadPreferences(path), (Preferences{4, true}));
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);  // a folder where the file should be
    EXPECT_EQ(loadPreferences(path), Preferences{});
}

}  // namespace
